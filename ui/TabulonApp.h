// SPDX-License-Identifier: GPL-3.0-or-later
// The application: the one journal document and its main window, started as the command line asks.
#pragma once

#include "TabulonDoc.h"

#include <QObject>

#include <functional>
#include <memory>

class CMainFrame;
struct CCommandLineInfo;

class CTabulonApp : public QObject {
    Q_OBJECT
public:
    // Makes the document and the main window, not yet shown; needs a QApplication.
    CTabulonApp();
    ~CTabulonApp() override;

    // Carries out the command line: a new journal, an opened
    // file (a file that cannot be read is reported and a new journal started instead), or
    // printing. True when the program goes on with its window shown; false when it ends
    // now, with GetExitCode() (0 after printing, 1 after a failure reported on stderr, 2
    // when the PDF file named is the journal itself). A settings file that cannot be used
    // is reported once: in the window's warning, or on stderr when printing.
    bool InitInstance(const CCommandLineInfo& cmdInfo);
    int GetExitCode() const { return m_exitCode; }

    CTabulonDoc& GetDocument() { return m_doc; }
    CMainFrame* GetMainFrame() const { return m_pMainWnd.get(); }

    // Shows the about box.
    void OnAppAbout();

    // Replaces the warning box of the window's start-up, for tests.
    void SetWarning(std::function<void(const QString&)> warning) { m_warning = std::move(warning); }

private:
    bool PrintFile(const CCommandLineInfo& cmdInfo);

    CTabulonDoc m_doc;
    std::unique_ptr<CMainFrame> m_pMainWnd;
    std::function<void(const QString&)> m_warning;
    int m_exitCode = 0;
};
