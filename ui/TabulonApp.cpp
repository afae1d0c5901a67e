#include "TabulonApp.h"

#include "AboutDialog.h"
#include "AppIcon.h"
#include "CommandLineInfo.h"
#include "MainFrame.h"
#include "PolicyInputDialog.h"
#include "QtWaitCursor.h"

#include <QApplication>

#include <cstdio>

CTabulonApp::CTabulonApp() {
    InstallQtWaitCursor();
    QApplication::setWindowIcon(AppIcon());
    m_pMainWnd = std::make_unique<CMainFrame>(m_doc);
    connect(m_pMainWnd.get(), &CMainFrame::aboutRequested, this, &CTabulonApp::OnAppAbout);
    m_doc.setValuesPrompt(
        [frame = m_pMainWnd.get()](PolicyKind kind, const CPolicyDialogData& opening) {
            return promptPolicyValues(frame, kind, opening);
        });
}

CTabulonApp::~CTabulonApp() = default;

bool CTabulonApp::InitInstance(const CCommandLineInfo& cmdInfo) {
    CDocManager& docManager = m_pMainWnd->GetDocManager();
    switch (cmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintToPdf:
        m_nExitCode = PrintFile(cmdInfo) ? 0 : 1;
        return false;
    case CCommandLineInfo::FileOpen:
        if (!docManager.OpenDocumentFile(cmdInfo.m_strFileName))
            docManager.FileNew();
        break;
    default:
        docManager.FileNew();
        break;
    }
    m_pMainWnd->show();
    return true;
}

bool CTabulonApp::PrintFile(const CCommandLineInfo& cmdInfo) {
    QString error;
    CDocManager& docManager = m_pMainWnd->GetDocManager();
    docManager.SetWarning([&error](const QString& message) { error = message; });
    bool printed = docManager.OpenDocumentFile(cmdInfo.m_strFileName, false);
    if (printed) {
        CPrintCommands& print = m_pMainWnd->GetPrintCommands();
        printed = cmdInfo.m_nShellCommand == CCommandLineInfo::FilePrint
                      ? print.PrintDirect(error)
                      : print.PrintToPdf(cmdInfo.m_strPrintTo, error);
    }
    if (!printed)
        std::fprintf(stderr, "tabulon: %s\n", error.toLocal8Bit().constData());
    return printed;
}

void CTabulonApp::OnAppAbout() {
    CAboutDialog about(m_pMainWnd.get());
    about.DoModal();
}
