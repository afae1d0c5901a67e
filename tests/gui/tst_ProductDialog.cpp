// SPDX-License-Identifier: GPL-3.0-or-later
// The product dialog, driven through its real widgets: the two-leg product priced into the
// journal, select lives, two lives and expenses priced as tabulon-cli price prices them, the
// values kept for the next opening, the fields it refuses, and the product's charts.
#include "ChartsWindow.h"
#include "DialogTestSupport.h"
#include "GuiTestMain.h"
#include "MainFrame.h"
#include "MortalityTableData.h"
#include "MortalityTables.h"
#include "ProductCharts.h"
#include "ProductDialog.h"
#include "TableFile.h"
#include "TabulonDoc.h"

#include "../unit/PublishedTables.h"

#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <functional>
#include <span>

namespace {

QStringList g_messages;

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

// The worked example: 1,000 of term cover for 20 years plus an annuity-due of 2,500 a year
// from 65, on (45), premiums for 20 years; typed into the dialog as a user does.
void TypeTwoLegProduct(QDialog* dialog, int tableCode) {
    auto* table = Child<QComboBox>(dialog, "IDC_TABLE");
    table->setCurrentIndex(table->findData(tableCode));
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

// One leg on a fresh dialog, premiums as given (0: single), the distribution asked for (the
// command line's report always shows it).
void TypeOneLeg(QDialog* dialog, int tableCode, int age, const char* rate, LegKind kind,
                const char* amount, int term, int premiumYears) {
    auto* table = Child<QComboBox>(dialog, "IDC_TABLE");
    table->setCurrentIndex(table->findData(tableCode));
    Type(Child<QLineEdit>(dialog, "IDC_AGE"), QString::number(age));
    Type(Child<QLineEdit>(dialog, "IDC_RATE"), rate);
    Choose(Leg<QComboBox>(dialog, 0, 0), static_cast<int>(kind));
    Type(Leg<QLineEdit>(dialog, 0, 1), amount);
    Type(Leg<QLineEdit>(dialog, 0, 2), QString::number(term));
    Type(Leg<QLineEdit>(dialog, 0, 3), "0");
    Choose(Child<QComboBox>(dialog, "IDC_PREMIUM_TERM_KIND"), premiumYears > 0 ? 1 : 0);
    Type(Child<QLineEdit>(dialog, "IDC_PREMIUM_TERM"), QString::number(std::max(1, premiumYears)));
    Child<QRadioButton>(dialog, "IDC_SOLVE_PREMIUM")->click();
    Child<QCheckBox>(dialog, "IDC_DISTRIBUTION")->setChecked(true);
    Child<QCheckBox>(dialog, "IDC_POLICY_VALUES")->setChecked(false);
    Child<QGroupBox>(dialog, "IDC_SECOND_LIFE")->setChecked(false);
    for (const char* name :
         {"IDC_EXPENSE_INITIAL", "IDC_EXPENSE_INITIAL_PERCENT", "IDC_EXPENSE_RENEWAL",
          "IDC_EXPENSE_RENEWAL_PERCENT", "IDC_EXPENSE_CLAIM"})
        Type(Child<QLineEdit>(dialog, name), "0");
}

void TypeSecondLife(QDialog* dialog, int tableCode, int age, LifeStatus status) {
    Child<QGroupBox>(dialog, "IDC_SECOND_LIFE")->setChecked(true);
    auto* table = Child<QComboBox>(dialog, "IDC_SECOND_TABLE");
    table->setCurrentIndex(table->findData(tableCode));
    Type(Child<QLineEdit>(dialog, "IDC_SECOND_AGE"), QString::number(age));
    Choose(Child<QComboBox>(dialog, "IDC_LIVES"), static_cast<int>(status));
}

// The report lines tabulon-cli price prints for args.
QStringList CliReport(const QStringList& args) {
    QProcess cli;
    cli.start(QStringLiteral(TABULON_CLI), QStringList{"price"} + args);
    if (!cli.waitForFinished(60000) || cli.exitCode() != 0)
        qWarning("tabulon-cli price failed: %s", cli.readAllStandardError().constData());
    QString out = QString::fromUtf8(cli.readAllStandardOutput());
    if (out.endsWith('\n'))
        out.chop(1);
    return out.split('\n');
}

// The number at the end of the report's line that starts with label, or NaN.
double ReportNumber(const QStringList& lines, const QString& label) {
    for (const QString& line : lines)
        if (line.startsWith(label))
            return line.mid(label.size()).trimmed().toDouble();
    return std::nan("");
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
    void PricesAsTheCommandLineDoes();
    void SelectIsOfferedOnlyForATableWithSelectRates();
    void NewFieldsAreRememberedAndRefusedByName();
    void ChartsDrawTwoLivesAndSaveAProduct();

private:
    // A table file imported as the Tables menu does: read through the table-file reader.
    int Import(const QString& fileName, const std::string& text);
    // Accepts the dialog after script typed a product; the journal's new lines.
    QStringList Accept(CTabulonDoc& doc, std::function<void(QDialog*)> script);

    int m_sult = 0; // the Standard Ultimate Life Table's code in the table list
    int m_ilt = 0;  // the Illustrative Life Table's
    int m_sssm = 0; // the Standard Select Survival Model's, with its select rates
    MortalityTableData m_sssmFile;
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
    m_ilt = Import("ILT.csv", published_tables::IllustrativeLifeTableCsv());
    // The select table that ships with Tabulon; the table import keeps its select rates.
    QFile shipped(
        QFileInfo(QStringLiteral(__FILE__)).dir().filePath("../../tables/standard/SSSM.csv"));
    QVERIFY(shipped.open(QIODevice::ReadOnly));
    m_sssm = Import("SSSM.csv", shipped.readAll().toStdString());
    m_sssmFile = ReadMortalityTableFile(m_folder.filePath("SSSM.csv").toStdString());
    SetImportedTableFile([this](int code) { return code == m_sssm ? &m_sssmFile : nullptr; });
}

int TestProductDialog::Import(const QString& fileName, const std::string& text) {
    const std::string path = m_folder.filePath(fileName).toStdString();
    published_tables::WriteFile(path, text);
    const MortalityTableData data = ReadMortalityTableFile(path);
    const std::vector<double> living = LivingByAge(data);
    return AddMortalityTable(data.name, data.firstAge,
                             std::span<const double>(living).first(living.size() - 1));
}

QStringList TestProductDialog::Accept(CTabulonDoc& doc, std::function<void(QDialog*)> script) {
    doc.SetProductPrompt(
        [](const ProductDialogValues& opening) { return PromptProductValues(nullptr, opening); });
    const std::size_t from = doc.GetLines()->GetCount();
    WhileModal([script](QDialog* dialog) {
        script(dialog);
        QTest::mouseClick(Child<QPushButton>(dialog, "IDOK"), Qt::LeftButton);
    });
    doc.OnTypeProduct();
    QStringList lines;
    for (std::size_t i = from; i < doc.GetLines()->GetCount(); ++i)
        lines << QString::fromStdString(std::string(doc.GetLines()->GetAt(i)));
    return lines;
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

void TestProductDialog::PricesAsTheCommandLineDoes() {
    // Each product typed into the dialog: its published value, and the journal's report line
    // for line as tabulon-cli price prints it for the same product.
    struct Case {
        const char* name;
        const char* source;
        std::function<void(QDialog*)> type;
        QStringList cli;
        QString keyFigure; // the status bar's premium, as far as given
        const char* label; // the report line holding the published value
        double published;
        double tolerance;
    };
    const QString sssm = m_folder.filePath("SSSM.csv");
    const QString ilt = m_folder.filePath("ILT.csv");
    const QString sult = m_folder.filePath("SULT.csv");
    // Whole life on (45), SULT 5%: A = 1 - d a-due with the published a-due(45) = 17.8162;
    // the single gross premium G (1 - 3%) = 100,075 A + 200.
    const double wholeLife45 = 1.0 - 0.05 / 1.05 * 17.8162;
    const Case cases[] = {
        {"select endowment",
         "AMLCR 2nd ed. Example 7.1 (SSSM, 5%)",
         [this](QDialog* dialog) {
             TypeOneLeg(dialog, m_sssm, 50, "5", LegKind::Endowment, "500000", 20, 20);
             Child<QCheckBox>(dialog, "IDC_SELECT")->setChecked(true);
         },
         {"--table-file", sssm, "--select", "--age", "50", "--rate", "5", "--benefit",
          "endowment,amount=500000,term=20", "--premium-term", "20"},
         "Net annual premium: 15114.33",
         "  Net premium",
         15114.33,
         0.005},
        {"select endowment on the shipped table",
         "AMLCR 2nd ed. Example 7.1 (SSSM, 5%)",
         [](QDialog* dialog) {
             TypeOneLeg(dialog, -2, 50, "5", LegKind::Endowment, "500000", 20, 20);
             Child<QCheckBox>(dialog, "IDC_SELECT")->setChecked(true);
         },
         {"--table-file", sssm, "--select", "--age", "50", "--rate", "5", "--benefit",
          "endowment,amount=500000,term=20", "--premium-term", "20"},
         "Net annual premium: 15114.33",
         "  Net premium",
         15114.33,
         0.005},
        {"joint annuity-due (40, 40)",
         "Bowers et al., joint-life annuities, ILT 6%",
         [this](QDialog* dialog) {
             TypeOneLeg(dialog, m_ilt, 40, "6", LegKind::Annuity, "1", 0, 0);
             TypeSecondLife(dialog, m_ilt, 40, LifeStatus::Joint);
         },
         {"--table-file", ilt, "--age", "40", "--rate", "6", "--benefit", "annuity", "--second-age",
          "40", "--lives", "joint"},
         "Net single premium: 13.60",
         "  Benefits, EPV",
         13.60357,
         5e-6},
        {"last-survivor whole life (60, 70)",
         "Finan, ILT 6%",
         [this](QDialog* dialog) {
             TypeOneLeg(dialog, m_ilt, 60, "6", LegKind::WholeLife, "1", 0, 0);
             TypeSecondLife(dialog, m_ilt, 70, LifeStatus::LastSurvivor);
         },
         {"--table-file", ilt, "--age", "60", "--rate", "6", "--benefit", "whole-life",
          "--second-age", "70", "--lives", "last-survivor"},
         "Net single premium: 0.31",
         "  Benefits, EPV",
         0.3118,
         5e-5},
        {"single premium with expenses",
         "SOA exam solution a-due(45) = 17.8162, SULT 5%",
         [this](QDialog* dialog) {
             TypeOneLeg(dialog, m_sult, 45, "5", LegKind::WholeLife, "100000", 0, 0);
             Type(Child<QLineEdit>(dialog, "IDC_EXPENSE_INITIAL"), "200");
             Type(Child<QLineEdit>(dialog, "IDC_EXPENSE_INITIAL_PERCENT"), "3");
             Type(Child<QLineEdit>(dialog, "IDC_EXPENSE_CLAIM"), "75");
         },
         {"--table-file", sult, "--age", "45", "--rate", "5", "--benefit",
          "whole-life,amount=100000", "--expenses", "initial=200,initial-premium=3,claim=75"},
         "Net single premium: ",
         "  Gross premium",
         (100075 * wholeLife45 + 200) / 0.97,
         0.5},
    };
    for (const Case& c : cases) {
        CTabulonDoc doc;
        doc.OnNewDocument();
        g_messages.clear();
        const QStringList lines = Accept(doc, c.type);
        const QString name = QStringLiteral("%1 (%2)").arg(c.name, c.source);
        QVERIFY2(g_messages.isEmpty(), qPrintable(name + ": " + g_messages.join('\n')));
        QVERIFY2(!lines.isEmpty(), qPrintable(name));
        const double value = ReportNumber(lines, c.label);
        QVERIFY2(std::abs(value - c.published) <= c.tolerance,
                 qPrintable(QStringLiteral("%1: %2 %3, published %4\n%5")
                                .arg(name, c.label)
                                .arg(value, 0, 'f', 6)
                                .arg(c.published)
                                .arg(lines.join('\n'))));
        QVERIFY2(CMainFrame::KeyFigure(doc).startsWith(c.keyFigure),
                 qPrintable(name + ": " + CMainFrame::KeyFigure(doc)));
        // With expenses the status bar adds the gross premium the report shows.
        const double gross = ReportNumber(lines, "  Gross premium");
        QCOMPARE(CMainFrame::KeyFigure(doc).endsWith(QString::asprintf(", gross: %.2f", gross)),
                 std::isfinite(gross));
        // The one report writer: the journal holds, after its blank line, what the command
        // line prints.
        QCOMPARE(lines.mid(1), CliReport(c.cli));
    }
}

void TestProductDialog::SelectIsOfferedOnlyForATableWithSelectRates() {
    ProductDialogValues opening = DefaultProductValues();
    opening.tableCode = m_sult;
    ProductDialog dialog(opening);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* select = Child<QCheckBox>(&dialog, "IDC_SELECT");
    auto* table = Child<QComboBox>(&dialog, "IDC_TABLE");
    QVERIFY(!select->isEnabled());
    table->setCurrentIndex(m_sssm - 1);
    QVERIFY(select->isEnabled());
    QCOMPARE(table->currentText(), QStringLiteral("SSSM (select and ultimate, 2 years)"));
    table->setCurrentIndex(0);
    QVERIFY(!select->isEnabled());
    // The tables that ship with Tabulon are offered without an import, after the others.
    table->setCurrentIndex(table->count() - 1);
    QCOMPARE(table->currentText(),
             QStringLiteral("SSSM, Standard Select Survival Model (select and ultimate, 2 years)"));
    QCOMPARE(table->currentData().toInt(), -2);
    QVERIFY(select->isEnabled());
    table->setCurrentIndex(table->count() - 2);
    QCOMPARE(table->currentText(), QStringLiteral("SULT, Standard Ultimate Life Table"));
    QVERIFY(!select->isEnabled());
    dialog.reject();
}

void TestProductDialog::NewFieldsAreRememberedAndRefusedByName() {
    CTabulonDoc doc;
    doc.OnNewDocument();
    doc.SetProductPrompt(
        [](const ProductDialogValues& opening) { return PromptProductValues(nullptr, opening); });
    // A reversionary status pays no death benefit: refused, naming the field.
    WhileModal([this](QDialog* dialog) {
        TypeOneLeg(dialog, m_ilt, 60, "6", LegKind::WholeLife, "1", 0, 0);
        TypeSecondLife(dialog, m_ilt, 55, LifeStatus::Reversionary);
        QTest::mouseClick(Child<QPushButton>(dialog, "IDOK"), Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->focusWidget(), Child<QComboBox>(dialog, "IDC_LIVES"));
        // A percent of the premiums must leave some of it.
        Choose(Leg<QComboBox>(dialog, 0, 0), static_cast<int>(LegKind::Annuity));
        Type(Child<QLineEdit>(dialog, "IDC_EXPENSE_RENEWAL_PERCENT"), "100");
        QTest::mouseClick(Child<QPushButton>(dialog, "IDOK"), Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->focusWidget(), Child<QLineEdit>(dialog, "IDC_EXPENSE_RENEWAL_PERCENT"));
        // The second life's age within its table.
        Type(Child<QLineEdit>(dialog, "IDC_EXPENSE_RENEWAL_PERCENT"), "4");
        Type(Child<QLineEdit>(dialog, "IDC_SECOND_AGE"), "131");
        QTest::mouseClick(Child<QPushButton>(dialog, "IDOK"), Qt::LeftButton);
        QCOMPARE(dialog->focusWidget(), Child<QLineEdit>(dialog, "IDC_SECOND_AGE"));
        dialog->reject();
    });
    doc.OnTypeProduct();
    QCOMPARE(g_messages.size(), 3);
    QVERIFY2(g_messages[0].startsWith("Benefits paid: "), qPrintable(g_messages[0]));
    QVERIFY2(g_messages[1].startsWith("Renewal expenses, % of later premiums: "),
             qPrintable(g_messages[1]));
    QVERIFY2(g_messages[2].startsWith("Second life, age at issue: 131 is out of range"),
             qPrintable(g_messages[2]));
    QVERIFY(!doc.GetLastProduct());

    // Accepted: every new field opens as it was accepted.
    const QStringList lines = Accept(doc, [this](QDialog* dialog) {
        // An amount of 500,000 comes back as typed, not as "5e+05".
        TypeOneLeg(dialog, m_sssm, 60, "4", LegKind::Annuity, "500000", 0, 10);
        Child<QCheckBox>(dialog, "IDC_SELECT")->setChecked(true);
        TypeSecondLife(dialog, m_ilt, 57, LifeStatus::Reversionary);
        Choose(Child<QComboBox>(dialog, "IDC_PREMIUM_STATUS"), 1);
        Type(Child<QLineEdit>(dialog, "IDC_EXPENSE_INITIAL"), "150");
        Type(Child<QLineEdit>(dialog, "IDC_EXPENSE_INITIAL_PERCENT"), "40");
        Type(Child<QLineEdit>(dialog, "IDC_EXPENSE_RENEWAL"), "12.5");
        Type(Child<QLineEdit>(dialog, "IDC_EXPENSE_RENEWAL_PERCENT"), "5");
        Type(Child<QLineEdit>(dialog, "IDC_EXPENSE_CLAIM"), "30");
    });
    QVERIFY2(g_messages.size() == 3, qPrintable(g_messages.join('\n')));
    QVERIFY(lines.contains("  Second life                 age 57, table ILT"));
    QVERIFY(lines.contains("  Select                      select period 2 years, life selected at "
                           "age 60"));
    QVERIFY(lines.contains("  Premiums paid               while either life is alive"));
    QString shown;
    WhileModal([&shown](QDialog* dialog) {
        QStringList values{Child<QCheckBox>(dialog, "IDC_SELECT")->isChecked() ? "select" : "-",
                           Child<QGroupBox>(dialog, "IDC_SECOND_LIFE")->isChecked() ? "two" : "one",
                           Child<QComboBox>(dialog, "IDC_SECOND_TABLE")->currentText(),
                           Child<QLineEdit>(dialog, "IDC_SECOND_AGE")->text(),
                           Child<QComboBox>(dialog, "IDC_LIVES")->currentData().toString(),
                           Child<QComboBox>(dialog, "IDC_PREMIUM_STATUS")->currentData().toString(),
                           Leg<QLineEdit>(dialog, 0, 1)->text()};
        for (const char* name :
             {"IDC_EXPENSE_INITIAL", "IDC_EXPENSE_INITIAL_PERCENT", "IDC_EXPENSE_RENEWAL",
              "IDC_EXPENSE_RENEWAL_PERCENT", "IDC_EXPENSE_CLAIM"})
            values << Child<QLineEdit>(dialog, name)->text();
        shown = values.join(' ');
    });
    doc.OnTypeProduct();
    QCOMPARE(shown, QStringLiteral("select two ILT 57 %1 1 500000 150 40 12.5 5 30")
                        .arg(static_cast<int>(LifeStatus::Reversionary)));
}

void TestProductDialog::ChartsDrawTwoLivesAndSaveAProduct() {
    CTabulonDoc doc;
    doc.OnNewDocument();
    CMainFrame frame(doc);
    frame.show();
    ChartsWindow* window = frame.GetChartsWindow();
    QVERIFY(window);
    window->show();
    const auto command = [window](const char* name) {
        return window->findChild<QAction*>(QString::fromLatin1(name));
    };
    // One life: the survival curve by age, no others.
    Accept(doc, [this](QDialog* dialog) {
        TypeOneLeg(dialog, m_ilt, 60, "6", LegKind::WholeLife, "1000", 0, 10);
    });
    QApplication::processEvents();
    auto* page = window->findChild<ProductCharts*>();
    QVERIFY(page);
    QCOMPARE(page->GetSurvival()->count(), 131 - 60 + 1);
    QCOMPARE(page->GetSurvival()->at(0), QPointF(60, 1));
    QCOMPARE(page->GetJointSurvival()->count(), 0);
    QVERIFY(!page->GetSurvivalChart()->legend()->isVisible());
    // Saving and printing a product's charts are offered as for the other calculations.
    for (const char* name : {"ID_CHARTS_SAVE_IMAGE", "ID_CHARTS_PRINT", "ID_CHARTS_PRINT_PREVIEW"})
        QVERIFY2(command(name) && command(name)->isEnabled(), name);

    // Two lives: tpx, tpy, tpxy and the last survivor by duration.
    Accept(doc, [this](QDialog* dialog) {
        TypeOneLeg(dialog, m_ilt, 60, "6", LegKind::WholeLife, "1000", 0, 10);
        TypeSecondLife(dialog, m_ilt, 70, LifeStatus::LastSurvivor);
    });
    QApplication::processEvents();
    const ProductResult* product = doc.GetLastProduct();
    QVERIFY(product && product->second);
    QCOMPARE(page->GetSurvival()->count(), 131 - 60 + 1); // to the younger life's end
    QCOMPARE(page->GetSecondSurvival()->count(), page->GetSurvival()->count());
    for (int t : {0, 10, 25, 61}) {
        const double x = product->survival.at(t), y = product->secondSurvival.at(t);
        QCOMPARE(page->GetSurvival()->at(t), QPointF(t, x));
        QCOMPARE(page->GetSecondSurvival()->at(t), QPointF(t, y));
        QCOMPARE(page->GetJointSurvival()->at(t).y(), x * y);
        QCOMPARE(page->GetLastSurvivor()->at(t).y(), x + y - x * y);
    }
    // tpy of (70) at 10 years on the ILT: l(80) / l(70).
    const MortalityTable& table = MortalityTableOf(m_ilt);
    QCOMPARE(product->secondSurvival.at(10), table.living[80] / table.living[70]);
    QCOMPARE(page->GetSecondSurvival()->at(62).y(), 0.0); // past the ILT's end for (70)
    QVERIFY(page->GetSurvivalChart()->legend()->isVisible());

    for (const char* name : {"ID_CHARTS_SAVE_IMAGE", "ID_CHARTS_PRINT", "ID_CHARTS_PRINT_PREVIEW"})
        QVERIFY2(command(name)->isEnabled(), name);
    const QString file = m_folder.filePath("product.png");
    QString error;
    QVERIFY2(window->SaveImage(file, error), qPrintable(error));
    QImage image(file);
    QVERIFY(!image.isNull());
    // Two charts, each 760 by 460, at twice the screen's pixels.
    QCOMPARE(image.size(), QSize(760 * 2, 460 * 2 * 2));
    // Something is drawn in each chart's half.
    for (int half : {0, 1}) {
        int dark = 0;
        for (int y = half * 920; y < (half + 1) * 920; y += 4)
            for (int x = 0; x < image.width(); x += 4)
                dark += qGray(image.pixel(x, y)) < 128;
        QVERIFY2(dark > 100, qPrintable(QString::number(half)));
    }
    const QString svg = m_folder.filePath("product.svg");
    QVERIFY2(window->SaveImage(svg, error), qPrintable(error));
    QVERIFY(QFileInfo(svg).size() > 1000);
}

TABULON_GUI_TEST_MAIN(TestProductDialog)
#include "tst_ProductDialog.moc"
