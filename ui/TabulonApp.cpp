// SPDX-License-Identifier: GPL-3.0-or-later
#include "TabulonApp.h"

#include "AboutDialog.h"
#include "AppIcon.h"
#include "CommandLineInfo.h"
#include "FileName.h"
#include "ImportedTables.h"
#include "MainFrame.h"
#include "PdfFile.h"
#include "PolicyInputDialog.h"
#include "ProductDialog.h"
#include "QtWaitCursor.h"
#include "SettingsFile.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace {
// One line on stderr, the bytes of file names as they were given.
void PrintError(const QString& message) {
    std::fprintf(stderr, "tabulon: %s\n", EncodeFileName(message).constData());
}
} // namespace

CTabulonApp::CTabulonApp() {
    InstallQtWaitCursor();
    QApplication::setStyle(StyleWithPngToolBarArrows());
    QApplication::setWindowIcon(AppIcon());
    m_pMainWnd = std::make_unique<CMainFrame>(m_doc);
    connect(m_pMainWnd.get(), &CMainFrame::aboutRequested, this, &CTabulonApp::OnAppAbout);
    m_doc.SetValuesPrompt(
        [frame = m_pMainWnd.get()](PolicyKind kind, const PolicyDialogData& opening) {
            return PromptPolicyValues(frame, kind, opening);
        });
    m_doc.SetProductPrompt([frame = m_pMainWnd.get()](const ProductDialogValues& opening) {
        return PromptProductValues(frame, opening);
    });
    m_warning = [window = m_pMainWnd.get()](const QString& message) {
        QMessageBox::warning(window, QStringLiteral("Tabulon"), message);
    };
}

CTabulonApp::~CTabulonApp() = default;

bool CTabulonApp::InitInstance(const CCommandLineInfo& cmdInfo) {
    CDocManager& docManager = m_pMainWnd->GetDocManager();
    const QString settingsProblem = SettingsFileProblem();
    switch (cmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FilePrintToPdf:
        if (IsSameFile(EncodeFileName(cmdInfo.m_printTo), EncodeFileName(cmdInfo.m_strFileName))) {
            PrintError(QStringLiteral("The PDF file \"%1\" is the journal itself; it is left "
                                      "as it is. Name another PDF file.")
                           .arg(cmdInfo.m_printTo));
            m_exitCode = 2;
            return false;
        }
        [[fallthrough]];
    case CCommandLineInfo::FilePrint:
        if (!settingsProblem.isEmpty())
            PrintError(settingsProblem);
        m_exitCode = PrintFile(cmdInfo) ? 0 : 1;
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
    if (!settingsProblem.isEmpty())
        m_warning(settingsProblem);
    // Tables imported earlier; a copy that no longer reads is skipped, with one message.
    const QStringList skipped = imported_tables::LoadAll();
    if (!skipped.isEmpty())
        m_warning(
            QCoreApplication::translate("CTabulonApp", "These imported tables were skipped:") +
            QStringLiteral("\n") + skipped.join(QLatin1Char('\n')));
    return true;
}

bool CTabulonApp::PrintFile(const CCommandLineInfo& cmdInfo) {
    QString error;
    CDocManager& docManager = m_pMainWnd->GetDocManager();
    docManager.SetWarning([&error](const QString& message) { error = message; });
    bool printed = docManager.OpenDocumentFile(cmdInfo.m_strFileName, false);
    if (printed && cmdInfo.m_nShellCommand == CCommandLineInfo::FilePrint) {
        printed = m_pMainWnd->GetPrintCommands().PrintDirect(error);
    } else if (printed) {
        printed =
            m_pMainWnd->GetPrintCommands().PrintToPdf(EncodeFileName(cmdInfo.m_printTo), error);
    }
    if (!printed)
        PrintError(error);
    return printed;
}

void CTabulonApp::OnAppAbout() {
    CAboutDialog about(m_pMainWnd.get());
    about.DoModal();
}
