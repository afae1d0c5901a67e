// SPDX-License-Identifier: GPL-3.0-or-later
#include "PolicyInputDialog.h"

#include "CalculationRecord.h"
#include "InsuranceDialog.h"
#include "MortalityTables.h"
#include "PensionDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

namespace {

QLabel* MakeLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

// Edits that take digits only from the keyboard; anything pasted in is caught by the parse.
QLineEdit* MakeDigitsEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

// A list whose frame takes the highlight colour while it has the keyboard focus; the frame
// keeps its width, so the entries do not move.
QListWidget* MakeList(QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setStyleSheet(QStringLiteral(
        "QListWidget { border: 1px solid palette(dark); padding: 1px; }"
        "QListWidget:focus { border: 2px solid palette(highlight); padding: 0px; }"));
    return list;
}

// Sizes a list so that it shows every one of entries whole, at least minimum wide; a scroll
// bar, when more entries come, takes its room beside them.
void FitListToEntries(QListWidget* list, const QStringList& entries, QSize minimum) {
    list->ensurePolished();
    list->addItems(entries);
    int height = 2 * list->frameWidth();
    for (int row = 0; row < list->count(); ++row)
        height += list->sizeHintForRow(row);
    const int width = list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                      list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    list->clear();
    list->setFixedSize(std::max(width, minimum.width()), std::max(height, minimum.height()));
}

// A list entry in the interface's language: the built-in policies and tables are
// translated, any other name shows as it stands.
QString ShownName(const char* name) {
    static const char* const builtIn[] = {
        QT_TRANSLATE_NOOP("PolicyInputDialog", "Whole Life"),
        QT_TRANSLATE_NOOP("PolicyInputDialog", "Term Life"),
        QT_TRANSLATE_NOOP("PolicyInputDialog", "Term Endowment"),
        QT_TRANSLATE_NOOP("PolicyInputDialog", "Life Pension"),
        QT_TRANSLATE_NOOP("PolicyInputDialog", "Term Annuity"),
        QT_TRANSLATE_NOOP("PolicyInputDialog", "National, Male"),
        QT_TRANSLATE_NOOP("PolicyInputDialog", "National, Female"),
        QT_TRANSLATE_NOOP("PolicyInputDialog", "Regional, Male"),
        QT_TRANSLATE_NOOP("PolicyInputDialog", "Regional, Female"),
    };
    for (const char* known : builtIn) {
        if (std::strcmp(name, known) == 0)
            return PolicyInputDialog::tr(known);
    }
    return QString::fromUtf8(name);
}

} // namespace

QStringList MortalityTableListEntries() {
    QStringList entries;
    for (int code = 1; code <= MortalityTableCount(); ++code)
        entries << ShownName(MortalityTableOf(code).dialogName.c_str());
    return entries;
}

QStringList PolicyListEntries(PolicyKind kind) {
    QStringList entries;
    for (const PolicyInfo& policy : PoliciesOf(kind))
        entries << ShownName(policy.dialogName);
    return entries;
}

PolicyInputDialog::PolicyInputDialog(const PolicyDialogTemplate& layout, QWidget* parent)
    : CDialog(parent), m_kind(layout.kind), m_policyNames(layout.policyNames) {
    setWindowTitle(layout.caption);
    CreateControls(layout);
}

template <class Control> Control* PolicyInputDialog::Named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QSize PolicyInputDialog::Units(int width, int height) const {
    return MapDialogRect(0, 0, width, height).size();
}

// Controls are created in template order, which is also the tab order. Layouts place them
// as the template does (the buttons centred at the bottom, two label and field pairs side by
// side, the input group below them, then the check boxes), with the template's sizes in
// dialog units as minimums: every control grows with the font and with its text, and the
// dialog with its controls.
void PolicyInputDialog::CreateControls(const PolicyDialogTemplate& layout) {
    auto* ok = Named(new QPushButton(tr("OK"), this), "IDOK");
    ok->setDefault(true);
    auto* cancel = Named(new QPushButton(tr("Cancel"), this), "IDCANCEL");
    auto* policyLabel = Named(MakeLabel(tr("Select type of policy:"), this), "IDC_POLICY_LABEL");
    m_policyList = Named(MakeList(this), "IDC_POLICY_LIST");
    auto* tableLabel = Named(MakeLabel(tr("Select mortality table:"), this), "IDC_TABLE_LABEL");
    m_tableList = Named(MakeList(this), "IDC_TABLE_LIST");
    auto* ageLabel = Named(MakeLabel(tr("Enter applicant's age (years):"), this), "IDC_AGE_LABEL");
    m_age = Named(MakeDigitsEdit(this), "IDC_AGE");
    auto* termLabel = Named(MakeLabel(tr("Enter term of policy (if appropriate, in years):"), this),
                            "IDC_TERM_LABEL");
    m_term = Named(MakeDigitsEdit(this), "IDC_TERM");
    auto* rateLabel =
        Named(MakeLabel(tr("Enter discount interest rate (percent):"), this), "IDC_RATE_LABEL");
    m_rate = Named(MakeDigitsEdit(this), "IDC_RATE");
    auto* group = Named(new QGroupBox(tr("Input either:"), this), "IDC_INPUT_GROUP");
    m_giveAmount = Named(new QRadioButton(layout.giveAmountText, group), "IDC_GIVE_AMOUNT");
    m_givePremium = Named(new QRadioButton(layout.givePremiumText, group), "IDC_GIVE_PREMIUM");
    // Tab reaches the pair through the first button; the arrows move between them.
    m_givePremium->setFocusPolicy(Qt::ClickFocus);
    auto* amountLabel = Named(MakeLabel(tr("... and enter amount (do not use commas):"), group),
                              "IDC_AMOUNT_LABEL");
    m_amount = Named(new QLineEdit(group), "IDC_AMOUNT");
    m_showMortality =
        Named(new QCheckBox(tr("Check if you want the relevant portion of the mortality "
                               "table and probability distribution of age at death"),
                            this),
              "IDC_SHOW_MORTALITY");
    m_showNetIncome = Named(
        new QCheckBox(tr("Check if you want the probability distribution of company's net income"),
                      this),
        "IDC_SHOW_NET_INCOME");

    FitListToEntries(m_policyList, m_policyNames, Units(116, 20));
    // The built-in tables show whole; imported tables after them may scroll.
    FitListToEntries(m_tableList, MortalityTableListEntries().mid(0, kTableCount), Units(116, 20));
    termLabel->setMinimumWidth(Units(layout.termLabelWidth, 0).width());
    m_giveAmount->setMinimumWidth(Units(layout.giveAmountWidth, 0).width());
    m_givePremium->setMinimumWidth(Units(layout.givePremiumWidth, 0).width());
    for (QLineEdit* edit : {m_age, m_term, m_rate})
        edit->setFixedWidth(Units(40, 0).width());
    m_amount->setFixedWidth(Units(68, 0).width());
    for (QPushButton* button : {ok, cancel})
        button->setMinimumSize(Units(50, 14));

    const int gap = Units(4, 0).width();
    const int pairGap = Units(8, 0).width();
    // One row of label and field pairs, left aligned.
    auto row = [&](std::initializer_list<std::pair<QWidget*, QWidget*>> pairs,
                   Qt::Alignment align) {
        auto* line = new QHBoxLayout;
        line->setSpacing(gap);
        for (const auto& [label, field] : pairs) {
            if (line->count() > 0)
                line->addSpacing(pairGap);
            line->addWidget(label, 0, align);
            line->addWidget(field, 0, align);
        }
        line->addStretch();
        return line;
    };

    auto* inputs = new QVBoxLayout(group);
    inputs->setContentsMargins(Units(12, 0).width(), Units(0, 6).height(), Units(12, 0).width(),
                               Units(0, 6).height());
    inputs->setSpacing(Units(0, 5).height());
    inputs->addWidget(m_giveAmount);
    inputs->addWidget(m_givePremium);
    inputs->addLayout(row({{amountLabel, m_amount}}, Qt::AlignVCenter));

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(Units(10, 0).width());
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* dialog = new QVBoxLayout(this);
    const QSize margin = Units(17, 14);
    dialog->setContentsMargins(margin.width(), margin.height(), margin.width(), margin.height());
    dialog->setSpacing(Units(0, 5).height());
    dialog->addLayout(row({{policyLabel, m_policyList}, {tableLabel, m_tableList}}, Qt::AlignTop));
    dialog->addLayout(row({{ageLabel, m_age}, {termLabel, m_term}}, Qt::AlignVCenter));
    dialog->addLayout(row({{rateLabel, m_rate}}, Qt::AlignVCenter));
    auto* groupRow = new QHBoxLayout;
    groupRow->addWidget(group);
    groupRow->addStretch();
    dialog->addLayout(groupRow);
    dialog->addSpacing(Units(0, 4).height());
    dialog->addWidget(m_showMortality);
    dialog->addWidget(m_showNetIncome);
    dialog->addSpacing(Units(0, 8).height());
    dialog->addLayout(buttons);
    // The dialog takes the size its controls need, and keeps it; sized now, before its
    // window exists, so that showing it changes nothing.
    dialog->setSizeConstraint(QLayout::SetFixedSize);
    dialog->activate();

    // The labels name their fields for assistive technology; none carries a mnemonic.
    policyLabel->setBuddy(m_policyList);
    tableLabel->setBuddy(m_tableList);
    ageLabel->setBuddy(m_age);
    termLabel->setBuddy(m_term);
    rateLabel->setBuddy(m_rate);
    amountLabel->setBuddy(m_amount);

    connect(ok, &QPushButton::clicked, this, &CDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CDialog::reject);
    connect(m_giveAmount, &QRadioButton::clicked, this, &PolicyInputDialog::OnGiveAmount);
    connect(m_givePremium, &QRadioButton::clicked, this, &PolicyInputDialog::OnGivePremium);
    connect(m_showMortality, &QCheckBox::clicked, this, &PolicyInputDialog::OnShowMortality);
    connect(m_showNetIncome, &QCheckBox::clicked, this, &PolicyInputDialog::OnShowNetIncome);
    connect(m_policyList, &QListWidget::currentRowChanged, this,
            &PolicyInputDialog::OnSelchangePolicyList);
}

void PolicyInputDialog::DoDataExchange(CDataExchange& dx) {
    // The age lies within the chosen table's ages (the built-in tables' before a choice); the
    // field names open the validation messages.
    const int table = m_tableList->currentRow();
    const bool chosen = table >= 0 && table < MortalityTableCount();
    dx.Integer(m_age, tr("Applicant's age"), m_nAge,
               chosen ? MortalityTableOf(table + 1).firstAge : 0,
               chosen ? MortalityTableOf(table + 1).lastAge : policy_limits::kMaxAge);
    dx.Single(m_amount, tr("Amount"), m_fAmount, 0.0f, policy_limits::kMaxAmount);
    dx.Integer(m_rate, tr("Discount interest rate"), m_nRate, 0, policy_limits::kMaxRate);
    ExchangeListIndices(dx);
    if (dx.m_bSaveAndValidate && !dx.Failed()) {
        if (m_nTableIndex < 0)
            dx.Fail(m_tableList, tr("Please select a mortality table."));
        else if (m_nPolicyIndex < 0)
            dx.Fail(m_policyList, tr("Please select a type of policy."));
    }
    // Term types need at least one year. The types without a term disable its edit, so the
    // term is then not checked: the record keeps a term the report never uses, and no
    // calculation reads past the ages it computed, whatever the term.
    dx.Integer(m_term, tr("Term of policy"), m_nTerm,
               policy_limits::MinTerm(m_kind, m_nPolicyIndex), policy_limits::MaxTerm(m_kind));
}

bool PolicyInputDialog::OnInitDialog() {
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
    // An imported table's name may be wider than the list: its tooltip shows it whole, with
    // the ages the table offers.
    for (int row = kTableCount; row < m_tableList->count(); ++row) {
        const MortalityTable& table = MortalityTableOf(row + 1);
        m_tableList->item(row)->setToolTip(tr("%1\nAges %2 to %3")
                                               .arg(m_tableList->item(row)->text())
                                               .arg(table.firstAge)
                                               .arg(table.lastAge));
    }
    m_tableList->setCurrentRow(0);
    (m_nInputKind == 2 ? m_givePremium : m_giveAmount)->setChecked(true);
    return true;
}

void PolicyInputDialog::OnGiveAmount() {
    m_nInputKind = 1;
}

void PolicyInputDialog::OnGivePremium() {
    m_nInputKind = 2;
}

void PolicyInputDialog::OnShowMortality() {
    m_bMortality = m_showMortality->isChecked() ? 1 : 0;
}

void PolicyInputDialog::OnShowNetIncome() {
    m_bNetIncome = m_showNetIncome->isChecked() ? 1 : 0;
}

void PolicyInputDialog::OnSelchangePolicyList() {
    m_term->setEnabled(policy_limits::UsesTerm(m_kind, m_policyList->currentRow()));
}

namespace {
std::unique_ptr<PolicyInputDialog> MakePolicyDialog(QWidget* parent, PolicyKind kind,
                                                    const PolicyDialogData& opening) {
    std::unique_ptr<PolicyInputDialog> dialog;
    if (kind == PolicyKind::Insurance)
        dialog = std::make_unique<CInsuranceDialog>(parent);
    else
        dialog = std::make_unique<CPensionDialog>(parent);
    static_cast<PolicyDialogData&>(*dialog) = opening;
    return dialog;
}
} // namespace

std::optional<PolicyDialogData> PromptPolicyValues(QWidget* parent, PolicyKind kind,
                                                   const PolicyDialogData& opening) {
    const std::unique_ptr<PolicyInputDialog> dialog = MakePolicyDialog(parent, kind, opening);
    if (dialog->DoModal() != IDOK)
        return std::nullopt;
    return static_cast<const PolicyDialogData&>(*dialog);
}

QPixmap GrabPolicyDialog(PolicyKind kind) {
    const std::unique_ptr<PolicyInputDialog> dialog =
        MakePolicyDialog(nullptr, kind, OpeningValues(CCalculationRecord()));
    dialog->show();
    QApplication::processEvents();
    QPixmap picture = dialog->grab();
    dialog->reject();
    return picture;
}
