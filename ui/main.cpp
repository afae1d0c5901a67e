// SPDX-License-Identifier: GPL-3.0-or-later
// Tabulon: pure premiums for life insurance and pensions, kept in a journal of calculations.
#include "CommandLineInfo.h"
#include "FileName.h"
#include "FontSystemWarmUp.h"
#include "TabulonApp.h"
#include "TabulonVersion.h"
#include "Translations.h"

#include <QApplication>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <string_view>

namespace {
// The arguments without the options the window system's application object takes for
// itself (-platform xcb, -style Fusion, -reverse, ...), which only it would take out.
QStringList WithoutQtOptions(const QStringList& arguments) {
    static const QStringList withValue =
        QStringLiteral("platform platformpluginpath platformtheme plugin qmljsdebugger "
                       "qwindowgeometry qwindowicon qwindowtitle style stylesheet session "
                       "display geometry title icon name visual")
            .split(QLatin1Char(' '));
    static const QStringList alone =
        QStringLiteral("reverse nograb dograb sync widgetcount testability")
            .split(QLatin1Char(' '));
    QStringList kept{arguments.value(0)};
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--")) {
            kept << arguments.mid(i);
            break;
        }
        const QString name = arg.startsWith(QLatin1String("--")) ? arg.mid(2)
                             : arg.startsWith(QLatin1Char('-'))  ? arg.mid(1)
                                                                 : QString();
        if (withValue.contains(name))
            ++i; // and its value
        else if (!alone.contains(name))
            kept << arg;
    }
    return kept;
}

// Help and version need no window system: they are answered before one starts, so that
// nothing but their text is written, whatever the environment.
bool AnswersHelpOrVersion(int argc, char* argv[]) {
    constexpr std::string_view asks[] = {"-h", "--help", "-v", "--version"};
    const auto asking = [&](const char* arg) { return std::ranges::count(asks, arg) > 0; };
    if (std::none_of(argv + 1, argv + argc, asking))
        return false;
    const QCoreApplication core(argc, argv);
    const CCommandLineInfo info =
        CCommandLineInfo::Parse(WithoutQtOptions(QCoreApplication::arguments()));
    if (info.m_nShellCommand != CCommandLineInfo::ShowHelp &&
        info.m_nShellCommand != CCommandLineInfo::ShowVersion)
        return false;
    std::fputs(info.m_message.toLocal8Bit().constData(), stdout);
    return true;
}

bool HasWindowSystem() {
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
           qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}
} // namespace

int main(int argc, char* argv[]) {
    // A write past the file-size limit then fails with an error the save reports, instead
    // of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(QStringLiteral("Tabulon"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kTabulonVersion));
    if (AnswersHelpOrVersion(argc, argv))
        return 0;
    // Printing and help need no window, so they also work where there is no display.
    const bool windowSystem = HasWindowSystem();
    if (!windowSystem)
        qputenv("QT_QPA_PLATFORM", "offscreen");

    FontSystemWarmUp fonts;
    QApplication app(argc, argv);
    // Qt set the process locale from the environment; numbers are read and printed the same
    // in every locale, so a decimal comma never changes a report.
    std::setlocale(LC_NUMERIC, "C");
    // The windows speak the user's language; messages on the terminal stay English.
    const Translations translations;
    // Wayland desktops match the window to its menu entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tabulon.Tabulon"));

    // Qt has taken its own options out of argv. The arguments are decoded here rather than
    // by Qt, so a file name that is not UTF-8 keeps its bytes.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(DecodeFileName(QByteArray(argv[i])));
    const CCommandLineInfo cmdInfo = CCommandLineInfo::Parse(arguments);
    switch (cmdInfo.m_nShellCommand) {
    case CCommandLineInfo::ShowHelp:
    case CCommandLineInfo::ShowVersion:
        std::fputs(cmdInfo.m_message.toLocal8Bit().constData(), stdout);
        return 0;
    case CCommandLineInfo::Error:
        std::fprintf(stderr, "tabulon: %s\n", EncodeFileName(cmdInfo.m_message).constData());
        return 1;
    case CCommandLineInfo::FileNew:
    case CCommandLineInfo::FileOpen:
        if (!windowSystem) {
            std::fputs("tabulon: no display found; run it in a desktop session or under xvfb-run,\n"
                       "or set QT_QPA_PLATFORM=offscreen to run it without a window system.\n",
                       stderr);
            return 1;
        }
        break;
    default:
        break;
    }

    fonts.Wait(); // the main window's fonts are looked up as it is made
    CTabulonApp tabulon;
    if (!tabulon.InitInstance(cmdInfo))
        return tabulon.GetExitCode();
    return app.exec();
}
