// SPDX-License-Identifier: GPL-3.0-or-later
// Imported mortality tables in the desktop program: the copy kept in the user's data folder,
// refused files, removal, the start-up reading, and the dialogs' list and age range.
#include "GuiTestMain.h"
#include "ImportedTables.h"
#include "InsuranceDialog.h"
#include "MortalityTables.h"
#include "PolicyInputDialog.h"
#include "ShellTestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>

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

} // namespace

class TestImportedTables : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // A data folder of this run's own: ctest runs this program in two languages at once.
        QVERIFY(m_data.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_data.path()));
        QVERIFY(imported_tables::Folder().startsWith(m_data.path()));
    }
    void cleanup() {
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
        const QString failure = imported_tables::Import(path);
        QVERIFY2(failure.startsWith("Cannot use \"" + path + "\" as a mortality table: "),
                 qPrintable(failure));
        QVERIFY2(failure.contains(message), qPrintable(failure));
        QVERIFY(!failure.contains('\n'));
        QCOMPARE(MortalityTableCount(), kTableCount);
        QVERIFY(StoredCopies().isEmpty());
    }

    void MissingFileIsNamedWithItsReason() {
        const QString failure = imported_tables::Import("/nonexistent/t.csv");
        // The reason is the system's, in the user's language.
        QCOMPARE(failure, QString("Cannot open \"/nonexistent/t.csv\": %1.")
                              .arg(QString::fromLocal8Bit(std::strerror(ENOENT))));
        QCOMPARE(MortalityTableCount(), kTableCount);
    }

    // The copy is kept, read again at the next start, and removed with its table.
    void ImportedTableIsKeptListedAndRemoved() {
        QTemporaryDir dir;
        const QString path = WriteFile(dir, "Small.csv", kSmallTable);
        QCOMPARE(imported_tables::Import(path), QString());
        QCOMPARE(imported_tables::Import(path), QString());
        // The second copy keeps the file's name, which is the table's.
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

    // The age field takes the chosen table's ages; the built-in entries show whole.
    void DialogListsImportedTablesAndTakesTheirAges() {
        QTemporaryDir dir;
        QCOMPARE(imported_tables::Import(WriteFile(dir, "Small.csv", kSmallTable)), QString());
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

private:
    QTemporaryDir m_data;
};

TABULON_GUI_TEST_MAIN(TestImportedTables)
#include "tst_ImportedTables.moc"
