// SPDX-License-Identifier: GPL-3.0-or-later
// Imported mortality tables in the desktop program: the copy kept in the user's data folder,
// refused files, removal, the start-up reading, and the dialogs' list and age range.
#include "GuiTestMain.h"
#include "ImportedTables.h"
#include "InsuranceDialog.h"
#include "MortalityTables.h"
#include "PolicyInputDialog.h"
#include "ProductRun.h"
#include "ShellTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <functional>

namespace {

// l from 20 to 25, closed after 25.
const char* const kSmallTable = "age,lx\n20,1000\n21,900\n22,700\n23,400\n24,100\n25,10\n";

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// The copies in the data folder, by their paths in it.
QStringList StoredCopies() {
    QStringList copies;
    QDirIterator files(imported_tables::Folder(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        copies << QDir(imported_tables::Folder()).relativeFilePath(files.next());
    copies.sort();
    return copies;
}

// Imports the file; the table's name when added, the outcome's text otherwise with a mark.
QString Added(const QString& path) {
    const imported_tables::ImportResult result = imported_tables::Import(path);
    return result.outcome == imported_tables::ImportResult::Outcome::Added
               ? result.text
               : QStringLiteral("not added: ") + result.text;
}

} // namespace

class TestImportedTables : public QObject, shell_test::MainWindowTest {
    Q_OBJECT

signals:
    void testEnded();

private slots:
    void initTestCase() {
        // A data folder of this run's own: ctest runs this program in two languages at once.
        QVERIFY(m_data.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_data.path()));
        QVERIFY(imported_tables::Folder().startsWith(m_data.path()));
        SetSettingsFolder(m_settings.path());
    }
    void cleanup() {
        emit testEnded();
        CloseMainWindow();
        while (!imported_tables::Names().isEmpty())
            QVERIFY(imported_tables::Remove(0).isEmpty());
        QDir(imported_tables::Folder()).removeRecursively();
    }

    void RefusedFileImportsNothing_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("q above 1")
            << QByteArray("age,qx\n0,0.5\n1,1.2\n") << "line 3: qx \"1.2\" lies outside 0 to 1.";
        QTest::newRow("rising l") << QByteArray("age,lx\n0,100\n1,120\n") << "line 3:";
        QTest::newRow("no header") << QByteArray("0,0.5\n1,1\n") << "line 1:";
    }
    void RefusedFileImportsNothing() {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = WriteFile(dir, "bad.csv", text);
        const imported_tables::ImportResult result = imported_tables::Import(path);
        QCOMPARE(result.outcome, imported_tables::ImportResult::Outcome::Refused);
        const QString failure = result.text;
        QVERIFY2(failure.startsWith("Cannot use \"" + path + "\" as a mortality table: "),
                 qPrintable(failure));
        QVERIFY2(failure.contains(message), qPrintable(failure));
        QVERIFY(!failure.contains('\n'));
        QCOMPARE(MortalityTableCount(), kTableCount);
        QVERIFY(StoredCopies().isEmpty());
    }

    void MissingFileIsNamedWithItsReason() {
        const QString failure = imported_tables::Import("/nonexistent/t.csv").text;
        // The reason is the system's, in the user's language.
        QCOMPARE(failure, QString("Cannot open \"/nonexistent/t.csv\": %1.")
                              .arg(QString::fromLocal8Bit(std::strerror(ENOENT))));
        QCOMPARE(MortalityTableCount(), kTableCount);
    }

    // The copy is kept, read again at the next start, and removed with its table.
    void ImportedTableIsKeptListedAndRemoved() {
        QTemporaryDir dir;
        const QString path = WriteFile(dir, "Small.csv", kSmallTable);
        QCOMPARE(Added(path), QString("Small"));
        // The same table again adds nothing; a table of the same name and other numbers is
        // added, and its copy keeps the file's name, which is the table's.
        const imported_tables::ImportResult again = imported_tables::Import(path);
        QCOMPARE(again.outcome, imported_tables::ImportResult::Outcome::AlreadyImported);
        QCOMPARE(again.text, QString("Small"));
        QCOMPARE(StoredCopies(), QStringList({"Small.csv"}));
        QTemporaryDir other;
        QCOMPARE(Added(WriteFile(other, "Small.csv", "age,lx\n20,1000\n21,900\n22,800\n")),
                 QString("Small"));
        QCOMPARE(StoredCopies(), QStringList({"2/Small.csv", "Small.csv"}));
        QCOMPARE(imported_tables::Names(), QStringList({"Small", "Small"}));
        QStringList entries = MortalityTableListEntries();
        QCOMPARE(entries.size(), kTableCount + 2);
        QCOMPARE(entries.last(), QString("Small"));
        const MortalityTable& table = MortalityTableOf(kTableCount + 1);
        QCOMPARE(table.firstAge, 20);
        QCOMPARE(table.lastAge, 25);
        QCOMPARE(table.living[22], 700.0);

        QVERIFY(imported_tables::Remove(0).isEmpty());
        QCOMPARE(imported_tables::Names().size(), 1);
        QCOMPARE(StoredCopies().size(), 1);
        QVERIFY(imported_tables::Remove(0).isEmpty());
        QVERIFY(StoredCopies().isEmpty());
        QCOMPARE(QDir(imported_tables::Folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
        QCOMPARE(MortalityTableCount(), kTableCount);
    }

    // A select table keeps its select rates: listed with its select period, a select life is
    // priced on them (AMLCR Example 7.1 on the shipped SSSM: P = 15,114.33), and they go with
    // the table when it is removed, also from a table imported before it.
    void SelectTableKeepsItsSelectRates() {
        QTemporaryDir dir;
        QVERIFY(!Added(WriteFile(dir, "Small.csv", kSmallTable)).isEmpty());
        const QString sssm =
            QFileInfo(QStringLiteral(__FILE__)).dir().filePath("../../tables/standard/SSSM.csv");
        QCOMPARE(Added(sssm), QString("SSSM (select and ultimate, 2 years)"));
        QCOMPARE(imported_tables::Names(),
                 QStringList({"Small", "SSSM (select and ultimate, 2 years)"}));
        const int code = kTableCount + 2;
        QCOMPARE(SelectPeriodOf(code), 2);
        QCOMPARE(SelectPeriodOf(kTableCount + 1), 0);
        ProductDialogValues values = DefaultProductValues();
        values.tableCode = code;
        values.select = true;
        values.age = 50;
        values.product.benefits[0].kind = LegKind::Endowment;
        values.product.benefits[0].amount = 500000;
        values.product.benefits[0].term = 20;
        values.product.premium.term = 20;
        ProductResult result;
        QVERIFY(ValueProductRun(values, result));
        QVERIFY2(std::abs(result.value.netPremium - 15114.33) < 0.005,
                 qPrintable(QString::number(result.value.netPremium, 'f', 6)));
        QVERIFY(imported_tables::Remove(0).isEmpty());
        QCOMPARE(SelectPeriodOf(kTableCount + 1), 2);
        QVERIFY(imported_tables::Remove(0).isEmpty());
        QCOMPARE(SelectPeriodOf(kTableCount + 1), 0);
    }

    void StartUpReadsCopiesAndSkipsWhatNoLongerReads() {
        QVERIFY(QDir().mkpath(imported_tables::Folder()));
        QFile good(imported_tables::Folder() + "/A.csv");
        QVERIFY(good.open(QIODevice::WriteOnly));
        good.write(kSmallTable);
        good.close();
        QFile bad(imported_tables::Folder() + "/B.csv");
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("age,qx\n0,2\n");
        bad.close();
        const QStringList skipped = imported_tables::LoadAll();
        QCOMPARE(skipped.size(), 1);
        QVERIFY2(skipped[0].contains("B.csv"), qPrintable(skipped[0]));
        QCOMPARE(imported_tables::Names(), QStringList({"A"}));
    }

    // An imported table ends at the last age at which someone is alive, where the premium
    // has a value; the built-in tables keep their ages 0 to 106.
    void ImportedTableOffersAgesWithSomeoneAlive_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("lastAge");
        QTest::newRow("l closed after its last age") << QByteArray(kSmallTable) << 25;
        QTest::newRow("l of 0 at the last age")
            << QByteArray("age,lx\n20,1000\n21,500\n22,0\n") << 21;
        QTest::newRow("q of 1 before the last age")
            << QByteArray("age,qx\n20,0.5\n21,1\n22,0.5\n23,1\n") << 21;
        QTest::newRow("q of 1 at the last age") << QByteArray("age,qx\n20,0.5\n21,1\n") << 21;
    }
    void ImportedTableOffersAgesWithSomeoneAlive() {
        QFETCH(QByteArray, text);
        QFETCH(int, lastAge);
        QTemporaryDir dir;
        QCOMPARE(Added(WriteFile(dir, "T.csv", text)), QString("T"));
        const MortalityTable& table = MortalityTableOf(kTableCount + 1);
        QCOMPARE(table.firstAge, 20);
        QCOMPARE(table.lastAge, lastAge);
        // Every age offered prices whole life; a life pension is 0/0 at no age (at the last
        // age nobody lives to be paid, as at age 106 of a built-in table: an infinite payment).
        for (int age = 20; age <= lastAge; ++age) {
            CTabulonDoc doc;
            doc.RunCalculation(PolicyKind::Insurance,
                               testing_support::Values(0, age, 5, 5, 10000, kTableCount));
            QVERIFY2(std::isfinite(doc.m_dPremium),
                     QByteArray::number(doc.m_dPremium, 'g', 17).constData());
            doc.RunCalculation(PolicyKind::Pension,
                               testing_support::Values(0, age, 5, 5, 10000, kTableCount));
            QVERIFY2(!std::isnan(doc.m_dPremium),
                     QByteArray::number(doc.m_dPremium, 'g', 17).constData());
        }
        for (int code = 1; code <= kTableCount; ++code) {
            QCOMPARE(MortalityTableOf(code).firstAge, 0);
            QCOMPARE(MortalityTableOf(code).lastAge, 106);
        }
    }

    // The age field takes the chosen table's ages; the built-in entries show whole.
    void DialogListsImportedTablesAndTakesTheirAges() {
        QTemporaryDir dir;
        QCOMPARE(Added(WriteFile(dir, "Small.csv", kSmallTable)), QString("Small"));
        QStringList messages;
        CDialog::SetMessageHandler(
            [&messages](CDialog*, const QString& message) { messages << message; });
        CInsuranceDialog dialog;
        static_cast<PolicyDialogData&>(dialog) = testing_support::Values(-1, 19, 5, 5, 10000, -1);
        dialog.show();
        auto* list = dialog.findChild<QListWidget*>("IDC_TABLE_LIST");
        QCOMPARE(list->count(), kTableCount + 1);
        for (int row = 0; row < kTableCount; ++row)
            QVERIFY(list->viewport()->rect().contains(list->visualItemRect(list->item(row))));
        // The name, however long, shows whole in the entry's tooltip.
        QCOMPARE(list->item(kTableCount)->toolTip(), QString("Small\nAges 20 to 25"));
        list->setCurrentRow(kTableCount);
        auto* ok = dialog.findChild<QPushButton*>("IDOK");
        ok->click();
        QCOMPARE(messages, QStringList({"Applicant's age: 19 is out of range; please enter a whole "
                                        "number from 20 to 25."}));
        dialog.findChild<QLineEdit*>("IDC_AGE")->setText("25");
        ok->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.m_nTableIndex, kTableCount);
        CDialog::SetMessageHandler({});
    }

    // A file dropped on the window that holds a table asks what to do with it; the answer
    // imports it (said in the status bar), opens it as journal text, or does nothing.
    void DroppedTableFileAsksWhatToDo_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("tables");
        QTest::addColumn<bool>("opened");
        QTest::newRow("import") << "Import as a table" << 1 << false;
        QTest::newRow("open") << "Open as journal text" << 0 << true;
        QTest::newRow("cancel") << "Cancel" << 0 << false;
    }
    void DroppedTableFileAsksWhatToDo() {
        QFETCH(QString, answer);
        QFETCH(int, tables);
        QFETCH(bool, opened);
        QVERIFY(ShowMainWindow(800, 600));
        QTemporaryDir dir;
        const QString path = WriteFile(dir, "Small.csv", kSmallTable);
        QStringList buttons;
        AnswerModal([&](QMessageBox* box) {
            for (QAbstractButton* button : box->buttons())
                buttons << button->text();
            for (QAbstractButton* button : box->buttons())
                if (button->text() == answer)
                    button->click();
        });
        const std::size_t lines = m_doc->GetLines()->GetCount();
        m_frame->OpenDroppedFiles({path});
        buttons.sort();
        QCOMPARE(buttons, QStringList({"Cancel", "Import as a table", "Open as journal text"}));
        QCOMPARE(imported_tables::Names().size(), tables);
        QCOMPARE(m_doc->GetLines()->GetCount() > lines, opened);
        QCOMPARE(m_frame->statusBar()->currentMessage().contains("Small"), tables == 1);
    }

    // A file that is no table is opened as journal text without a question.
    void DroppedTextFileOpensAsJournal() {
        QVERIFY(ShowMainWindow(800, 600));
        QTemporaryDir dir;
        bool asked = false;
        AnswerModal([&](QMessageBox* box) {
            asked = true;
            box->reject();
        });
        const std::size_t lines = m_doc->GetLines()->GetCount();
        m_frame->OpenDroppedFiles({WriteFile(dir, "notes.txt", "Whole Life, age 60\n")});
        QVERIFY(!asked);
        QCOMPARE(m_doc->GetLines()->GetCount(), lines + 1);
    }

    // Importing the same table twice says so and adds nothing; removing asks first.
    void ImportAgainSaysSoAndRemoveAsksFirst() {
        QVERIFY(ShowMainWindow(800, 600));
        QTemporaryDir dir;
        const QString path = WriteFile(dir, "Small.csv", kSmallTable);
        QVERIFY(m_frame->ImportTableFile(path));
        QString said;
        AnswerModal([&](QMessageBox* box) {
            said = box->text();
            box->accept();
        });
        QVERIFY(!m_frame->ImportTableFile(path));
        QVERIFY2(said.contains("is imported already; nothing was added"), qPrintable(said));
        QCOMPARE(imported_tables::Names(), QStringList({"Small"}));

        for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
            QString question;
            QTimer::singleShot(0, this, [&] {
                auto* choose = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
                if (!choose)
                    return;
                AnswerModal([&](QMessageBox* box) {
                    question = box->text();
                    box->button(answer)->click();
                });
                choose->accept();
            });
            m_frame->findChild<QAction*>("ID_TABLES_REMOVE")->trigger();
            QCOMPARE(question, QString("Remove the table \"Small\"? Its copy in the data folder "
                                       "is deleted; the journal keeps its reports."));
            QCOMPARE(imported_tables::Names().size(), answer == QMessageBox::No ? 1 : 0);
        }
    }

private:
    // Answers the next message box with answer, once it is shown; stops looking at the end
    // of the test function that called it.
    void AnswerModal(std::function<void(QMessageBox*)> answer) {
        auto* poll = new QTimer(this);
        poll->setInterval(10);
        connect(poll, &QTimer::timeout, this, [poll, answer] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                poll->stop();
                poll->deleteLater();
                answer(box);
            }
        });
        connect(this, &TestImportedTables::testEnded, poll, &QObject::deleteLater);
        poll->start();
    }

    QTemporaryDir m_data;
};

TABULON_GUI_TEST_MAIN(TestImportedTables)
#include "tst_ImportedTables.moc"
