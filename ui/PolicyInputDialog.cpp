#include "PolicyInputDialog.h"

#include "CalculationRecord.h"
#include "InsuranceDialog.h"
#include "MortalityTables.h"
#include "PensionDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

#include <memory>

namespace {

// Field names used in the validation messages.
const char* const kAgeField = "Applicant's age";
const char* const kAmountField = "Amount";
const char* const kRateField = "Discount interest rate";
const char* const kTermField = "Term of policy";

// Templates are 421 x 218 dialog units.
constexpr int kDialogWidth = 421;
constexpr int kDialogHeight = 218;

QLabel* MakeLabel(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setWordWrap(true);
    return label;
}

// Edits that take digits only from the keyboard; anything pasted in is caught by the parse.
QLineEdit* MakeDigitsEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

QListWidget* MakeList(QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return list;
}

} // namespace

QStringList MortalityTableListEntries() {
    QStringList entries;
    for (int code = 1; code <= MortalityTableCount(); ++code)
        entries << QString::fromUtf8(MortalityTableOf(code).dialogName);
    return entries;
}

QStringList PolicyListEntries(PolicyKind kind) {
    QStringList entries;
    for (const PolicyInfo& policy : PoliciesOf(kind))
        entries << QString::fromUtf8(policy.dialogName);
    return entries;
}

CPolicyInputDialog::CPolicyInputDialog(const PolicyDialogTemplate& layout, QWidget* parent)
    : CDialog(parent), m_kind(layout.kind), m_policyNames(layout.policyNames) {
    setWindowTitle(layout.caption);
    setFixedSize(MapDialogRect(0, 0, kDialogWidth, kDialogHeight).size());
    CreateControls(layout);
}

template <class Control>
Control* CPolicyInputDialog::Place(Control* control, const char* name, int x, int y, int width,
                                   int height) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(MapDialogRect(x, y, width, height));
    return control;
}

// Controls are created in template order, which is also the tab order.
void CPolicyInputDialog::CreateControls(const PolicyDialogTemplate& layout) {
    auto* ok = Place(new QPushButton(tr("OK"), this), "IDOK", 155, 186, 50, 14);
    ok->setDefault(true);
    auto* cancel = Place(new QPushButton(tr("Cancel"), this), "IDCANCEL", 215, 186, 50, 14);
    auto* policyLabel =
        Place(MakeLabel("Select type of policy:", this), "IDC_POLICY_LABEL", 19, 21, 69, 11);
    m_policyList = Place(MakeList(this), "IDC_POLICY_LIST", 88, 14, 116, 20);
    auto* tableLabel =
        Place(MakeLabel("Select mortality table:", this), "IDC_TABLE_LABEL", 210, 21, 69, 11);
    m_tableList = Place(MakeList(this), "IDC_TABLE_LIST", 279, 15, 116, 20);
    auto* ageLabel =
        Place(MakeLabel("Enter applicant's age (years):", this), "IDC_AGE_LABEL", 19, 39, 93, 14);
    m_age = Place(MakeDigitsEdit(this), "IDC_AGE", 111, 39, 40, 14);
    auto* termLabel = Place(MakeLabel("Enter term of policy (if appropriate, in years):", this),
                            "IDC_TERM_LABEL", 159, 39, layout.termLabelWidth, 16);
    m_term = Place(MakeDigitsEdit(this), "IDC_TERM", 303, 39, 40, 14);
    auto* rateLabel = Place(MakeLabel("Enter discount interest rate (percent):", this),
                            "IDC_RATE_LABEL", 19, 58, 118, 14);
    m_rate = Place(MakeDigitsEdit(this), "IDC_RATE", 141, 58, 40, 14);
    Place(new QGroupBox(tr("Input either:"), this), "IDC_INPUT_GROUP", 17, 76, 231, 68);
    m_giveAmount = Place(new QRadioButton(layout.giveAmountText, this), "IDC_GIVE_AMOUNT", 29, 90,
                         layout.giveAmountWidth, 10);
    m_givePremium = Place(new QRadioButton(layout.givePremiumText, this), "IDC_GIVE_PREMIUM", 29,
                          105, layout.givePremiumWidth, 10);
    // Tab reaches the pair through the first button; the arrows move between them.
    m_givePremium->setFocusPolicy(Qt::ClickFocus);
    auto* amountLabel = Place(MakeLabel("... and enter amount (do not use commas):", this),
                              "IDC_AMOUNT_LABEL", 29, 122, 135, 8);
    m_amount = Place(new QLineEdit(this), "IDC_AMOUNT", 167, 122, 68, 13);
    m_showMortality =
        Place(new QCheckBox(tr("Check if you want the relevant portion of the mortality "
                               "table and probability distribution of age at death"),
                            this),
              "IDC_SHOW_MORTALITY", 18, 153, 333, 10);
    m_showNetIncome = Place(
        new QCheckBox(tr("Check if you want the probability distribution of company's net income"),
                      this),
        "IDC_SHOW_NET_INCOME", 18, 168, 233, 10);

    // The labels name their fields for assistive technology; none carries a mnemonic.
    policyLabel->setBuddy(m_policyList);
    tableLabel->setBuddy(m_tableList);
    ageLabel->setBuddy(m_age);
    termLabel->setBuddy(m_term);
    rateLabel->setBuddy(m_rate);
    amountLabel->setBuddy(m_amount);

    connect(ok, &QPushButton::clicked, this, &CDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CDialog::reject);
    connect(m_giveAmount, &QRadioButton::clicked, this, &CPolicyInputDialog::OnGiveAmount);
    connect(m_givePremium, &QRadioButton::clicked, this, &CPolicyInputDialog::OnGivePremium);
    connect(m_showMortality, &QCheckBox::clicked, this, &CPolicyInputDialog::OnShowMortality);
    connect(m_showNetIncome, &QCheckBox::clicked, this, &CPolicyInputDialog::OnShowNetIncome);
    connect(m_policyList, &QListWidget::currentRowChanged, this,
            &CPolicyInputDialog::OnSelchangePolicyList);
}

void CPolicyInputDialog::DoDataExchange(CDataExchange& dx) {
    dx.Integer(m_age, kAgeField, m_nAge, 0, PolicyLimits::kMaxAge);
    dx.Single(m_amount, kAmountField, m_fAmount, 0.0f, PolicyLimits::kMaxAmount);
    // "-0" reads as a negative zero, which would print as -0.00 in the report.
    if (dx.m_bSaveAndValidate && !dx.Failed() && m_fAmount == 0.0f)
        m_fAmount = 0.0f;
    dx.Integer(m_rate, kRateField, m_nRate, 0, PolicyLimits::kMaxRate);
    ExchangeListIndices(dx);
    if (dx.m_bSaveAndValidate && !dx.Failed()) {
        if (m_nTableIndex < 0)
            dx.Fail(m_tableList, tr("Please select a mortality table."));
        else if (m_nPolicyIndex < 0)
            dx.Fail(m_policyList, tr("Please select a type of policy."));
    }
    // Term types need at least one year; the term is checked even while its edit is disabled.
    dx.Integer(m_term, kTermField, m_nTerm, PolicyLimits::MinTerm(m_kind, m_nPolicyIndex),
               PolicyLimits::MaxTerm(m_kind));
}

bool CPolicyInputDialog::OnInitDialog() {
    // Controls start as drawn: empty lists, boxes unchecked, the term enabled.
    m_policyList->clear();
    m_tableList->clear();
    m_showMortality->setChecked(false);
    m_showNetIncome->setChecked(false);
    m_term->setEnabled(true);
    CDialog::OnInitDialog();
    {
        // Selections made here raise no notification: the term keeps its state.
        const QSignalBlocker quiet(m_policyList);
        m_policyList->addItems(m_policyNames);
        m_policyList->setCurrentRow(1);
    }
    m_tableList->addItems(MortalityTableListEntries());
    m_tableList->setCurrentRow(0);
    (m_nInputKind == 2 ? m_givePremium : m_giveAmount)->setChecked(true);
    return true;
}

QWidget* CPolicyInputDialog::FocusAfterFailure(QWidget* failedControl) {
    // A term refused while its edit is disabled is changed by choosing a type with a term.
    return failedControl->isEnabled() ? failedControl : m_policyList;
}

void CPolicyInputDialog::OnGiveAmount() {
    m_nInputKind = 1;
}

void CPolicyInputDialog::OnGivePremium() {
    m_nInputKind = 2;
}

void CPolicyInputDialog::OnShowMortality() {
    m_bMortality = m_showMortality->isChecked() ? 1 : 0;
}

void CPolicyInputDialog::OnShowNetIncome() {
    m_bNetIncome = m_showNetIncome->isChecked() ? 1 : 0;
}

void CPolicyInputDialog::OnSelchangePolicyList() {
    m_term->setEnabled(PolicyLimits::UsesTerm(m_kind, m_policyList->currentRow()));
}

QPixmap GrabPolicyDialog(PolicyKind kind) {
    const CCalculationRecord defaults;
    std::unique_ptr<CPolicyInputDialog> dialog;
    if (kind == PolicyKind::Insurance)
        dialog = std::make_unique<CInsuranceDialog>();
    else
        dialog = std::make_unique<CPensionDialog>();
    dialog->m_nInputKind = 1;
    dialog->m_nAge = defaults.m_nAge;
    dialog->m_fAmount = defaults.m_fAmount;
    dialog->m_nRate = static_cast<int>(defaults.m_dRate);
    dialog->m_nTerm = defaults.m_nTerm;
    dialog->show();
    QApplication::processEvents();
    QPixmap picture = dialog->grab();
    dialog->reject();
    return picture;
}
