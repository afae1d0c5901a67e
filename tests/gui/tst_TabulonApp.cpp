// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up as the command line asks: a new journal, an opened file, an unreadable file, and
// printing into a PDF file.
#include "CommandLineInfo.h"
#include "FileName.h"
#include "GuiTestMain.h"
#include "LineText.h"
#include "MainFrame.h"
#include "ShellTestSupport.h"
#include "TabulonApp.h"
#include "TabulonVersion.h"
#include "TabulonView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

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
    void PrintToPdfBreaksPagesBetweenLines();
    void PrintToPdfFailsWithStatusOne_data();
    void PrintToPdfFailsWithStatusOne();
    void RunsFromTheMenuSaveWhatTheCommandLineFrontEndPrints();
    void PrintToPdfPastASizeLimitLeavesTheOldPdf();
    void PrintToPdfThroughALinkWritesTheFileItNames();
    void PrintToPdfKilledAtAnyMomentLeavesOnlyTheOldOrTheNewPdf();
    void PrintToPdfIntoTheJournalItselfIsRefused_data();
    void PrintToPdfIntoTheJournalItselfIsRefused();
    void SettingsFileThatIsAPipeIsReportedOnceAndLeftAlone();
    void FileNamesKeepEveryByte_data();
    void FileNamesKeepEveryByte();
    void NameThatIsNotUtf8OpensSavesPrintsAndReopens();
    void HelpAndVersionNeedNoDisplay_data();
    void HelpAndVersionNeedNoDisplay();

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
    info.m_printTo = printTo;
    return info;
}
// Runs the desktop program with these argument bytes and its standard error in a file,
// optionally below a file size limit, with its settings in settingsHome. Returns the exit
// status (-1 when it did not end normally).
int RunDesktop(const std::vector<QByteArray>& arguments, const QString& settingsHome,
               const QString& errors, rlim_t fileSizeLimit = RLIM_INFINITY) {
    std::vector<char*> argv{const_cast<char*>(TABULON_DESKTOP)};
    for (const QByteArray& argument : arguments)
        argv.push_back(const_cast<char*>(argument.constData()));
    argv.push_back(nullptr);
    const QByteArray home = "XDG_CONFIG_HOME=" + QFile::encodeName(settingsHome);
    std::vector<char*> env{const_cast<char*>(home.constData()),
                           const_cast<char*>("QT_QPA_PLATFORM=offscreen")};
    for (char** e = environ; *e; ++e)
        if (strncmp(*e, "XDG_CONFIG_HOME=", 16) != 0 && strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0)
            env.push_back(*e);
    env.push_back(nullptr);
    const QByteArray errorFile = QFile::encodeName(errors);
    const pid_t child = fork();
    if (child == 0) {
        const int fd = ::open(errorFile.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, 2);
        const rlimit limit{fileSizeLimit, fileSizeLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::execve(argv[0], argv.data(), env.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The lines the program itself wrote to standard error (Qt may add warnings of its own).
int ProgramLines(const QByteArray& errors) {
    int lines = 0;
    for (const QByteArray& line : errors.split('\n'))
        lines += line.startsWith("tabulon: ") ? 1 : 0;
    return lines;
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
        QVERIFY(!info.m_message.isEmpty());
        return;
    }
    QCOMPARE(info.m_strFileName, file);
    QCOMPARE(info.m_printTo, printTo);
    if (command == CCommandLineInfo::ShowVersion)
        QCOMPARE(info.m_message, QStringLiteral("Tabulon " TABULON_PROJECT_VERSION "\n"));
    if (command == CCommandLineInfo::ShowHelp)
        QVERIFY(info.m_message.contains(QStringLiteral("--print-to")));
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

void TestTabulonApp::PrintToPdfBreaksPagesBetweenLines() {
    if (!HavePoppler())
        QSKIP("pdftotext (poppler-utils) is not installed");
    // Two and a half pages of numbered lines on the pages --print-to prints on.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    CTabulonDoc doc;
    CTabulonView view(doc);
    doc.OnNewDocument();
    const int dpi = printer.resolution();
    const std::int64_t rows = ViewLayout::RowsPerPage(
        view.GetLayout().GetPitch(), dpi, printer.pageLayout().paintRectPixels(dpi).height());
    QVERIFY(rows > 10);
    QStringList expected;
    QByteArray text;
    for (std::int64_t i = 0; i < 2 * rows + rows / 2; ++i) {
        expected
            << QStringLiteral("%1 journal line of three pages").arg(i, 5, 10, QLatin1Char('0'));
        text += expected.back().toLatin1() + "\r\n";
    }
    const QString journal = File("three.txt");
    WriteFile(journal, text);
    const QString pdf = File("three.pdf");
    QCOMPARE(RunDesktop({"--print-to", QFile::encodeName(pdf), QFile::encodeName(journal)},
                        m_settings.path(), File("three.err")),
             0);
    QCOMPARE(PdfPageCount(pdf), 3);
    // Page by page, in order, the text is the journal's lines, each exactly once: none is
    // cut by a page break into halves on two pages.
    QStringList printed;
    for (int page = 1; page <= 3; ++page) {
        const QString number = QString::number(page);
        const QString pageText = PopplerOutput(
            QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), number,
                                          QStringLiteral("-l"), number, pdf, QStringLiteral("-")});
        QStringList pageLines;
        for (const QString& line : pageText.split(QLatin1Char('\n')))
            if (!line.trimmed().isEmpty())
                pageLines << line.trimmed();
        QVERIFY2(pageLines.size() <= rows, qPrintable(number));
        printed += pageLines;
    }
    QCOMPARE(printed, expected);
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

void TestTabulonApp::PrintToPdfPastASizeLimitLeavesTheOldPdf() {
    const QString journal = File("limited.txt");
    {
        CTabulonApp writer;
        writer.GetDocument().OnNewDocument();
        writer.GetDocument().RunCalculation(PolicyKind::Insurance, TermLifeWithBothSections());
        writer.GetDocument().SaveFile(journal.toStdString());
    }
    const QString pdf = File("limited.pdf");
    const QByteArray old = "%PDF-1.4 the old pages\n";
    WriteFile(pdf, old);
    const QString errors = File("limited.err");
    // The report's PDF takes some 30 KB; 8 KB of it may be written.
    const int status =
        RunDesktop({"--print-to", QFile::encodeName(pdf), QFile::encodeName(journal)},
                   m_settings.path(), errors, 8192);
    QCOMPARE(status, 1);
    QCOMPARE(ReadFile(pdf), old);
    const QByteArray message = ReadFile(errors);
    QCOMPARE(ProgramLines(message), 1);
    QVERIFY2(message.contains(QFile::encodeName(pdf)) && message.contains(std::strerror(EFBIG)),
             message.constData());
    QCOMPARE(QDir(m_files.path()).entryList({QStringLiteral(".limited.pdf*")}, QDir::Hidden),
             QStringList());

    // Without the limit the same command replaces the old file.
    QCOMPARE(RunDesktop({"--print-to", QFile::encodeName(pdf), QFile::encodeName(journal)},
                        m_settings.path(), errors),
             0);
    QVERIFY(ReadFile(pdf).size() > 8192);
    QVERIFY(ReadFile(pdf).trimmed().endsWith("%%EOF"));
}

// --print-to killed at random moments: the folder holds the journal and the PDF, which is
// the old one or a complete new one; nothing else is left behind.
void TestTabulonApp::PrintToPdfKilledAtAnyMomentLeavesOnlyTheOldOrTheNewPdf() {
    QTemporaryDir folder;
    const QString journal = folder.filePath(QStringLiteral("journal.txt"));
    QByteArray lines;
    for (int i = 0; i < 6000; ++i)
        lines += "journal line " + QByteArray::number(i) + " of a long journal to print\r\n";
    WriteFile(journal, lines);
    const QString pdf = folder.filePath(QStringLiteral("out.pdf"));
    const QByteArray old = "%PDF-1.4 the old pages\n";
    QProcess print;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_settings.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    print.setProcessEnvironment(environment);
    print.setStandardErrorFile(QProcess::nullDevice());
    const QStringList arguments{QStringLiteral("--print-to"), pdf, journal};
    QElapsedTimer timer;
    timer.start();
    print.start(QStringLiteral(TABULON_DESKTOP), arguments);
    QVERIFY(print.waitForFinished(60000));
    QCOMPARE(print.exitCode(), 0);
    const qint64 took = timer.elapsed();
    const QByteArray whole = ReadFile(pdf);
    QVERIFY(whole.trimmed().endsWith("%%EOF"));
    QRandomGenerator random(20261209);
    for (int round = 0; round < 15; ++round) {
        WriteFile(pdf, old);
        print.start(QStringLiteral(TABULON_DESKTOP), arguments);
        QVERIFY(print.waitForStarted());
        QTest::qWait(int(random.bounded(took * 12 / 10 + 1)));
        print.kill();
        print.waitForFinished();
        const QByteArray now = ReadFile(pdf);
        QVERIFY2(now == old || now.trimmed().endsWith("%%EOF"), qPrintable(QString::number(round)));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 (QStringList{QStringLiteral("journal.txt"), QStringLiteral("out.pdf")}));
    }
}

void TestTabulonApp::PrintToPdfThroughALinkWritesTheFileItNames() {
    QFile::link(QStringLiteral("linked.pdf"), File("link.pdf")); // its file does not exist yet
    CTabulonApp app;
    QVERIFY(!app.InitInstance(
        Command(CCommandLineInfo::FilePrintToPdf, File("two.txt"), File("link.pdf"))));
    QCOMPARE(app.GetExitCode(), 0);
    QVERIFY(QFileInfo(File("link.pdf")).isSymLink());
    QVERIFY(ReadFile(File("linked.pdf")).startsWith("%PDF"));
}

void TestTabulonApp::PrintToPdfIntoTheJournalItselfIsRefused_data() {
    QTest::addColumn<QString>("out");
    QTest::newRow("the same name") << File("two.txt");
    QTest::newRow("another spelling") << m_files.path() + QStringLiteral("/./two.txt");
    QTest::newRow("a link to it") << File("link-to-two.txt");
}

void TestTabulonApp::PrintToPdfIntoTheJournalItselfIsRefused() {
    QFETCH(QString, out);
    QFile::link(File("two.txt"), File("link-to-two.txt"));
    const QByteArray before = ReadFile(File("two.txt"));
    const QString errors = File("same.err");
    QCOMPARE(RunDesktop({"--print-to", QFile::encodeName(out), QFile::encodeName(File("two.txt"))},
                        m_settings.path(), errors),
             2);
    QCOMPARE(ReadFile(File("two.txt")), before);
    QVERIFY(QFileInfo(File("link-to-two.txt")).isSymLink());
    QCOMPARE(ProgramLines(ReadFile(errors)), 1);
}

void TestTabulonApp::SettingsFileThatIsAPipeIsReportedOnceAndLeftAlone() {
    const QString folder =
        m_settings.path() + QStringLiteral("/Local AppWizard-Generated Applications");
    QDir().mkpath(folder);
    const QByteArray pipe = QFile::encodeName(folder + QStringLiteral("/Tabulon.conf"));
    ::unlink(pipe.constData());
    QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);

    // The window: one warning naming the file; opening a file does not wait on the pipe.
    {
        CTabulonApp app;
        QStringList warnings;
        app.SetWarning([&warnings](const QString& message) { warnings.append(message); });
        QVERIFY(app.InitInstance(Command(CCommandLineInfo::FileOpen, File("two.txt"))));
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings[0].contains(QFile::decodeName(pipe)), qPrintable(warnings[0]));
        QCOMPARE(app.GetDocument().GetLines()->GetCount(), std::size_t{2});
        QVERIFY(CRecentFileList().Entries().isEmpty());
    }
    // Printing: one line on stderr, and the PDF is written.
    const QString errors = File("settings.err");
    QCOMPARE(RunDesktop({"--print-to", QFile::encodeName(File("settings.pdf")),
                         QFile::encodeName(File("two.txt"))},
                        m_settings.path(), errors),
             0);
    const QByteArray message = ReadFile(errors);
    QCOMPARE(ProgramLines(message), 1);
    QVERIFY2(message.contains(pipe), message.constData());
    QVERIFY(ReadFile(File("settings.pdf")).startsWith("%PDF"));
    struct stat status {};
    QCOMPARE(::stat(pipe.constData(), &status), 0);
    QVERIFY(S_ISFIFO(status.st_mode));
    ::unlink(pipe.constData());
}

void TestTabulonApp::FileNamesKeepEveryByte_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("utf8");
    QTest::newRow("plain") << QByteArray("journal.txt") << true;
    QTest::newRow("UTF-8") << QByteArray("r\xC3\xA9sum\xC3\xA9 \xF0\x9F\x93\x88") << true;
    QTest::newRow("byte 0xFF") << QByteArray("j\xFF.txt") << false;
    QTest::newRow("Latin-1") << QByteArray("r\xE9sum\xE9") << false;
    QTest::newRow("overlong slash") << QByteArray("a\xC0\xAF") << false;
    QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80") << false;
    QTest::newRow("cut sequence") << QByteArray("\xE2\x82") << false;
    QTest::newRow("past U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
}

void TestTabulonApp::FileNamesKeepEveryByte() {
    QFETCH(QByteArray, name);
    QFETCH(bool, utf8);
    const QString decoded = DecodeFileName(name);
    QCOMPARE(EncodeFileName(decoded), name);
    if (utf8)
        QCOMPARE(decoded, QString::fromUtf8(name));
    const CCommandLineInfo info =
        CCommandLineInfo::Parse({QStringLiteral("tabulon"), QStringLiteral("--print-to"), decoded,
                                 DecodeFileName("in" + name)});
    QCOMPARE(EncodeFileName(info.m_printTo), name);
    QCOMPARE(EncodeFileName(info.m_strFileName), "in" + name);
}

void TestTabulonApp::NameThatIsNotUtf8OpensSavesPrintsAndReopens() {
    const QByteArray folder = QFile::encodeName(m_files.path());
    const QByteArray journal = folder + "/j\xFF.txt";
    const QByteArray pdf = folder + "/out\xFF.pdf";
    // QTemporaryDir cannot remove names that are not UTF-8.
    const std::unique_ptr<void, std::function<void(void*)>> removeFiles(this, [&](void*) {
        ::unlink(journal.constData());
        ::unlink(pdf.constData());
    });
    const QByteArray opening = ReadFile(File("two.txt"));
    const int fd = ::open(journal.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, opening.constData(), opening.size()), ssize_t(opening.size()));
    ::close(fd);
    // The command line.
    QCOMPARE(RunDesktop({"--print-to", pdf, journal}, m_settings.path(), File("bytes.err")), 0);
    struct stat status {};
    QCOMPARE(::stat(pdf.constData(), &status), 0);
    QVERIFY(status.st_size > 0);

    // The window: open, run, save to the same bytes.
    {
        CTabulonApp app;
        QVERIFY(app.InitInstance(Command(CCommandLineInfo::FileOpen, DecodeFileName(journal))));
        QCOMPARE(app.GetDocument().GetLines()->GetCount(), std::size_t{2});
        app.GetDocument().RunCalculation(PolicyKind::Insurance, TermLifeWithBothSections());
        QVERIFY(app.GetMainFrame()->GetDocManager().FileSave());
        QCOMPARE(EncodeFileName(CRecentFileList().Entries().value(0)), journal);
    }
    QCOMPARE(::stat(journal.constData(), &status), 0);
    QVERIFY(status.st_size > 1000);

    // The recent-file list of a new start.
    CTabulonApp app;
    QVERIFY(app.InitInstance(Command(CCommandLineInfo::FileNew)));
    emit app.GetMainFrame()->menuBar()->actions().first()->menu()->aboutToShow();
    app.GetMainFrame()->findChild<QAction*>(QStringLiteral("ID_FILE_MRU_FILE1"))->trigger();
    QVERIFY(app.GetDocument().GetLines()->GetCount() > 100);
    QCOMPARE(QByteArray::fromStdString(app.GetDocument().GetPathName()), journal);
}

void TestTabulonApp::HelpAndVersionNeedNoDisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("starts");
    const QByteArray version = "Tabulon " TABULON_PROJECT_VERSION "\n";
    QTest::newRow("--version") << QStringList{"--version"} << version;
    // The window system's own options are left to it, and it is never started.
    QTest::newRow("-platform xcb --version")
        << QStringList{"-platform", "xcb", "--version"} << version;
    QTest::newRow("-style Fusion -reverse --help")
        << QStringList{"-style", "Fusion", "-reverse", "--help"} << QByteArray("Usage: ");
}

void TestTabulonApp::HelpAndVersionNeedNoDisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, starts);
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        env.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TABULON_DESKTOP), arguments);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY2(process.readAllStandardOutput().startsWith(starts), qPrintable(arguments.join(' ')));
    QCOMPARE(process.readAllStandardError(), QByteArray());
}

TABULON_GUI_TEST_MAIN(TestTabulonApp)
#include "tst_TabulonApp.moc"
