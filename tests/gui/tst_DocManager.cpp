// SPDX-License-Identifier: GPL-3.0-or-later
// File New, Open, Save and Save As from the main window: the save prompt, the modified flag,
// file errors, and the recent-file list.
#include "GuiTestMain.h"
#include "MainFrame.h"
#include "ShellTestSupport.h"
#include "TextFile.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace shell_test;
using Answer = CDocManager::SaveAnswer;

class TestDocManager : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UseSettingsIn(m_settings); }
    void init();
    void cleanup();
    void NewOnAModifiedJournalFollowsTheAnswer_data();
    void NewOnAModifiedJournalFollowsTheAnswer();
    void SaveWritesTheJournalAndClearsTheModifiedFlag();
    void FailedSaveWarnsAndKeepsTheJournalModified();
    void OpenAppendsTheFileAndNamesTheCaption();
    void OpeningTheFileAlreadyOpenReadsNothing();
    void UnreadableFileWarnsAndLeavesTheJournalAsItWas();
    void RecentFileMenuKeepsTheFourNewestFiles();
    void ExitWhileModifiedAsksFirst();
    void PromptOffersSaveDontSaveAndCancel();
    void SaveOverAFileChangedByAnotherProgramAsksFirst_data();
    void SaveOverAFileChangedByAnotherProgramAsksFirst();
    void ChangedFilePromptNamesTheFileAndOffersThreeAnswers();
    void SavesInALoopKeepEveryReportOfEightCommandLineWriters();

private:
    QAction* Action(const char* id) const {
        return m_frame->findChild<QAction*>(QLatin1String(id));
    }
    void RunCalculation() { Action("ID_TYPE_INSURANCE")->trigger(); }
    QString File(const char* name) const { return m_files.filePath(QLatin1String(name)); }

    QTemporaryDir m_settings;
    QTemporaryDir m_files;
    std::unique_ptr<CTabulonDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
    QStringList m_prompts; // titles the save prompt was shown for
    Answer m_answer = Answer::Cancel;
    QStringList m_chosen; // file names the file dialogs will return, in order
    QStringList m_warnings;
};

void TestDocManager::init() {
    QSettings().clear();
    m_prompts.clear();
    m_chosen.clear();
    m_warnings.clear();
    m_doc = std::make_unique<CTabulonDoc>();
    m_doc->SetValuesPrompt(AnsweringPrompt(DialogAnswer::Ok));
    m_frame = std::make_unique<CMainFrame>(*m_doc);
    CDocManager& files = m_frame->GetDocManager();
    files.SetSavePrompt([this](const QString& title) {
        m_prompts.append(title);
        return m_answer;
    });
    files.SetFileChooser(
        [this](bool) { return m_chosen.isEmpty() ? QString() : m_chosen.takeFirst(); });
    files.SetWarning([this](const QString& message) { m_warnings.append(message); });
    files.FileNew();
}

void TestDocManager::cleanup() {
    m_frame.reset();
    m_doc.reset();
}

void TestDocManager::NewOnAModifiedJournalFollowsTheAnswer_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<bool>("saved");
    QTest::newRow("cancel keeps the journal") << int(Answer::Cancel) << false << false;
    QTest::newRow("don't save starts afresh") << int(Answer::Discard) << true << false;
    QTest::newRow("save writes, then starts afresh") << int(Answer::Save) << true << true;
}

void TestDocManager::NewOnAModifiedJournalFollowsTheAnswer() {
    QFETCH(int, answer);
    QFETCH(bool, replaced);
    QFETCH(bool, saved);
    RunCalculation();
    const std::size_t lines = m_doc->GetLines()->GetCount();
    m_answer = Answer(answer);
    m_chosen = {File("new-prompt.txt")};
    Action("ID_FILE_NEW")->trigger();
    QCOMPARE(m_prompts, QStringList{QStringLiteral("Untitled")});
    QCOMPARE(m_doc->GetLines()->GetCount(), replaced ? std::size_t{2} : lines);
    QCOMPARE(m_doc->IsModified(), !replaced);
    QCOMPARE(QFileInfo::exists(File("new-prompt.txt")), saved);
    if (saved)
        QCOMPARE(ReadFile(File("new-prompt.txt")).count("\r\n"), qsizetype(lines));
    // A journal that is not modified is replaced without a question.
    m_prompts.clear();
    m_doc->SetModifiedFlag(false);
    Action("ID_FILE_NEW")->trigger();
    QVERIFY(m_prompts.isEmpty());
}

void TestDocManager::SaveWritesTheJournalAndClearsTheModifiedFlag() {
    RunCalculation();
    QVERIFY(m_frame->isWindowModified());
    m_chosen = {File("journal")};
    Action("ID_FILE_SAVE")->trigger();
    QVERIFY(!m_doc->IsModified());
    QVERIFY(!m_frame->isWindowModified());
    QCOMPARE(m_frame->windowTitle(), QStringLiteral("journal[*] - Tabulon"));
    // No extension is added; every line ends in CR LF.
    const QByteArray saved = ReadFile(File("journal"));
    QVERIFY(saved.startsWith("LIFE INSURANCE AND PENSIONS, journal of calculations.\r\n"
                             "    To start program, click on `Type of policy'.\r\n"));
    QCOMPARE(saved.count("\r\n"), qsizetype(m_doc->GetLines()->GetCount()));
    // Save again goes to the same file without asking for a name.
    RunCalculation();
    Action("ID_FILE_SAVE")->trigger();
    QCOMPARE(ReadFile(File("journal")).count("\r\n"), qsizetype(m_doc->GetLines()->GetCount()));
    QCOMPARE(m_frame->GetDocManager().GetRecentFiles().Entries(), QStringList{File("journal")});
}

void TestDocManager::FailedSaveWarnsAndKeepsTheJournalModified() {
    RunCalculation();
    const QString unwritable = File("no-such-folder/journal.txt");
    m_chosen = {unwritable};
    Action("ID_FILE_SAVE_AS")->trigger();
    QCOMPARE(m_warnings.size(), 1);
    QVERIFY2(m_warnings[0].contains(QStringLiteral("journal.txt")), qPrintable(m_warnings[0]));
    QVERIFY(m_doc->IsModified());
    QVERIFY(m_frame->isWindowModified());
    QCOMPARE(m_frame->windowTitle(), QStringLiteral("Untitled[*] - Tabulon"));
    // Exit then still asks, and a failed save on the way out keeps the window open.
    m_answer = Answer::Save;
    m_chosen = {unwritable};
    QVERIFY(!m_frame->close());
    QCOMPARE(m_warnings.size(), 2);
}

void TestDocManager::OpenAppendsTheFileAndNamesTheCaption() {
    WriteFile(File("two.txt"), "first\r\nsecond \t\r\n");
    m_chosen = {File("two.txt")};
    Action("ID_FILE_OPEN")->trigger();
    const CStringList& lines = *m_doc->GetLines();
    QCOMPARE(lines.GetCount(), std::size_t{4});
    QCOMPARE(lines.GetAt(2), std::string_view("first"));
    // Trailing control bytes go, the blank before them stays.
    QCOMPARE(lines.GetAt(3), std::string_view("second "));
    QVERIFY(!m_doc->IsModified());
    QCOMPARE(m_frame->windowTitle(), QStringLiteral("two.txt[*] - Tabulon"));
    QCOMPARE(m_frame->GetDocManager().GetRecentFiles().Entries(), QStringList{File("two.txt")});
}

void TestDocManager::OpeningTheFileAlreadyOpenReadsNothing() {
    WriteFile(File("once.txt"), "only line\r\n");
    QVERIFY(m_frame->GetDocManager().OpenDocumentFile(File("once.txt")));
    QCOMPARE(m_doc->GetLines()->GetCount(), std::size_t{3});
    QVERIFY(m_frame->GetDocManager().OpenDocumentFile(File("once.txt")));
    QCOMPARE(m_doc->GetLines()->GetCount(), std::size_t{3});
}

void TestDocManager::UnreadableFileWarnsAndLeavesTheJournalAsItWas() {
    RunCalculation();
    const std::size_t lines = m_doc->GetLines()->GetCount();
    m_answer = Answer::Discard;
    m_chosen = {File("missing.txt")};
    Action("ID_FILE_OPEN")->trigger();
    QCOMPARE(m_warnings.size(), 1);
    QVERIFY2(m_warnings[0].contains(QStringLiteral("missing.txt")), qPrintable(m_warnings[0]));
    QCOMPARE(m_doc->GetLines()->GetCount(), lines);
    QCOMPARE(m_frame->windowTitle(), QStringLiteral("Untitled[*] - Tabulon"));
    QVERIFY(m_frame->GetDocManager().GetRecentFiles().Entries().isEmpty());
}

void TestDocManager::RecentFileMenuKeepsTheFourNewestFiles() {
    QMenu* fileMenu = m_frame->menuBar()->actions().first()->menu();
    emit fileMenu->aboutToShow();
    QAction* placeholder = Action("ID_FILE_MRU_FILE1");
    QCOMPARE(placeholder->text(), QStringLiteral("Recent File"));
    QVERIFY(!placeholder->isEnabled());

    QStringList opened;
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"}) {
        WriteFile(File(name), "x\r\n");
        QVERIFY(m_frame->GetDocManager().OpenDocumentFile(File(name)));
        opened.prepend(File(name));
    }
    emit fileMenu->aboutToShow();
    QStringList shown;
    for (int i = 1; i <= 5; ++i)
        if (QAction* entry =
                Action(QStringLiteral("ID_FILE_MRU_FILE%1").arg(i).toLatin1().constData()))
            shown.append(entry->data().toString());
    QCOMPARE(shown, opened.mid(0, 4));
    QCOMPARE(Action("ID_FILE_MRU_FILE1")->text().left(3), QStringLiteral("&1 "));
    QCOMPARE(Action("ID_FILE_MRU_FILE1")->statusTip(), QStringLiteral("Open this document"));
    // The list lives in the settings under the program's name.
    QCOMPARE(CRecentFileList().Entries(), opened.mid(0, 4));

    // Choosing an entry opens that file; a vanished file drops out of the list.
    const std::size_t lines = m_doc->GetLines()->GetCount();
    Action("ID_FILE_MRU_FILE4")->trigger();
    QCOMPARE(m_doc->GetLines()->GetCount(), lines + 1);
    QCOMPARE(CRecentFileList().Entries().first(), File("b.txt"));
    QFile::remove(File("d.txt"));
    emit fileMenu->aboutToShow();
    QCOMPARE(Action("ID_FILE_MRU_FILE3")->data().toString(), File("d.txt"));
    Action("ID_FILE_MRU_FILE3")->trigger();
    QCOMPARE(m_warnings.size(), 1);
    QCOMPARE(CRecentFileList().Entries(),
             (QStringList{File("b.txt"), File("e.txt"), File("c.txt")}));
}

void TestDocManager::ExitWhileModifiedAsksFirst() {
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
    RunCalculation();
    m_answer = Answer::Cancel;
    QVERIFY(!m_frame->close());
    QVERIFY(m_frame->isVisible());
    m_answer = Answer::Discard;
    QVERIFY(m_frame->close());
    QCOMPARE(m_prompts.size(), 2);
}

void TestDocManager::PromptOffersSaveDontSaveAndCancel() {
    CDocManager files(*m_doc, m_frame.get());
    RunCalculation();
    QStringList buttons;
    QTimer::singleShot(0, this, [&buttons] {
        auto* prompt = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!prompt)
            return;
        for (QAbstractButton* button : prompt->buttons())
            buttons.append(button->text());
        prompt->button(QMessageBox::Discard)->click();
    });
    QVERIFY(files.FileNew());
    buttons.sort();
    QCOMPARE(buttons, (QStringList{"Cancel", "Do&n't Save", "Save"}));
    QCOMPARE(m_doc->GetLines()->GetCount(), std::size_t{2});
}

void TestDocManager::SaveOverAFileChangedByAnotherProgramAsksFirst_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("overwritten");
    QTest::addColumn<bool>("savedElsewhere");
    using Changed = CDocManager::ChangedAnswer;
    QTest::newRow("cancel keeps both") << int(Changed::Cancel) << false << false;
    QTest::newRow("overwrite") << int(Changed::Overwrite) << true << false;
    QTest::newRow("save as another file") << int(Changed::SaveAs) << false << true;
}

void TestDocManager::SaveOverAFileChangedByAnotherProgramAsksFirst() {
    QFETCH(int, answer);
    QFETCH(bool, overwritten);
    QFETCH(bool, savedElsewhere);
    QStringList asked;
    m_frame->GetDocManager().SetChangedPrompt([&](const QString& path) {
        asked.append(path);
        return CDocManager::ChangedAnswer(answer);
    });
    m_chosen = {File("journal")};
    Action("ID_FILE_SAVE")->trigger();
    QVERIFY(asked.isEmpty()); // a file nobody else touched is saved without a question
    RunCalculation();
    // Another program saves over the journal.
    const QByteArray theirs = "another program's journal\r\n";
    WriteFile(File("journal.new"), theirs);
    QVERIFY(::rename(qPrintable(File("journal.new")), qPrintable(File("journal"))) == 0);
    m_chosen = {File("elsewhere")};
    Action("ID_FILE_SAVE")->trigger();
    QCOMPARE(asked, QStringList{File("journal")});
    QCOMPARE(ReadFile(File("journal")) != theirs, overwritten);
    QCOMPARE(QFileInfo::exists(File("elsewhere")), savedElsewhere);
    QCOMPARE(m_doc->IsModified(), !overwritten && !savedElsewhere);
}

void TestDocManager::ChangedFilePromptNamesTheFileAndOffersThreeAnswers() {
    CDocManager files(*m_doc, m_frame.get());
    m_doc->SaveFile(qPrintable(File("journal")));
    RunCalculation();
    WriteFile(File("journal"), "changed by another program and longer than before\r\n");
    QString text;
    QStringList buttons;
    QTimer::singleShot(0, this, [&] {
        auto* prompt = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!prompt)
            return;
        text = prompt->text();
        for (QAbstractButton* button : prompt->buttons())
            buttons.append(button->text());
        prompt->button(QMessageBox::Cancel)->click();
    });
    QVERIFY(!files.FileSave());
    QVERIFY2(text.contains(File("journal")), qPrintable(text));
    buttons.sort();
    QCOMPARE(buttons, (QStringList{"&Overwrite", "Cancel", "Save &As..."}));
    QVERIFY(m_doc->IsModified());
}

// The desktop program calculates and saves in a loop while eight tabulon-cli processes
// append ten reports each to the same journal: the journal ends with every report of both,
// and the user is never asked to overwrite anything.
void TestDocManager::SavesInALoopKeepEveryReportOfEightCommandLineWriters() {
    QStringList asked;
    m_frame->GetDocManager().SetChangedPrompt([&](const QString& path) {
        asked.append(path);
        return CDocManager::ChangedAnswer::Cancel;
    });
    const QString journal = File("shared journal");
    m_chosen = {journal};
    RunCalculation();
    Action("ID_FILE_SAVE")->trigger();
    QVERIFY(m_warnings.isEmpty());
    // Each writer's reports are priced at an age of its own: 31 to 38.
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int writer = 0; writer < 8; ++writer) {
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->setStandardOutputFile(QProcess::nullDevice());
        process->start(QStringLiteral("/bin/sh"),
                       {QStringLiteral("-c"),
                        QStringLiteral("for i in 1 2 3 4 5 6 7 8 9 10; do \"$0\" insurance "
                                       "--age %1 --journal \"$1\" || exit 1; done")
                            .arg(31 + writer),
                        QStringLiteral(TABULON_CLI), journal});
        QVERIFY(process->waitForStarted());
        writers.push_back(std::move(process));
    }
    int desktopReports = 1;
    const auto running = [&] {
        return std::any_of(writers.begin(), writers.end(), [](const auto& process) {
            return process->state() != QProcess::NotRunning;
        });
    };
    while (running()) {
        RunCalculation();
        ++desktopReports;
        Action("ID_FILE_SAVE")->trigger();
        QCoreApplication::processEvents();
    }
    for (const auto& process : writers) {
        QCOMPARE(process->exitStatus(), QProcess::NormalExit);
        QCOMPARE(process->exitCode(), 0);
    }
    RunCalculation();
    ++desktopReports;
    Action("ID_FILE_SAVE")->trigger();
    QCOMPARE(asked, QStringList());
    QCOMPARE(m_warnings, QStringList());
    QVERIFY(!m_doc->IsModified());
    // A report's summary row names the applicant's age; the desktop's are at 40.
    const QList<QByteArray> lines = ReadFile(journal).split('\n');
    const auto reportsAt = [&](int age) {
        const QRegularExpression row(QStringLiteral("^ *Term life insurance +%1 ").arg(age));
        return std::count_if(lines.begin(), lines.end(), [&](const QByteArray& line) {
            return row.match(QString::fromLatin1(line)).hasMatch();
        });
    };
    for (int age = 31; age <= 38; ++age)
        QCOMPARE(reportsAt(age), 10);
    QCOMPARE(reportsAt(40), desktopReports);
    // The journal on disk is the document's journal.
    QCOMPARE(ReadFile(journal).count('\n'), qsizetype(m_doc->GetLines()->GetCount()));
}

TABULON_GUI_TEST_MAIN(TestDocManager)
#include "tst_DocManager.moc"
