// SPDX-License-Identifier: GPL-3.0-or-later
// What the command line asks the desktop program to do.
#pragma once

#include <QString>
#include <QStringList>

// tabulon                         a new journal
// tabulon FILE                    opens FILE
// tabulon -p FILE  (or /p FILE)   prints FILE on the default printer and ends
// tabulon --print-to OUT.pdf FILE prints FILE into a PDF file and ends
// tabulon --help | --version
struct CCommandLineInfo {
    enum ShellCommand {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintToPdf,
        ShowHelp,
        ShowVersion,
        Error
    };

    ShellCommand m_nShellCommand = FileNew;
    QString m_strFileName; // the journal file to open or print
    QString m_printTo;     // the PDF file of FilePrintToPdf
    QString m_message;     // the text to show for ShowHelp, ShowVersion and Error

    // arguments: the program name first, as QCoreApplication::arguments() gives them.
    static CCommandLineInfo Parse(const QStringList& arguments);
};
