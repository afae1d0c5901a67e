// SPDX-License-Identifier: GPL-3.0-or-later
// The product dialog, driven through its real widgets: the two-leg product priced into the
// journal, the values kept for the next opening, and the fields it refuses.
#include "GuiTestMain.h"
#include "MainFrame.h"
#include "MortalityTableData.h"
#include "MortalityTables.h"
#include "ProductDialog.h"
#include "TableFile.h"
#include "TabulonDoc.h"

#include "../unit/PublishedTables.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <span>

namespace {

QStringList g_messages;

template <class Control> Control* Child(QWidget* dialog, const char* name) {
    auto* control = dialog->findChild<Control*>(QString::fromLatin1(name));
    if (!control)
        qFatal("the dialog has no control %s", name);
    return control;
}

// The control of column (kind 0, amount 1, term 2, deferral 3, timing 4, frequency 5) of leg
// row.
template <class Control> Control* Leg(QWidget* dialog, int row, int column) {
    auto* control =
        qobject_cast<Control*>(Child<QTableWidget>(dialog, "IDC_LEGS")->cellWidget(row, column));
    if (!control)
        qFatal("leg %d has no such control in column %d", row, column);
    return control;
}

void Choose(QComboBox* box, int data) {
    box->setCurrentIndex(box->findData(data));
}

void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    edit->del();
    edit->insert(text);
}

// Runs script while the dialog the document opened is modal; closes it afterwards if the
// script left it open, so a failing test cannot hang.
void WhileModal(std::function<void(QDialog*)> script) {
    QTimer::singleShot(0, [script] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            qWarning("no modal dialog is open");
            return;
        }
        script(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

// The worked example: 1,000 of term cover for 20 years plus an annuity-due of 2,500 a year
// from 65, on (45), premiums for 20 years; typed into the dialog as a user does.
void TypeTwoLegProduct(QDialog* dialog, int tableCode) {
    Child<QComboBox>(dialog, "IDC_TABLE")->setCurrentIndex(tableCode - 1);
    Type(Child<QLineEdit>(dialog, "IDC_AGE"), "45");
    Type(Child<QLineEdit>(dialog, "IDC_RATE"), "5");
    Choose(Leg<QComboBox>(dialog, 0, 0), static_cast<int>(LegKind::Term));
    Type(Leg<QLineEdit>(dialog, 0, 1), "1000");
    Type(Leg<QLineEdit>(dialog, 0, 2), "20");
    Type(Leg<QLineEdit>(dialog, 0, 3), "0");
    QTest::mouseClick(Child<QPushButton>(dialog, "IDC_ADD_LEG"), Qt::LeftButton);
    Choose(Leg<QComboBox>(dialog, 1, 0), static_cast<int>(LegKind::Annuity));
    Type(Leg<QLineEdit>(dialog, 1, 1), "2500");
    Type(Leg<QLineEdit>(dialog, 1, 2), "0");
    Type(Leg<QLineEdit>(dialog, 1, 3), "20");
    Choose(Child<QComboBox>(dialog, "IDC_PREMIUM_TERM_KIND"), 1);
    Type(Child<QLineEdit>(dialog, "IDC_PREMIUM_TERM"), "20");
    Child<QCheckBox>(dialog, "IDC_POLICY_VALUES")->setChecked(true);
}

} // namespace

class TestProductDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void TwoLegProductAppendsItsReportAndPremium();
    void OpensWithTheValuesLastAccepted();
    void LegsAreAddedAndRemovedButOneStays();
    void FieldIsRefusedWithItsNameAndFocus_data();
    void FieldIsRefusedWithItsNameAndFocus();
    void CancelAppendsNothing();

private:
    int m_sult = 0; // the Standard Ultimate Life Table's code in the table list
    QTemporaryDir m_folder;
};

void TestProductDialog::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    CDialog::SetMessageHandler([](CDialog*, const QString& message) { g_messages << message; });
    // Imported as the Tables menu imports a file: read through the table-file reader.
    const std::string path = m_folder.filePath("SULT.csv").toStdString();
    published_tables::WriteFile(path, published_tables::StandardUltimateLifeTableCsv());
    const MortalityTableData data = ReadMortalityTableFile(path);
    const std::vector<double> living = LivingByAge(data);
    m_sult = AddMortalityTable("SULT", data.firstAge,
                               std::span<const double>(living).first(living.size() - 1));
}

void TestProductDialog::init() {
    g_messages.clear();
}

void TestProductDialog::TwoLegProductAppendsItsReportAndPremium() {
    CTabulonDoc doc;
    doc.OnNewDocument();
    CMainFrame frame(doc);
    doc.SetProductPrompt(
        [](const ProductDialogValues& opening) { return PromptProductValues(nullptr, opening); });
    WhileModal([this](QDialog* dialog) {
        TypeTwoLegProduct(dialog, m_sult);
        QTest::mouseClick(Child<QPushButton>(dialog, "IDOK"), Qt::LeftButton);
    });
    frame.findChild<QAction*>(QStringLiteral("ID_TYPE_PRODUCT"))->trigger();
    QVERIFY2(g_messages.isEmpty(), qPrintable(g_messages.join('\n')));

    QStringList lines;
    for (std::size_t i = 0; i < doc.GetLines()->GetCount(); ++i)
        lines << QString::fromStdString(std::string(doc.GetLines()->GetAt(i)));
    // The published premium P = 944.16 (AMLCR, SULT 5%), the convention always named.
    QVERIFY2(lines.contains("  Net premium                           944.162353"),
             qPrintable(lines.join('\n')));
    QVERIFY(lines.contains("  Life                        age 45, table SULT"));
    QVERIFY(lines.contains("  Fractional ages             udd (uniform distribution of deaths)"));
    QVERIFY(lines.contains("  Premiums                    level, for 20 years, yearly in advance"));
    // Policy values asked for: from 0 at issue to the end of the table (age 131).
    QVERIFY(lines.contains("         0    45             0.000000"));
    QVERIFY(lines.contains("         1    46           991.363812"));
    QVERIFY(!lines.filter("second moment").size()); // the distribution was not asked for
    QCOMPARE(CMainFrame::KeyFigure(doc), QStringLiteral("Net annual premium: 944.16"));
    QVERIFY(frame.findChild<QAction*>(QStringLiteral("ID_TYPE_PRODUCT"))->isChecked());
    QVERIFY(!frame.findChild<QAction*>(QStringLiteral("ID_TYPE_INSURANCE"))->isChecked());
    QVERIFY(doc.IsModified());

    // The Charts window draws the product's policy values and survival.
    const ProductResult* product = doc.GetLastProduct();
    QVERIFY(product);
    QCOMPARE(product->value.policyValues.size(), std::size_t(131 - 45 + 1));
    QCOMPARE(product->survival.front(), 1.0);
    QCOMPARE(product->survival.back(), 0.0);
}

void TestProductDialog::OpensWithTheValuesLastAccepted() {
    CTabulonDoc doc;
    doc.OnNewDocument();
    doc.SetProductPrompt(
        [](const ProductDialogValues& opening) { return PromptProductValues(nullptr, opening); });
    WhileModal([this](QDialog* dialog) {
        TypeTwoLegProduct(dialog, m_sult);
        Choose(Child<QComboBox>(dialog, "IDC_FRACTIONAL"),
               static_cast<int>(FractionalAge::Woolhouse3));
        Type(Child<QLineEdit>(dialog, "IDC_RATE"), "3.25");
        Choose(Leg<QComboBox>(dialog, 1, 5), 12);
        Choose(Leg<QComboBox>(dialog, 1, 4), static_cast<int>(Timing::Arrears));
        Child<QRadioButton>(dialog, "IDC_GIVE_PREMIUM")->click();
        Type(Child<QLineEdit>(dialog, "IDC_PREMIUM"), "950.5");
        Child<QCheckBox>(dialog, "IDC_DISTRIBUTION")->setChecked(true);
        QTest::mouseClick(Child<QPushButton>(dialog, "IDOK"), Qt::LeftButton);
    });
    doc.OnTypeProduct();
    QVERIFY2(g_messages.isEmpty(), qPrintable(g_messages.join('\n')));
    QVERIFY(doc.GetLines()->GetCount() > 2);
    QString shown;
    WhileModal([&shown](QDialog* dialog) {
        QStringList values{Child<QComboBox>(dialog, "IDC_TABLE")->currentText(),
                           Child<QLineEdit>(dialog, "IDC_AGE")->text(),
                           Child<QLineEdit>(dialog, "IDC_RATE")->text(),
                           Child<QComboBox>(dialog, "IDC_FRACTIONAL")->currentData().toString(),
                           QString::number(Child<QTableWidget>(dialog, "IDC_LEGS")->rowCount())};
        for (int column = 0; column < 6; ++column) {
            auto* edit = qobject_cast<QLineEdit*>(
                Child<QTableWidget>(dialog, "IDC_LEGS")->cellWidget(1, column));
            auto* box = qobject_cast<QComboBox*>(
                Child<QTableWidget>(dialog, "IDC_LEGS")->cellWidget(1, column));
            values << (edit ? edit->text() : box->currentData().toString());
        }
        values << Child<QLineEdit>(dialog, "IDC_PREMIUM_TERM")->text()
               << (Child<QRadioButton>(dialog, "IDC_GIVE_PREMIUM")->isChecked() ? "given"
                                                                                : "solved")
               << Child<QLineEdit>(dialog, "IDC_PREMIUM")->text()
               << (Child<QCheckBox>(dialog, "IDC_POLICY_VALUES")->isChecked() ? "values" : "-")
               << (Child<QCheckBox>(dialog, "IDC_DISTRIBUTION")->isChecked() ? "spread" : "-");
        shown = values.join(' ');
    });
    const std::size_t lines = doc.GetLines()->GetCount();
    doc.OnTypeProduct();
    QCOMPARE(doc.GetLines()->GetCount(), lines); // cancelled
    QCOMPARE(shown, QStringLiteral("SULT 45 3.25 %1 2 %2 2500 0 20 %3 12 20 given 950.5 values "
                                   "spread")
                        .arg(static_cast<int>(FractionalAge::Woolhouse3))
                        .arg(static_cast<int>(LegKind::Annuity))
                        .arg(static_cast<int>(Timing::Arrears)));
}

void TestProductDialog::LegsAreAddedAndRemovedButOneStays() {
    ProductDialog dialog(DefaultProductValues());
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* remove = Child<QPushButton>(&dialog, "IDC_REMOVE_LEG");
    QCOMPARE(dialog.LegCount(), 1);
    QVERIFY(!remove->isEnabled());
    QTest::mouseClick(Child<QPushButton>(&dialog, "IDC_ADD_LEG"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>(&dialog, "IDC_ADD_LEG"), Qt::LeftButton);
    QCOMPARE(dialog.LegCount(), 3);
    // A new leg takes the amount of the one before it, and the focus.
    QCOMPARE(Leg<QLineEdit>(&dialog, 2, 1)->text(), QStringLiteral("10000"));
    QVERIFY(remove->isEnabled());
    // Remove takes the leg whose control has the focus.
    Type(Leg<QLineEdit>(&dialog, 0, 1), "111");
    Leg<QLineEdit>(&dialog, 0, 1)->setFocus();
    QApplication::processEvents();
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(dialog.LegCount(), 2);
    QCOMPARE(Leg<QLineEdit>(&dialog, 0, 1)->text(), QStringLiteral("10000"));
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(dialog.LegCount(), 1);
    QVERIFY(!remove->isEnabled());
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(dialog.LegCount(), 1);
    // A whole-life leg has no term; only an annuity has a timing.
    QVERIFY(!Leg<QLineEdit>(&dialog, 0, 2)->isEnabled());
    QVERIFY(!Leg<QComboBox>(&dialog, 0, 4)->isEnabled());
    Choose(Leg<QComboBox>(&dialog, 0, 0), static_cast<int>(LegKind::Annuity));
    QVERIFY(Leg<QLineEdit>(&dialog, 0, 2)->isEnabled());
    QVERIFY(Leg<QComboBox>(&dialog, 0, 4)->isEnabled());
    dialog.reject();
}

void TestProductDialog::FieldIsRefusedWithItsNameAndFocus_data() {
    // What to change from the two-leg product: a control (a leg's as "leg:row:column"), the
    // text typed; the message expected and the control that gets the focus. The limits are
    // those of tabulon-cli price.
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("age past the table")
        << "IDC_AGE"
        << "132"
        << "Age at issue: 132 is out of range; please enter a whole number from 20 to 130.";
    QTest::newRow("age before the table")
        << "IDC_AGE"
        << "19"
        << "Age at issue: 19 is out of range; please enter a whole number from 20 to 130.";
    QTest::newRow("rate over 100")
        << "IDC_RATE"
        << "100.5"
        << "Interest rate: please enter a number from 0 to 100 with at most 4 decimals.";
    QTest::newRow("rate with 5 decimals")
        << "IDC_RATE"
        << "3.12345"
        << "Interest rate: please enter a number from 0 to 100 with at most 4 decimals.";
    QTest::newRow("rate with a comma")
        << "IDC_RATE"
        << "3,25"
        << "Interest rate: please enter a number from 0 to 100 with at most 4 decimals.";
    QTest::newRow("negative amount")
        << "leg:1:1"
        << "-1"
        << "Benefit 2, amount: please enter a number of 0 or more (digits, an optional decimal "
           "point, no commas).";
    QTest::newRow("infinite amount")
        << "leg:0:1"
        << "1e999"
        << "Benefit 1, amount: please enter a number of 0 or more (digits, an optional decimal "
           "point, no commas).";
    QTest::newRow("term cover without a term")
        << "leg:0:2"
        << "0"
        << "Benefit 1, term: 0 is out of range; please enter a whole number from 1 to 151.";
    QTest::newRow("deferral past any table")
        << "leg:1:3"
        << "152"
        << "Benefit 2, deferral: 152 is out of range; please enter a whole number from 0 to 151.";
    QTest::newRow("term cover past the table's end") << "leg:0:2"
                                                     << "100"
                                                     << "Benefit 1: ";
    QTest::newRow("premiums longer than the product") << "IDC_PREMIUM_TERM"
                                                      << "90"
                                                      << "Premium term: ";
    QTest::newRow("premium term empty")
        << "IDC_PREMIUM_TERM"
        << ""
        << "Premium term: please enter a whole number from 1 to 151.";
}

void TestProductDialog::FieldIsRefusedWithItsNameAndFocus() {
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(QString, message);
    ProductDialogValues opening = DefaultProductValues();
    opening.tableCode = m_sult;
    ProductDialog dialog(opening);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    TypeTwoLegProduct(&dialog, m_sult);
    QLineEdit* edit = nullptr;
    if (control.startsWith("leg:")) {
        const QStringList parts = control.split(':');
        edit = Leg<QLineEdit>(&dialog, parts[1].toInt(), parts[2].toInt());
    } else {
        edit = Child<QLineEdit>(&dialog, control.toLatin1().constData());
    }
    Type(edit, text);
    const ProductDialogValues before = dialog.Values();
    QTest::mouseClick(Child<QPushButton>(&dialog, "IDOK"), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QCOMPARE(g_messages.size(), 1);
    QVERIFY2(g_messages.first().startsWith(message), qPrintable(g_messages.first()));
    QCOMPARE(QApplication::focusWidget(), edit);
    // Nothing refused reaches the values.
    QCOMPARE(dialog.Values().age, before.age);
    QCOMPARE(dialog.Values().product.benefits.size(), before.product.benefits.size());
    dialog.reject();
}

void TestProductDialog::CancelAppendsNothing() {
    CTabulonDoc doc;
    doc.OnNewDocument();
    doc.SetProductPrompt(
        [](const ProductDialogValues& opening) { return PromptProductValues(nullptr, opening); });
    WhileModal([](QDialog* dialog) {
        Type(Child<QLineEdit>(dialog, "IDC_AGE"), "50");
        QTest::mouseClick(Child<QPushButton>(dialog, "IDCANCEL"), Qt::LeftButton);
    });
    doc.OnTypeProduct();
    QCOMPARE(doc.GetLines()->GetCount(), std::size_t(2));
    QCOMPARE(doc.GetProductValues().age, 45);
    QVERIFY(!doc.GetLastProduct());
    QVERIFY(CMainFrame::KeyFigure(doc).isEmpty());
}

TABULON_GUI_TEST_MAIN(TestProductDialog)
#include "tst_ProductDialog.moc"
