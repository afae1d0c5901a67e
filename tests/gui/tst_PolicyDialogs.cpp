// SPDX-License-Identifier: GPL-3.0-or-later
// The insurance and pension input dialogs, driven through their real widgets.
#include "DialogTestSupport.h"
#include "GuiTestMain.h"
#include "InsuranceDialog.h"
#include "PensionDialog.h"
#include "TabulonDoc.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

#include <clocale>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

Q_DECLARE_METATYPE(PolicyKind)

namespace {

QStringList g_messages;

// A dialog preloaded as the calculation commands do, with the record's opening values.
std::unique_ptr<PolicyInputDialog> MakeDialog(PolicyKind kind) {
    std::unique_ptr<PolicyInputDialog> dialog;
    if (kind == PolicyKind::Insurance)
        dialog = std::make_unique<CInsuranceDialog>();
    else
        dialog = std::make_unique<CPensionDialog>();
    static_cast<PolicyDialogData&>(*dialog) = OpeningValues(CCalculationRecord());
    return dialog;
}

// The document asks the user through the real dialogs.
void AskThroughTheDialogs(CTabulonDoc& doc) {
    doc.SetValuesPrompt([](PolicyKind kind, const PolicyDialogData& opening) {
        return PromptPolicyValues(nullptr, kind, opening);
    });
}

// Selects a list entry the way a user does, with a click on it.
void ClickListRow(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

QStringList ListEntries(const QListWidget* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->item(i)->text();
    return entries;
}

} // namespace

class TestPolicyDialogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void OpensWithCallerValuesAndFixedSelections_data();
    void OpensWithCallerValuesAndFixedSelections();
    void OpensWithPremiumGivenOnlyForInputKindTwo();
    void AmountShowsWithoutExponentOrSurplusDigits_data();
    void AmountShowsWithoutExponentOrSurplusDigits();
    void TabOrderFollowsTemplateOrder_data();
    void TabOrderFollowsTemplateOrder();
    void TextsFitTheirControls_data();
    void TextsFitTheirControls();

    void PolicyListEnablesTermExceptForTypeWithoutTerm_data();
    void PolicyListEnablesTermExceptForTypeWithoutTerm();

    void FieldIsAcceptedOrRefused_data();
    void FieldIsAcceptedOrRefused();
    void DisabledTermIsNotCheckedAndKeepsItsValue_data();
    void DisabledTermIsNotCheckedAndKeepsItsValue();
    void FirstFailureInExchangeOrderIsReported_data();
    void FirstFailureInExchangeOrderIsReported();
    void ListWithoutSelectionIsRefused();
    void RefusalIsShownInAWarningBoxByDefault();
    void NegativeZeroAmountBecomesZero();
    void DigitEditsTakeNoSignPointOrComma_data();
    void DigitEditsTakeNoSignPointOrComma();
    void AmountEditTakesAnyCharacters();

    void CheckBoxesSetFlagsOnlyWhileChecked();
    void RadioButtonsSetInputKind();
    void EnterAtOpeningAcceptsShownValues();
    void EnterInAFieldChecksAndAccepts();
    void EscapeCancels();

    void CancelledRunAppendsNothing_data();
    void CancelledRunAppendsNothing();
    void AcceptedRunAppendsTheReportOfTheValuesEntered_data();
    void AcceptedRunAppendsTheReportOfTheValuesEntered();
    void RefusedInputKeepsTheModalDialogOpenUntilCorrected();
    void SecondRunOfOneDialogOpensAfresh();

    void GrabForScreenshots();
};

void TestPolicyDialogs::initTestCase() {
    // The decimal-comma run must really run under a decimal comma.
    if (qEnvironmentVariable("LC_ALL").startsWith(QLatin1String("de_DE"))) {
        const std::string inEffect = std::setlocale(LC_NUMERIC, nullptr);
        QVERIFY(std::setlocale(LC_NUMERIC, ""));
        const bool comma = std::strcmp(std::localeconv()->decimal_point, ",") == 0;
        std::setlocale(LC_NUMERIC, inEffect.c_str());
        QVERIFY2(comma, "LC_ALL names de_DE but its decimal point is not a comma");
    }
    QStandardPaths::setTestModeEnabled(true);
    CDialog::SetMessageHandler([](CDialog*, const QString& message) { g_messages << message; });
}

void TestPolicyDialogs::init() {
    g_messages.clear();
}

void TestPolicyDialogs::OpensWithCallerValuesAndFixedSelections_data() {
    QTest::addColumn<PolicyKind>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("policies");
    QTest::addColumn<QString>("giveAmount");
    QTest::addColumn<QString>("givePremium");

    QTest::newRow("insurance") << PolicyKind::Insurance << "Insurance or Endowment Policy"
                               << QStringList{"Whole Life", "Term Life", "Term Endowment"}
                               << "policy amount (program calculates pure annual premium), or"
                               << "annual premium (program calculates pure policy amount)";
    QTest::newRow("pension") << PolicyKind::Pension << "Pension or annuity"
                             << QStringList{"Life Pension", "Term Annuity"}
                             << "policy amount (program calculates pure annual payment), or"
                             << "annual payment (program calculates pure policy amount)";
}

void TestPolicyDialogs::OpensWithCallerValuesAndFixedSelections() {
    QFETCH(PolicyKind, kind);
    QFETCH(QString, caption);
    QFETCH(QStringList, policies);
    QFETCH(QString, giveAmount);
    QFETCH(QString, givePremium);

    auto dialog = MakeDialog(kind);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));

    QCOMPARE(dialog->windowTitle(), caption);
    QCOMPARE(Child<QLineEdit>(dialog.get(), "IDC_AGE")->text(), QString("60"));
    QCOMPARE(Child<QLineEdit>(dialog.get(), "IDC_AMOUNT")->text(), QString("10000"));
    QCOMPARE(Child<QLineEdit>(dialog.get(), "IDC_RATE")->text(), QString("5"));
    QCOMPARE(Child<QLineEdit>(dialog.get(), "IDC_TERM")->text(), QString("5"));
    QVERIFY(Child<QLineEdit>(dialog.get(), "IDC_TERM")->isEnabled());

    auto* policyList = Child<QListWidget>(dialog.get(), "IDC_POLICY_LIST");
    auto* tableList = Child<QListWidget>(dialog.get(), "IDC_TABLE_LIST");
    QCOMPARE(ListEntries(policyList), policies);
    QCOMPARE(policyList->currentRow(), 1);
    QVERIFY(policyList->item(1)->isSelected());
    QCOMPARE(ListEntries(tableList), (QStringList{"National, Male", "National, Female",
                                                  "Regional, Male", "Regional, Female"}));
    QCOMPARE(tableList->currentRow(), 0);
    QVERIFY(tableList->item(0)->isSelected());

    auto* amountRadio = Child<QRadioButton>(dialog.get(), "IDC_GIVE_AMOUNT");
    auto* premiumRadio = Child<QRadioButton>(dialog.get(), "IDC_GIVE_PREMIUM");
    QCOMPARE(amountRadio->text(), giveAmount);
    QCOMPARE(premiumRadio->text(), givePremium);
    QVERIFY(amountRadio->isChecked());
    QVERIFY(!premiumRadio->isChecked());
    QVERIFY(!Child<QCheckBox>(dialog.get(), "IDC_SHOW_MORTALITY")->isChecked());
    QVERIFY(!Child<QCheckBox>(dialog.get(), "IDC_SHOW_NET_INCOME")->isChecked());
    QCOMPARE(dialog->focusWidget(), Child<QPushButton>(dialog.get(), "IDOK"));
    QVERIFY(Child<QPushButton>(dialog.get(), "IDOK")->isDefault());
    QCOMPARE(Child<QGroupBox>(dialog.get(), "IDC_INPUT_GROUP")->title(), QString("Input either:"));
    QCOMPARE(Child<QLabel>(dialog.get(), "IDC_AMOUNT_LABEL")->text(),
             QString("... and enter amount (do not use commas):"));
}

void TestPolicyDialogs::OpensWithPremiumGivenOnlyForInputKindTwo() {
    for (int kind : {0, 1, 2, 3}) {
        auto dialog = MakeDialog(PolicyKind::Insurance);
        dialog->m_nInputKind = kind;
        dialog->show();
        QCOMPARE(Child<QRadioButton>(dialog.get(), "IDC_GIVE_PREMIUM")->isChecked(), kind == 2);
        QCOMPARE(Child<QRadioButton>(dialog.get(), "IDC_GIVE_AMOUNT")->isChecked(), kind != 2);
    }
}

void TestPolicyDialogs::AmountShowsWithoutExponentOrSurplusDigits_data() {
    QTest::addColumn<float>("amount");
    QTest::addColumn<QString>("shown");
    QTest::newRow("record default") << 10000.0f << "10000";
    QTest::newRow("zero") << 0.0f << "0";
    QTest::newRow("upper bound") << 1e9f << "1000000000";
    QTest::newRow("premium of the worked example") << 207.04f << "207.04";
    QTest::newRow("solved amount") << 9999.76f << "9999.76";
    QTest::newRow("small fraction") << 0.1f << "0.1";
}

void TestPolicyDialogs::AmountShowsWithoutExponentOrSurplusDigits() {
    QFETCH(float, amount);
    QFETCH(QString, shown);
    auto dialog = MakeDialog(PolicyKind::Pension);
    dialog->m_fAmount = amount;
    dialog->show();
    auto* edit = Child<QLineEdit>(dialog.get(), "IDC_AMOUNT");
    QCOMPARE(edit->text(), shown);
    // Accepting the shown text hands back the very same float.
    Child<QPushButton>(dialog.get(), "IDOK")->click();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(dialog->m_fAmount, amount);
}

void TestPolicyDialogs::TabOrderFollowsTemplateOrder_data() {
    QTest::addColumn<PolicyKind>("kind");
    QTest::newRow("insurance") << PolicyKind::Insurance;
    QTest::newRow("pension") << PolicyKind::Pension;
}

void TestPolicyDialogs::TabOrderFollowsTemplateOrder() {
    QFETCH(PolicyKind, kind);
    auto dialog = MakeDialog(kind);
    dialog->show();
    QStringList order;
    QWidget* w = dialog.get();
    while ((w = w->nextInFocusChain()) != dialog.get()) {
        if (w->focusPolicy() & Qt::TabFocus)
            order << w->objectName();
    }
    QCOMPARE(order, (QStringList{"IDOK", "IDCANCEL", "IDC_POLICY_LIST", "IDC_TABLE_LIST", "IDC_AGE",
                                 "IDC_TERM", "IDC_RATE", "IDC_GIVE_AMOUNT", "IDC_AMOUNT",
                                 "IDC_SHOW_MORTALITY", "IDC_SHOW_NET_INCOME"}));
}

void TestPolicyDialogs::TextsFitTheirControls_data() {
    QTest::addColumn<PolicyKind>("kind");
    QTest::addColumn<int>("pointSize");  // of the application font; 0: as it is
    QTest::addColumn<bool>("longTexts"); // every text doubled, as a wordy translation would be
    QTest::newRow("insurance") << PolicyKind::Insurance << 0 << false;
    QTest::newRow("pension") << PolicyKind::Pension << 0 << false;
    QTest::newRow("insurance, 14 points") << PolicyKind::Insurance << 14 << false;
    QTest::newRow("pension, 14 points") << PolicyKind::Pension << 14 << false;
    QTest::newRow("insurance, long texts") << PolicyKind::Insurance << 0 << true;
    QTest::newRow("pension, long texts at 14 points") << PolicyKind::Pension << 14 << true;
}

void TestPolicyDialogs::TextsFitTheirControls() {
    QFETCH(PolicyKind, kind);
    QFETCH(int, pointSize);
    QFETCH(bool, longTexts);
    const QFont applicationFont = QApplication::font();
    const auto restoreFont = qScopeGuard([&] { QApplication::setFont(applicationFont); });
    if (pointSize > 0) {
        QFont font = applicationFont;
        font.setPointSize(pointSize);
        QApplication::setFont(font);
    }
    auto dialog = MakeDialog(kind);
    const QList<QWidget*> controls = dialog->findChildren<QWidget*>();
    if (longTexts) {
        for (QWidget* control : controls) {
            if (auto* label = qobject_cast<QLabel*>(control))
                label->setText(label->text() + ' ' + label->text());
            else if (auto* button = qobject_cast<QAbstractButton*>(control))
                button->setText(button->text() + ' ' + button->text());
            else if (auto* group = qobject_cast<QGroupBox*>(control))
                group->setTitle(group->title() + ' ' + group->title());
        }
    }
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    if (pointSize > 0)
        QVERIFY(dialog->font().pointSize() >= pointSize);

    const QRect client = dialog->rect();
    for (QWidget* control : controls) {
        const QString name = control->objectName();
        if (name.isEmpty() || !control->isVisibleTo(dialog.get()))
            continue; // the parts Qt builds inside lists and edits
        const QRect placed(control->mapTo(dialog.get(), QPoint()), control->size());
        QVERIFY2(client.contains(placed), qPrintable(name + " lies outside the dialog"));
        if (auto* label = qobject_cast<QLabel*>(control)) {
            QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                     qPrintable(name + " is cut off at the bottom"));
        } else if (qobject_cast<QAbstractButton*>(control)) {
            QVERIFY2(control->sizeHint().width() <= control->width(),
                     qPrintable(QString("%1 needs %2 pixels, has %3")
                                    .arg(name)
                                    .arg(control->sizeHint().width())
                                    .arg(control->width())));
        }
        if (qobject_cast<QLabel*>(control) || qobject_cast<QAbstractButton*>(control) ||
            qobject_cast<QGroupBox*>(control)) {
            const QSize needed = control->sizeHint().expandedTo(control->minimumSizeHint());
            QVERIFY2(needed.width() <= control->width() && needed.height() <= control->height(),
                     qPrintable(QString("%1 needs %2 x %3 pixels, has %4 x %5")
                                    .arg(name)
                                    .arg(needed.width())
                                    .arg(needed.height())
                                    .arg(control->width())
                                    .arg(control->height())));
        }
    }
    // Every built-in entry of both lists shows whole, without scrolling.
    for (const char* name : {"IDC_POLICY_LIST", "IDC_TABLE_LIST"}) {
        auto* list = Child<QListWidget>(dialog.get(), name);
        int rows = 0;
        for (int row = 0; row < list->count(); ++row) {
            rows += list->sizeHintForRow(row);
            QVERIFY2(list->viewport()->width() >=
                         list->sizeHintForIndex(list->model()->index(row, 0)).width(),
                     qPrintable(QString("%1: entry %2 is cut off").arg(name).arg(row)));
        }
        QVERIFY2(list->viewport()->height() >= rows,
                 qPrintable(QString("%1 shows %2 of %3 pixels of entries")
                                .arg(name)
                                .arg(list->viewport()->height())
                                .arg(rows)));
        QVERIFY(!list->verticalScrollBar()->isVisible());
    }
}

void TestPolicyDialogs::PolicyListEnablesTermExceptForTypeWithoutTerm_data() {
    QTest::addColumn<PolicyKind>("kind");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("termEnabled");
    QTest::newRow("whole life") << PolicyKind::Insurance << 0 << false;
    QTest::newRow("term life") << PolicyKind::Insurance << 1 << true;
    QTest::newRow("term endowment") << PolicyKind::Insurance << 2 << true;
    QTest::newRow("life pension") << PolicyKind::Pension << 0 << false;
    QTest::newRow("term annuity") << PolicyKind::Pension << 1 << true;
}

void TestPolicyDialogs::PolicyListEnablesTermExceptForTypeWithoutTerm() {
    QFETCH(PolicyKind, kind);
    QFETCH(int, row);
    QFETCH(bool, termEnabled);
    auto dialog = MakeDialog(kind);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    auto* list = Child<QListWidget>(dialog.get(), "IDC_POLICY_LIST");
    auto* term = Child<QLineEdit>(dialog.get(), "IDC_TERM");

    // Away from the row and back, so each row is reached by a change of selection.
    ClickListRow(list, row == 0 ? 1 : 0);
    ClickListRow(list, row);
    QCOMPARE(list->currentRow(), row);
    QCOMPARE(term->isEnabled(), termEnabled);
    ClickListRow(list, row == 0 ? 1 : 0);
    QCOMPARE(term->isEnabled(), row == 0);
}

void TestPolicyDialogs::FieldIsAcceptedOrRefused_data() {
    QTest::addColumn<PolicyKind>("kind");
    QTest::addColumn<int>("policyRow");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("value");         // the member's value when accepted
    QTest::addColumn<QString>("focusControl"); // where the focus goes when refused

    const PolicyKind ins = PolicyKind::Insurance;
    const PolicyKind pen = PolicyKind::Pension;
    auto row = [](const char* name, PolicyKind kind, int policyRow, const char* control,
                  const char* text, bool accepted, double value = 0, const char* focus = nullptr) {
        QTest::newRow(name) << kind << policyRow << QString(control) << QString(text) << accepted
                            << value << QString(focus ? focus : control);
    };
    // Age, 0..106.
    row("age 0", ins, 1, "IDC_AGE", "0", true, 0);
    row("age 106", ins, 1, "IDC_AGE", "106", true, 106);
    row("age 107", ins, 1, "IDC_AGE", "107", false);
    row("age with blanks around", ins, 1, "IDC_AGE", "  45 ", true, 45);
    row("age with plus sign", ins, 1, "IDC_AGE", "+45", true, 45);
    row("age negative", ins, 1, "IDC_AGE", "-1", false);
    row("age empty", ins, 1, "IDC_AGE", "", false);
    row("age blanks only", ins, 1, "IDC_AGE", "   ", false);
    row("age with decimal point", pen, 1, "IDC_AGE", "60.0", false);
    row("age with comma", pen, 1, "IDC_AGE", "6,0", false);
    row("age with inner blank", pen, 1, "IDC_AGE", "6 0", false);
    row("age too long for an int", pen, 1, "IDC_AGE", "99999999999", false);
    // Amount, 0..1e9 in single precision.
    row("amount 0", ins, 1, "IDC_AMOUNT", "0", true, 0);
    row("amount 1e9", ins, 1, "IDC_AMOUNT", "1000000000", true, 1e9);
    row("amount rounding down to 1e9", ins, 1, "IDC_AMOUNT", "1000000032", true, 1e9);
    row("amount rounding up past 1e9", ins, 1, "IDC_AMOUNT", "1000000033", false);
    row("amount 2e9", pen, 1, "IDC_AMOUNT", "2000000000", false);
    row("amount with exponent", pen, 1, "IDC_AMOUNT", "2.5e3", true, 2500);
    row("amount with fraction", pen, 1, "IDC_AMOUNT", "207.04", true, double(207.04f));
    row("amount with thousands comma", ins, 1, "IDC_AMOUNT", "10,000", false);
    row("amount with decimal comma", ins, 1, "IDC_AMOUNT", "207,04", false);
    row("amount negative", ins, 1, "IDC_AMOUNT", "-1", false);
    row("amount empty", ins, 1, "IDC_AMOUNT", "", false);
    row("amount infinite", ins, 1, "IDC_AMOUNT", "inf", false);
    row("amount not a number", ins, 1, "IDC_AMOUNT", "nan", false);
    row("amount hexadecimal", ins, 1, "IDC_AMOUNT", "0x10", false);
    row("amount beyond float range", ins, 1, "IDC_AMOUNT", "1e39", false);
    // Rate, whole percent 0..100.
    row("rate 0", ins, 1, "IDC_RATE", "0", true, 0);
    row("rate 100", pen, 1, "IDC_RATE", "100", true, 100);
    row("rate 101", pen, 1, "IDC_RATE", "101", false);
    row("rate with fraction", ins, 1, "IDC_RATE", "5.5", false);
    // Term: 0..50 insurance, 0..100 pension; term types need at least one year.
    row("term life term 1", ins, 1, "IDC_TERM", "1", true, 1);
    row("term life term 50", ins, 1, "IDC_TERM", "50", true, 50);
    row("term life term 51", ins, 1, "IDC_TERM", "51", false);
    row("term life term 0", ins, 1, "IDC_TERM", "0", false);
    row("endowment term 0", ins, 2, "IDC_TERM", "0", false);
    row("whole life term 0", ins, 0, "IDC_TERM", "0", true, 0);
    row("term annuity term 51", pen, 1, "IDC_TERM", "51", true, 51);
    row("term annuity term 100", pen, 1, "IDC_TERM", "100", true, 100);
    row("term annuity term 101", pen, 1, "IDC_TERM", "101", false);
    row("term annuity term 0", pen, 1, "IDC_TERM", "0", false);
    row("life pension term 0", pen, 0, "IDC_TERM", "0", true, 0);
}

void TestPolicyDialogs::FieldIsAcceptedOrRefused() {
    QFETCH(PolicyKind, kind);
    QFETCH(int, policyRow);
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(double, value);
    QFETCH(QString, focusControl);

    auto dialog = MakeDialog(kind);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    ClickListRow(Child<QListWidget>(dialog.get(), "IDC_POLICY_LIST"), policyRow);
    auto* edit = Child<QLineEdit>(dialog.get(), qPrintable(control));
    edit->setText(text);
    Child<QPushButton>(dialog.get(), "IDOK")->click();

    if (accepted) {
        QVERIFY2(g_messages.isEmpty(), qPrintable(g_messages.join('\n')));
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QVERIFY(!dialog->isVisible());
        const double member = control == "IDC_AGE"      ? dialog->m_nAge
                              : control == "IDC_AMOUNT" ? double(dialog->m_fAmount)
                              : control == "IDC_RATE"   ? dialog->m_nRate
                                                        : dialog->m_nTerm;
        QCOMPARE(member, value);
        QCOMPARE(dialog->m_nPolicyIndex, policyRow);
        QCOMPARE(dialog->m_nTableIndex, 0);
        return;
    }
    QCOMPARE(g_messages.size(), 1);
    const QString field = control == "IDC_AGE"      ? "Applicant's age"
                          : control == "IDC_AMOUNT" ? "Amount"
                          : control == "IDC_RATE"   ? "Discount interest rate"
                                                    : "Term of policy";
    QVERIFY2(g_messages.first().startsWith(field), qPrintable(g_messages.first()));
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->result(), 0);
    QCOMPARE(dialog->focusWidget()->objectName(), focusControl);
    QCOMPARE(edit->selectedText(), text);
}

void TestPolicyDialogs::DisabledTermIsNotCheckedAndKeepsItsValue_data() {
    QTest::addColumn<PolicyKind>("kind");
    QTest::addColumn<int>("pensionTerm");   // a term annuity run first with this term; 0: none
    QTest::addColumn<QString>("typedTerm"); // typed before the type without a term is chosen
    QTest::addColumn<int>("recordTerm");    // the record's term afterwards

    const PolicyKind ins = PolicyKind::Insurance;
    const PolicyKind pen = PolicyKind::Pension;
    const QString untouched; // a null text: the term edit is left as it opened
    // The insurance dialog opens with the pension's 100 years, beyond its own 50.
    QTest::newRow("whole life after a term annuity of 100 years") << ins << 100 << untouched << 100;
    QTest::newRow("whole life, 51 typed") << ins << 0 << "51" << 5;
    QTest::newRow("whole life, term emptied") << ins << 0 << "" << 5;
    QTest::newRow("whole life, letters pasted") << ins << 0 << "x1" << 5;
    QTest::newRow("whole life, 7 typed") << ins << 0 << "7" << 7;
    QTest::newRow("life pension, 101 typed") << pen << 0 << "101" << 5;
    QTest::newRow("life pension, 0 typed") << pen << 0 << "0" << 0;
}

void TestPolicyDialogs::DisabledTermIsNotCheckedAndKeepsItsValue() {
    QFETCH(PolicyKind, kind);
    QFETCH(int, pensionTerm);
    QFETCH(QString, typedTerm);
    QFETCH(int, recordTerm);

    CTabulonDoc doc;
    doc.OnNewDocument();
    AskThroughTheDialogs(doc);
    if (pensionTerm > 0) {
        WhileModal([&](QDialog* dialog) {
            Child<QLineEdit>(dialog, "IDC_TERM")->setText(QString::number(pensionTerm));
            Child<QPushButton>(dialog, "IDOK")->click();
        });
        doc.OnTypePension();
        QCOMPARE(doc.m_nTerm, pensionTerm);
    }
    const std::size_t linesBefore = doc.GetLines()->GetCount();
    bool closed = false;
    WhileModal([&](QDialog* dialog) {
        auto* term = Child<QLineEdit>(dialog, "IDC_TERM");
        if (!typedTerm.isNull())
            term->setText(typedTerm);
        ClickListRow(Child<QListWidget>(dialog, "IDC_POLICY_LIST"), 0);
        QVERIFY(!term->isEnabled());
        Child<QPushButton>(dialog, "IDOK")->click();
        closed = !dialog->isVisible();
    });
    kind == PolicyKind::Insurance ? doc.OnTypeInsurance() : doc.OnTypePension();

    QVERIFY2(g_messages.isEmpty(), qPrintable(g_messages.join('\n')));
    QVERIFY(closed);
    QVERIFY(doc.GetLines()->GetCount() > linesBefore);
    QCOMPARE(doc.m_nPolicyType, 1);
    QCOMPARE(doc.m_nTerm, recordTerm);
    // The report of a type without a term names no term.
    for (std::size_t i = linesBefore; i < doc.GetLines()->GetCount(); ++i)
        QVERIFY(doc.GetLines()->GetAt(i).find("Term =") == std::string::npos);
}

void TestPolicyDialogs::FirstFailureInExchangeOrderIsReported_data() {
    QTest::addColumn<QString>("age");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("term");
    QTest::addColumn<QString>("reported");
    QTest::newRow("age before amount") << "200"
                                       << "x"
                                       << "5"
                                       << "5"
                                       << "IDC_AGE";
    QTest::newRow("amount before rate") << "60"
                                        << "1,0"
                                        << "500"
                                        << "5"
                                        << "IDC_AMOUNT";
    QTest::newRow("rate before term") << "60"
                                      << "10"
                                      << "-5"
                                      << "99"
                                      << "IDC_RATE";
    QTest::newRow("term last") << "60"
                               << "10"
                               << "5"
                               << "99"
                               << "IDC_TERM";
}

void TestPolicyDialogs::FirstFailureInExchangeOrderIsReported() {
    QFETCH(QString, age);
    QFETCH(QString, amount);
    QFETCH(QString, rate);
    QFETCH(QString, term);
    QFETCH(QString, reported);
    auto dialog = MakeDialog(PolicyKind::Insurance);
    dialog->show();
    Child<QLineEdit>(dialog.get(), "IDC_AGE")->setText(age);
    Child<QLineEdit>(dialog.get(), "IDC_AMOUNT")->setText(amount);
    Child<QLineEdit>(dialog.get(), "IDC_RATE")->setText(rate);
    Child<QLineEdit>(dialog.get(), "IDC_TERM")->setText(term);
    Child<QPushButton>(dialog.get(), "IDOK")->click();
    QCOMPARE(g_messages.size(), 1);
    QCOMPARE(dialog->focusWidget()->objectName(), reported);
    QVERIFY(dialog->isVisible());
}

void TestPolicyDialogs::ListWithoutSelectionIsRefused() {
    auto dialog = MakeDialog(PolicyKind::Pension);
    dialog->show();
    auto* tables = Child<QListWidget>(dialog.get(), "IDC_TABLE_LIST");
    tables->clearSelection();
    Child<QPushButton>(dialog.get(), "IDOK")->click();
    QCOMPARE(g_messages.size(), 1);
    QVERIFY2(g_messages.first().contains("mortality table"), qPrintable(g_messages.first()));
    QCOMPARE(dialog->focusWidget(), tables);
    QVERIFY(dialog->isVisible());
}

void TestPolicyDialogs::RefusalIsShownInAWarningBoxByDefault() {
    CDialog::SetMessageHandler({});
    QString boxTitle;
    QString boxText;
    // Closes the first message box that appears; gives up after a second.
    QTimer closer;
    int attempts = 0;
    connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                boxTitle = box->windowTitle();
                boxText = box->text();
                box->accept();
                closer.stop();
                return;
            }
        }
        if (++attempts == 100)
            closer.stop();
    });
    closer.start(10);

    auto dialog = MakeDialog(PolicyKind::Insurance);
    dialog->show();
    auto* age = Child<QLineEdit>(dialog.get(), "IDC_AGE");
    age->setText("107");
    Child<QPushButton>(dialog.get(), "IDOK")->click();
    CDialog::SetMessageHandler([](CDialog*, const QString& message) { g_messages << message; });

    QCOMPARE(boxTitle, QString("Insurance or Endowment Policy"));
    QCOMPARE(boxText, QString("Applicant's age: 107 is out of range; please enter a whole number "
                              "from 0 to 106."));
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->focusWidget(), age);
    QCOMPARE(age->selectedText(), QString("107"));
}

void TestPolicyDialogs::NegativeZeroAmountBecomesZero() {
    auto dialog = MakeDialog(PolicyKind::Insurance);
    dialog->show();
    Child<QLineEdit>(dialog.get(), "IDC_AMOUNT")->setText("-0");
    Child<QPushButton>(dialog.get(), "IDOK")->click();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(dialog->m_fAmount, 0.0f);
    QVERIFY(!std::signbit(dialog->m_fAmount));
}

void TestPolicyDialogs::DigitEditsTakeNoSignPointOrComma_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("age") << "IDC_AGE";
    QTest::newRow("term") << "IDC_TERM";
    QTest::newRow("rate") << "IDC_RATE";
}

void TestPolicyDialogs::DigitEditsTakeNoSignPointOrComma() {
    QFETCH(QString, control);
    auto dialog = MakeDialog(PolicyKind::Pension);
    dialog->show();
    auto* edit = Child<QLineEdit>(dialog.get(), qPrintable(control));
    edit->clear();
    QTest::keyClicks(edit, "-1.2,3 e+4");
    QCOMPARE(edit->text(), QString("1234"));
}

void TestPolicyDialogs::AmountEditTakesAnyCharacters() {
    auto dialog = MakeDialog(PolicyKind::Insurance);
    dialog->show();
    auto* edit = Child<QLineEdit>(dialog.get(), "IDC_AMOUNT");
    edit->clear();
    QTest::keyClicks(edit, "-10,000.5 e");
    QCOMPARE(edit->text(), QString("-10,000.5 e"));
}

void TestPolicyDialogs::CheckBoxesSetFlagsOnlyWhileChecked() {
    auto dialog = MakeDialog(PolicyKind::Insurance);
    dialog->show();
    auto* mortality = Child<QCheckBox>(dialog.get(), "IDC_SHOW_MORTALITY");
    auto* netIncome = Child<QCheckBox>(dialog.get(), "IDC_SHOW_NET_INCOME");
    mortality->click();
    QCOMPARE(dialog->m_bMortality, 1);
    QCOMPARE(dialog->m_bNetIncome, 0);
    mortality->click();
    QCOMPARE(dialog->m_bMortality, 0);
    netIncome->click();
    QCOMPARE(dialog->m_bNetIncome, 1);
    netIncome->click();
    QCOMPARE(dialog->m_bNetIncome, 0);
    netIncome->click();
    Child<QPushButton>(dialog.get(), "IDOK")->click();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(dialog->m_bMortality, 0);
    QCOMPARE(dialog->m_bNetIncome, 1);
}

void TestPolicyDialogs::RadioButtonsSetInputKind() {
    auto dialog = MakeDialog(PolicyKind::Pension);
    dialog->show();
    auto* amount = Child<QRadioButton>(dialog.get(), "IDC_GIVE_AMOUNT");
    auto* premium = Child<QRadioButton>(dialog.get(), "IDC_GIVE_PREMIUM");
    premium->click();
    QCOMPARE(dialog->m_nInputKind, 2);
    QVERIFY(!amount->isChecked());
    amount->click();
    QCOMPARE(dialog->m_nInputKind, 1);
    QVERIFY(!premium->isChecked());

    // The arrow keys move between the two buttons as clicks do.
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    amount->setFocus();
    QTest::keyClick(amount, Qt::Key_Down);
    QVERIFY(premium->isChecked());
    QCOMPARE(dialog->m_nInputKind, 2);
    QTest::keyClick(premium, Qt::Key_Up);
    QVERIFY(amount->isChecked());
    QCOMPARE(dialog->m_nInputKind, 1);
}

void TestPolicyDialogs::EnterAtOpeningAcceptsShownValues() {
    auto dialog = MakeDialog(PolicyKind::Insurance);
    dialog->show();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    QCOMPARE(QApplication::focusWidget(), Child<QPushButton>(dialog.get(), "IDOK"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(dialog->m_nAge, 60);
    QCOMPARE(dialog->m_fAmount, 10000.0f);
    QCOMPARE(dialog->m_nRate, 5);
    QCOMPARE(dialog->m_nTerm, 5);
    QCOMPARE(dialog->m_nPolicyIndex, 1);
    QCOMPARE(dialog->m_nTableIndex, 0);
    QCOMPARE(dialog->m_nInputKind, 1);
}

void TestPolicyDialogs::EnterInAFieldChecksAndAccepts() {
    auto dialog = MakeDialog(PolicyKind::Pension);
    dialog->show();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    auto* rate = Child<QLineEdit>(dialog.get(), "IDC_RATE");
    rate->setFocus();
    rate->selectAll();
    QTest::keyClicks(rate, "101");
    QTest::keyClick(rate, Qt::Key_Return);
    QCOMPARE(g_messages.size(), 1);
    QVERIFY(dialog->isVisible());
    QCOMPARE(QApplication::focusWidget(), rate);
    QCOMPARE(rate->selectedText(), QString("101"));
    QTest::keyClicks(rate, "7");
    QTest::keyClick(rate, Qt::Key_Enter);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(dialog->m_nRate, 7);
}

void TestPolicyDialogs::EscapeCancels() {
    auto dialog = MakeDialog(PolicyKind::Pension);
    dialog->show();
    Child<QLineEdit>(dialog.get(), "IDC_AGE")->setText("999");
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QVERIFY(g_messages.isEmpty());
    QCOMPARE(dialog->m_nAge, 60);
}

void TestPolicyDialogs::CancelledRunAppendsNothing_data() {
    QTest::addColumn<PolicyKind>("kind");
    QTest::addColumn<int>("mode");
    QTest::newRow("insurance") << PolicyKind::Insurance << 1;
    QTest::newRow("pension") << PolicyKind::Pension << 2;
}

void TestPolicyDialogs::CancelledRunAppendsNothing() {
    QFETCH(PolicyKind, kind);
    QFETCH(int, mode);
    CTabulonDoc doc;
    doc.OnNewDocument();
    AskThroughTheDialogs(doc);
    const std::size_t linesBefore = doc.GetLines()->GetCount();
    const CCalculationRecord before = doc;

    WhileModal([](QDialog* dialog) {
        Child<QLineEdit>(dialog, "IDC_AGE")->setText("30");
        Child<QCheckBox>(dialog, "IDC_SHOW_MORTALITY")->click();
        ClickListRow(Child<QListWidget>(dialog, "IDC_POLICY_LIST"), 0);
        Child<QPushButton>(dialog, "IDCANCEL")->click();
    });
    kind == PolicyKind::Insurance ? doc.OnTypeInsurance() : doc.OnTypePension();

    QCOMPARE(doc.GetLines()->GetCount(), linesBefore);
    QVERIFY(!doc.IsModified());
    QCOMPARE(doc.m_nMode, mode);
    QCOMPARE(doc.m_nAge, before.m_nAge);
    QCOMPARE(doc.m_nTerm, before.m_nTerm);
    QCOMPARE(doc.m_fAmount, before.m_fAmount);
    QCOMPARE(doc.m_dRate, before.m_dRate);
    QCOMPARE(doc.m_nTable, before.m_nTable);
    QCOMPARE(doc.m_nPolicyType, before.m_nPolicyType);
    QCOMPARE(doc.m_nInputKind, before.m_nInputKind);
    QCOMPARE(doc.m_bMortality, before.m_bMortality);
    QCOMPARE(doc.m_bNetIncome, before.m_bNetIncome);
    QCOMPARE(doc.m_dPremium, before.m_dPremium);
}

void TestPolicyDialogs::AcceptedRunAppendsTheReportOfTheValuesEntered_data() {
    QTest::addColumn<PolicyKind>("kind");
    QTest::addColumn<int>("policyRow");
    QTest::addColumn<int>("tableRow");
    QTest::addColumn<QString>("age");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("term");
    QTest::addColumn<bool>("premiumGiven");
    QTest::addColumn<bool>("sections");
    QTest::addColumn<QString>("summaryLine"); // the S5 line of the report

    // The worked examples: table 1, age 60, term 5, rate 5, amount 10000.
    QTest::newRow("term life, worked example")
        << PolicyKind::Insurance << 1 << 0 << "60"
        << "10000"
        << "5"
        << "5" << false << true
        << " Term life insurance         60               10000.00     207.04 ";
    QTest::newRow("term life, premium given")
        << PolicyKind::Insurance << 1 << 0 << "60"
        << "207.04"
        << "5"
        << "5" << true << false
        << " Term life insurance         60                9999.76     207.04 ";
    QTest::newRow("term annuity, worked example")
        << PolicyKind::Pension << 1 << 0 << "60"
        << "10000"
        << "5"
        << "5" << false << true
        << "        Term annuity         60               10000.00    2452.99 ";
    QTest::newRow("endowment, regional female") << PolicyKind::Insurance << 2 << 3 << "35"
                                                << "250000"
                                                << "3"
                                                << "20" << false << true << QString();
    QTest::newRow("life pension, payment given") << PolicyKind::Pension << 0 << 2 << "70"
                                                 << "1200"
                                                 << "4"
                                                 << "0" << true << true << QString();
    // Decimals and exponents, read with a point and printed with one also under a
    // decimal-comma locale (the tst_PolicyDialogs_de_DE run); the lines from tabulon-cli.
    const auto termLife = [](const char* amount, const char* line) {
        QTest::newRow(amount) << PolicyKind::Insurance << 1 << 0 << "60" << amount << "5"
                              << "5" << false << false << line;
    };
    termLife("973.01", " Term life insurance         60                 973.01      20.15 ");
    termLife("2.5e3", " Term life insurance         60                2500.00      51.76 ");
    termLife("0.1", " Term life insurance         60                   0.10       0.00 ");
}

void TestPolicyDialogs::AcceptedRunAppendsTheReportOfTheValuesEntered() {
    QFETCH(PolicyKind, kind);
    QFETCH(int, policyRow);
    QFETCH(int, tableRow);
    QFETCH(QString, age);
    QFETCH(QString, amount);
    QFETCH(QString, rate);
    QFETCH(QString, term);
    QFETCH(bool, premiumGiven);
    QFETCH(bool, sections);
    QFETCH(QString, summaryLine);

    CTabulonDoc doc;
    doc.OnNewDocument();
    AskThroughTheDialogs(doc);
    const std::size_t linesBefore = doc.GetLines()->GetCount();
    WhileModal([&](QDialog* dialog) {
        ClickListRow(Child<QListWidget>(dialog, "IDC_POLICY_LIST"), policyRow);
        ClickListRow(Child<QListWidget>(dialog, "IDC_TABLE_LIST"), tableRow);
        Child<QLineEdit>(dialog, "IDC_AGE")->setText(age);
        Child<QLineEdit>(dialog, "IDC_AMOUNT")->setText(amount);
        Child<QLineEdit>(dialog, "IDC_RATE")->setText(rate);
        Child<QLineEdit>(dialog, "IDC_TERM")->setText(term);
        if (premiumGiven)
            Child<QRadioButton>(dialog, "IDC_GIVE_PREMIUM")->click();
        if (sections) {
            Child<QCheckBox>(dialog, "IDC_SHOW_MORTALITY")->click();
            Child<QCheckBox>(dialog, "IDC_SHOW_NET_INCOME")->click();
        }
        Child<QPushButton>(dialog, "IDOK")->click();
    });
    kind == PolicyKind::Insurance ? doc.OnTypeInsurance() : doc.OnTypePension();
    QVERIFY2(g_messages.isEmpty(), qPrintable(g_messages.join('\n')));
    QVERIFY(doc.IsModified());

    // The same values handed straight to the calculation give the same lines.
    PolicyDialogData values;
    values.m_bNetIncome = values.m_bMortality = sections ? 1 : 0;
    values.m_nInputKind = premiumGiven ? 2 : 1;
    values.m_nAge = age.toInt();
    values.m_fAmount = amount.toFloat();
    values.m_nRate = rate.toInt();
    values.m_nTableIndex = tableRow;
    values.m_nPolicyIndex = policyRow;
    values.m_nTerm = term.toInt();
    CTabulonDoc reference;
    reference.OnNewDocument();
    reference.RunCalculation(kind, values);

    const CStringList& lines = *doc.GetLines();
    const CStringList& expected = *reference.GetLines();
    QCOMPARE(lines.GetCount(), expected.GetCount());
    QVERIFY(lines.GetCount() > linesBefore);
    bool summaryFound = summaryLine.isEmpty();
    for (std::size_t i = 0; i < lines.GetCount(); ++i) {
        QCOMPARE(QByteArray(lines.GetAt(i).data(), int(lines.GetAt(i).size())),
                 QByteArray(expected.GetAt(i).data(), int(expected.GetAt(i).size())));
        summaryFound =
            summaryFound ||
            QString::fromLatin1(lines.GetAt(i).data(), int(lines.GetAt(i).size())) == summaryLine;
    }
    QVERIFY2(summaryFound, qPrintable("no line reads \"" + summaryLine + "\""));
}

void TestPolicyDialogs::RefusedInputKeepsTheModalDialogOpenUntilCorrected() {
    CTabulonDoc doc;
    doc.OnNewDocument();
    AskThroughTheDialogs(doc);
    bool stayedOpen = false;
    WhileModal([&](QDialog* dialog) {
        auto* term = Child<QLineEdit>(dialog, "IDC_TERM");
        term->setText("0");
        Child<QPushButton>(dialog, "IDOK")->click();
        stayedOpen = dialog->isVisible() && dialog->focusWidget() == term;
        term->setText("12");
        Child<QPushButton>(dialog, "IDOK")->click();
    });
    doc.OnTypeInsurance();
    QVERIFY(stayedOpen);
    QCOMPARE(g_messages.size(), 1);
    QVERIFY2(g_messages.first().contains("Term of policy"), qPrintable(g_messages.first()));
    QCOMPARE(doc.m_nTerm, 12);
    QCOMPARE(doc.m_nPolicyType, 2);
}

void TestPolicyDialogs::SecondRunOfOneDialogOpensAfresh() {
    auto dialog = MakeDialog(PolicyKind::Insurance);
    WhileModal([](QDialog* shown) {
        ClickListRow(Child<QListWidget>(shown, "IDC_POLICY_LIST"), 0);
        ClickListRow(Child<QListWidget>(shown, "IDC_TABLE_LIST"), 2);
        Child<QCheckBox>(shown, "IDC_SHOW_NET_INCOME")->click();
        Child<QRadioButton>(shown, "IDC_GIVE_PREMIUM")->click();
        Child<QPushButton>(shown, "IDOK")->click();
    });
    QCOMPARE(dialog->DoModal(), int(IDOK));
    QCOMPARE(dialog->m_nPolicyIndex, 0);
    QCOMPARE(dialog->m_nTableIndex, 2);

    dialog->m_nInputKind = 1;
    dialog->m_bNetIncome = 0;
    bool fresh = false;
    WhileModal([&](QDialog* shown) {
        auto* policies = Child<QListWidget>(shown, "IDC_POLICY_LIST");
        fresh = policies->count() == 3 && policies->currentRow() == 1 &&
                Child<QListWidget>(shown, "IDC_TABLE_LIST")->currentRow() == 0 &&
                Child<QLineEdit>(shown, "IDC_TERM")->isEnabled() &&
                !Child<QCheckBox>(shown, "IDC_SHOW_NET_INCOME")->isChecked() &&
                Child<QRadioButton>(shown, "IDC_GIVE_AMOUNT")->isChecked() &&
                shown->focusWidget() == Child<QPushButton>(shown, "IDOK");
        Child<QPushButton>(shown, "IDCANCEL")->click();
    });
    QCOMPARE(dialog->DoModal(), int(IDCANCEL));
    QVERIFY(fresh);
}

// Set TABULON_SCREENSHOT_DIR to a folder to have both opened dialogs saved there as PNG files.
void TestPolicyDialogs::GrabForScreenshots() {
    const QString folder = qEnvironmentVariable("TABULON_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("TABULON_SCREENSHOT_DIR is not set");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(GrabPolicyDialog(PolicyKind::Insurance).save(folder + "/insurance-dialog.png"));
    QVERIFY(GrabPolicyDialog(PolicyKind::Pension).save(folder + "/pension-dialog.png"));
}

TABULON_GUI_TEST_MAIN(TestPolicyDialogs)
#include "tst_PolicyDialogs.moc"
