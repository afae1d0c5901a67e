// Start-up as the command line asks: a new journal, an opened file, an unreadable file, and
// printing into a PDF file.
#include "CommandLineInfo.h"
#include "LineText.h"
#include "MainFrame.h"
#include "ShellTestSupport.h"
#include "TabulonApp.h"

#include <QTest>

using namespace shell_test;

class TestTabulonApp : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void CommandLineIsReadAsTheProgramExpects_data();
    void CommandLineIsReadAsTheProgramExpects();
    void StartWithoutFileShowsTheTwoOpeningLines();
    void StartWithFileShowsExactlyItsLines();
    void StartWithUnreadableFileWarnsAndStartsANewJournal();
    void PrintToPdfWritesEveryJournalLine();
    void PrintToPdfFailsWithStatusOne_data();
    void PrintToPdfFailsWithStatusOne();

private:
    QString File(const char* name) const { return m_files.filePath(QLatin1String(name)); }

    QTemporaryDir m_settings;
    QTemporaryDir m_files;
};

namespace {
CCommandLineInfo Command(CCommandLineInfo::ShellCommand command, const QString& file = {},
                         const QString& printTo = {}) {
    CCommandLineInfo info;
    info.m_nShellCommand = command;
    info.m_strFileName = file;
    info.m_strPrintTo = printTo;
    return info;
}
} // namespace

void TestTabulonApp::initTestCase() {
    UseSettingsIn(m_settings);
    QCoreApplication::setApplicationVersion(QStringLiteral(TABULON_VERSION));
    WriteFile(File("two.txt"), "LIFE INSURANCE AND PENSIONS, journal of calculations.\r\n"
                               "    To start program, click on `Type of policy'.\r\n");
}

void TestTabulonApp::CommandLineIsReadAsTheProgramExpects_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("printTo");
    using C = CCommandLineInfo;
    QTest::newRow("nothing") << QStringList{} << int(C::FileNew) << QString() << QString();
    QTest::newRow("a file") << QStringList{"j.txt"} << int(C::FileOpen) << "j.txt" << QString();
    QTest::newRow("-p") << QStringList{"-p", "j.txt"} << int(C::FilePrint) << "j.txt" << QString();
    QTest::newRow("/p") << QStringList{"/p", "j.txt"} << int(C::FilePrint) << "j.txt" << QString();
    QTest::newRow("/P") << QStringList{"/P", "j.txt"} << int(C::FilePrint) << "j.txt" << QString();
    QTest::newRow("--print-to") << QStringList{"--print-to", "out.pdf", "j.txt"}
                                << int(C::FilePrintToPdf) << "j.txt" << "out.pdf";
    QTest::newRow("print without file") << QStringList{"-p"} << int(C::Error) << QString() << QString();
    QTest::newRow("pdf without file") << QStringList{"--print-to", "out.pdf"} << int(C::Error)
                                      << QString() << QString();
    QTest::newRow("two files") << QStringList{"a", "b"} << int(C::Error) << QString() << QString();
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << int(C::Error) << QString()
                                    << QString();
    QTest::newRow("--help") << QStringList{"--help"} << int(C::ShowHelp) << QString() << QString();
    QTest::newRow("--version") << QStringList{"--version"} << int(C::ShowVersion) << QString()
                               << QString();
}

void TestTabulonApp::CommandLineIsReadAsTheProgramExpects() {
    QFETCH(QStringList, arguments);
    QFETCH(int, command);
    QFETCH(QString, file);
    QFETCH(QString, printTo);
    arguments.prepend(QStringLiteral("tabulon"));
    const CCommandLineInfo info = CCommandLineInfo::Parse(arguments);
    QCOMPARE(int(info.m_nShellCommand), command);
    if (command == CCommandLineInfo::Error) {
        QVERIFY(!info.m_strMessage.isEmpty());
        return;
    }
    QCOMPARE(info.m_strFileName, file);
    QCOMPARE(info.m_strPrintTo, printTo);
    if (command == CCommandLineInfo::ShowVersion)
        QCOMPARE(info.m_strMessage, QStringLiteral("Tabulon 1.0.0.1\n"));
    if (command == CCommandLineInfo::ShowHelp)
        QVERIFY(info.m_strMessage.contains(QStringLiteral("--print-to")));
}

void TestTabulonApp::StartWithoutFileShowsTheTwoOpeningLines() {
    CTabulonApp app;
    QVERIFY(app.InitInstance(Command(CCommandLineInfo::FileNew)));
    QVERIFY(app.GetMainFrame()->isVisible());
    QCOMPARE(app.GetDocument().GetLines()->GetCount(), std::size_t{2});
    QVERIFY(!app.GetDocument().IsModified());
    QCOMPARE(app.GetMainFrame()->windowTitle(), QStringLiteral("Untitled[*] - Tabulon"));
}

void TestTabulonApp::StartWithFileShowsExactlyItsLines() {
    CTabulonApp app;
    QVERIFY(app.InitInstance(Command(CCommandLineInfo::FileOpen, File("two.txt"))));
    QCOMPARE(app.GetDocument().GetLines()->GetCount(), std::size_t{2});
    QCOMPARE(app.GetMainFrame()->windowTitle(), QStringLiteral("two.txt[*] - Tabulon"));
}

void TestTabulonApp::StartWithUnreadableFileWarnsAndStartsANewJournal() {
    CTabulonApp app;
    QStringList warnings;
    app.GetMainFrame()->GetDocManager().SetWarning(
        [&warnings](const QString& message) { warnings.append(message); });
    QVERIFY(app.InitInstance(Command(CCommandLineInfo::FileOpen, File("missing.txt"))));
    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings[0].contains(QStringLiteral("missing.txt")), qPrintable(warnings[0]));
    QCOMPARE(app.GetDocument().GetLines()->GetCount(), std::size_t{2});
    QCOMPARE(app.GetMainFrame()->windowTitle(), QStringLiteral("Untitled[*] - Tabulon"));
    QVERIFY(app.GetMainFrame()->isVisible());
}

void TestTabulonApp::PrintToPdfWritesEveryJournalLine() {
    // A journal of a full report, saved from a run.
    const QString journal = File("report.txt");
    {
        CTabulonApp writer;
        writer.GetDocument().OnNewDocument();
        writer.GetDocument().RunCalculation(PolicyKind::Insurance, TermLifeWithBothSections());
        writer.GetDocument().SaveFile(journal.toStdString());
    }
    const QString pdf = File("report.pdf");
    CTabulonApp app;
    QVERIFY(!app.InitInstance(Command(CCommandLineInfo::FilePrintToPdf, journal, pdf)));
    QCOMPARE(app.GetExitCode(), 0);
    QVERIFY(!app.GetMainFrame()->isVisible());
    QVERIFY(ReadFile(pdf).startsWith("%PDF"));
    if (!HavePoppler())
        QSKIP("pdftotext (poppler-utils) is not installed");
    const QString text =
        PopplerOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
            .simplified();
    const CStringList& lines = *app.GetDocument().GetLines();
    QVERIFY(lines.GetCount() > 100);
    for (std::size_t i = 0; i < lines.GetCount(); ++i) {
        const QString line = JournalLineText(lines.GetAt(i)).simplified();
        QVERIFY2(text.contains(line), qPrintable(line));
    }
}

void TestTabulonApp::PrintToPdfFailsWithStatusOne_data() {
    QTest::addColumn<QString>("journal");
    QTest::addColumn<QString>("pdf");
    QTest::newRow("journal missing") << File("missing.txt") << File("missing.pdf");
    QTest::newRow("pdf not writable") << File("two.txt") << File("no-such-folder/out.pdf");
}

void TestTabulonApp::PrintToPdfFailsWithStatusOne() {
    QFETCH(QString, journal);
    QFETCH(QString, pdf);
    CTabulonApp app;
    QVERIFY(!app.InitInstance(Command(CCommandLineInfo::FilePrintToPdf, journal, pdf)));
    QCOMPARE(app.GetExitCode(), 1);
    QVERIFY(!QFileInfo::exists(pdf));
}

QTEST_MAIN(TestTabulonApp)
#include "tst_TabulonApp.moc"
