// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLineInfo.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {
// The classic print switch "/p" is read as "-p".
QStringList WithDashSwitches(QStringList arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i)
        if (arguments[i].compare(QLatin1String("/p"), Qt::CaseInsensitive) == 0)
            arguments[i] = QStringLiteral("-p");
    return arguments;
}
} // namespace

CCommandLineInfo CCommandLineInfo::Parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Pure premiums for life insurance and pensions, kept in a journal."));
    // Our own help option: the standard one also brings --help-all, whose Qt options the
    // manual page leaves to Qt.
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Display this help and exit."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption print(QStringList{QStringLiteral("p"), QStringLiteral("print")},
                                   QStringLiteral("Print FILE on the default printer and exit."));
    const QCommandLineOption printTo(QStringLiteral("print-to"),
                                     QStringLiteral("Print FILE into the PDF file OUT and exit."),
                                     QStringLiteral("OUT"));
    parser.addOption(print);
    parser.addOption(printTo);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The journal file to open."),
                                 QStringLiteral("[FILE]"));

    CCommandLineInfo info;
    if (!parser.parse(WithDashSwitches(arguments))) {
        info.m_nShellCommand = Error;
        info.m_message = parser.errorText();
        return info;
    }
    if (parser.isSet(help)) {
        info.m_nShellCommand = ShowHelp;
        info.m_message = parser.helpText();
        if (!info.m_message.endsWith(QLatin1Char('\n')))
            info.m_message += QLatin1Char('\n');
        return info;
    }
    if (parser.isSet(version)) {
        info.m_nShellCommand = ShowVersion;
        info.m_message = QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                       QCoreApplication::applicationVersion());
        return info;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        info.m_nShellCommand = Error;
        info.m_message = QStringLiteral("Only one journal file can be named.");
        return info;
    }
    info.m_strFileName = files.value(0);
    const bool printing = parser.isSet(print) || parser.isSet(printTo);
    if (printing && info.m_strFileName.isEmpty()) {
        info.m_nShellCommand = Error;
        info.m_message = QStringLiteral("Printing needs the journal file to print.");
    } else if (parser.isSet(printTo)) {
        info.m_nShellCommand = FilePrintToPdf;
        info.m_printTo = parser.value(printTo);
    } else if (parser.isSet(print)) {
        info.m_nShellCommand = FilePrint;
    } else {
        info.m_nShellCommand = info.m_strFileName.isEmpty() ? FileNew : FileOpen;
    }
    return info;
}
