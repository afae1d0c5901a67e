// Start-up as the command line asks: a new journal, an opened file, an unreadable file, and
// printing into a PDF file.
#include "CommandLineInfo.h"
#include "LineText.h"
#include "MainFrame.h"
#include "ShellTestSupport.h"
#include "TabulonApp.h"
#include "TabulonVersion.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

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
    void RunsFromTheMenuSaveWhatTheCommandLineFrontEndPrints();

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
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kTabulonVersion));
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
                                << int(C::FilePrintToPdf) << "j.txt"
                                << "out.pdf";
    QTest::newRow("print without file")
        << QStringList{"-p"} << int(C::Error) << QString() << QString();
    QTest::newRow("pdf without file")
        << QStringList{"--print-to", "out.pdf"} << int(C::Error) << QString() << QString();
    QTest::newRow("two files") << QStringList{"a", "b"} << int(C::Error) << QString() << QString();
    QTest::newRow("unknown option")
        << QStringList{"--frobnicate"} << int(C::Error) << QString() << QString();
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
        QCOMPARE(info.m_strMessage, QStringLiteral("Tabulon " TABULON_PROJECT_VERSION "\n"));
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
    // Printing from the command line leaves the user's recent files alone.
    QVERIFY(!CRecentFileList().Entries().contains(journal));
    QVERIFY(ReadFile(pdf).startsWith("%PDF"));
    if (!HavePoppler())
        QSKIP("pdftotext (poppler-utils) is not installed");
    const QString text = PopplerOutput(QStringLiteral("pdftotext"),
                                       {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
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

namespace {

// Fills in the input dialog that is open and presses OK.
void AnswerDialog(int policyRow, const char* age, const char* term, const char* rate,
                  const char* amount) {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog)
        return;
    dialog->findChild<QListWidget*>(QStringLiteral("IDC_POLICY_LIST"))->setCurrentRow(policyRow);
    dialog->findChild<QListWidget*>(QStringLiteral("IDC_TABLE_LIST"))->setCurrentRow(0);
    const auto type = [dialog](const char* field, const char* text) {
        dialog->findChild<QLineEdit*>(QLatin1String(field))->setText(QLatin1String(text));
    };
    type("IDC_AGE", age);
    type("IDC_TERM", term);
    type("IDC_RATE", rate);
    type("IDC_AMOUNT", amount);
    dialog->findChild<QCheckBox*>(QStringLiteral("IDC_SHOW_MORTALITY"))->click();
    dialog->findChild<QCheckBox*>(QStringLiteral("IDC_SHOW_NET_INCOME"))->click();
    dialog->findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
}

} // namespace

void TestTabulonApp::RunsFromTheMenuSaveWhatTheCommandLineFrontEndPrints() {
    const QString cli =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../cli/tabulon-cli");
    if (!QFileInfo(cli).isExecutable())
        QSKIP("tabulon-cli is not built beside the tests");
    CTabulonApp app;
    QVERIFY(app.InitInstance(Command(CCommandLineInfo::FileNew)));
    CMainFrame* frame = app.GetMainFrame();
    QTimer::singleShot(0, this, [] { AnswerDialog(1, "40", "20", "4", "100000"); });
    frame->findChild<QAction*>(QStringLiteral("ID_TYPE_INSURANCE"))->trigger();
    QTimer::singleShot(0, this, [] { AnswerDialog(0, "60", "5", "5", "10000"); });
    frame->findChild<QAction*>(QStringLiteral("ID_TYPE_PENSION"))->trigger();
    const QString journal = File("menu-runs.txt");
    frame->GetDocManager().SetFileChooser([journal](bool) { return journal; });
    QVERIFY(frame->GetDocManager().FileSave());

    QByteArray expected;
    const QStringList both = {"--mortality", "--net-income", "--table", "1"};
    for (const QStringList& options :
         {QStringList{"insurance", "--policy", "2", "--age", "40", "--term", "20", "--rate", "4",
                      "--amount", "100000"} +
              both,
          QStringList{"pension", "--policy", "1", "--age", "60", "--term", "5", "--rate", "5",
                      "--amount", "10000"} +
              both}) {
        QProcess process;
        process.start(cli, options);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        expected += process.readAllStandardOutput();
    }
    QList<QByteArray> saved = ReadFile(journal).split('\n');
    QList<QByteArray> printed = expected.split('\n');
    for (QByteArray& line : saved)
        line = line.chopped(line.endsWith('\r') ? 1 : 0);
    for (QByteArray& line : printed)
        line = line.chopped(line.endsWith('\r') ? 1 : 0);
    QVERIFY(printed.size() > 200);
    QCOMPARE(saved.mid(2), printed);
}

QTEST_MAIN(TestTabulonApp)
#include "tst_TabulonApp.moc"
