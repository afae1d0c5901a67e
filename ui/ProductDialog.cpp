// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProductDialog.h"

#include "DecimalText.h"
#include "ImportedTables.h"
#include "MortalityTables.h"
#include "PolicyInputDialog.h"
#include "ProductCheck.h"
#include "SelectLife.h"
#include "TableFile.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>

namespace {

enum LegColumn { kKind, kAmount, kTerm, kDeferral, kTiming, kFrequency, kLegColumns };

// Terms and deferrals end by the last age a table may hold + 1.
constexpr int kMaxYears = kTableLastAllowedAge + 1;
constexpr int kFrequencies[] = {1, 2, 4, 12};

// The shortest digits that read back as the same double, without the process locale.
QString DecimalText(double value) {
    char text[40];
    // Plain digits ("500000", not "5e+05") for the amounts people type; an exponent only for
    // the very large and the very small.
    const double magnitude = std::abs(value);
    const auto result =
        value == 0.0 ? std::to_chars(text, text + sizeof text, 0.0)
        : magnitude >= 1e-6 && magnitude < 1e15
            ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed)
            : std::to_chars(text, text + sizeof text, value);
    return QString::fromLatin1(text, static_cast<int>(result.ptr - text));
}

QLineEdit* MakeDigitsEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

template <class Control> Control* Named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QComboBox* MakeFrequencyBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->addItem(ProductDialog::tr("Yearly"), 1);
    box->addItem(ProductDialog::tr("Half-yearly"), 2);
    box->addItem(ProductDialog::tr("Quarterly"), 4);
    box->addItem(ProductDialog::tr("Monthly"), 12);
    return box;
}

void SelectData(QComboBox* box, int data) {
    const int index = box->findData(data);
    box->setCurrentIndex(index >= 0 ? index : 0);
}

int SelectedData(const QComboBox* box) {
    return box->currentData().toInt();
}

// Premiums: a single premium, level for some years, or level for life.
enum PremiumTermKind { kSingle, kForYears, kForLife };

// The tables that ship with Tabulon, compiled into the program: their files and what the
// table list says they are.
struct ShippedFile {
    const char* resource;
    const char* fileName;
    const char* title;
};
constexpr ShippedFile kShippedFiles[] = {
    {":/tables/SULT.csv", "SULT.csv", "Standard Ultimate Life Table"},
    {":/tables/SSSM.csv", "SSSM.csv", "Standard Select Survival Model"},
};

std::vector<MortalityTableData> ReadShippedTables() {
    std::vector<MortalityTableData> tables;
    for (const ShippedFile& shipped : kShippedFiles) {
        QFile file(QString::fromLatin1(shipped.resource));
        if (!file.open(QIODevice::ReadOnly))
            break; // the later codes would move
        const QByteArray bytes = file.readAll();
        tables.push_back(ParseMortalityTable(std::string_view(bytes.constData(), bytes.size()),
                                             shipped.fileName));
    }
    return tables;
}

} // namespace

// The shipped tables' files are compiled into a static library, whose resources must be
// registered by hand (outside any namespace).
static void EnsureShippedTables() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(shipped_tables);
        SetShippedTables(&ReadShippedTables);
        return true;
    }();
    (void)registered;
}

ProductDialog::ProductDialog(const ProductDialogValues& opening, QWidget* parent)
    : CDialog(parent), m_values(opening) {
    EnsureShippedTables();
    setWindowTitle(tr("Product"));
    CreateControls();
}

void ProductDialog::CreateControls() {
    const auto units = [this](int width, int height) {
        return MapDialogRect(0, 0, width, height).size();
    };
    auto* tableLabel = new QLabel(tr("Mortality table:"), this);
    m_table = Named(new QComboBox(this), "IDC_TABLE");
    auto* ageLabel = new QLabel(tr("Age at issue (years):"), this);
    m_age = Named(MakeDigitsEdit(this), "IDC_AGE");
    auto* rateLabel = new QLabel(tr("Interest rate (percent):"), this);
    m_rate = Named(new QLineEdit(this), "IDC_RATE");
    auto* fractionalLabel = new QLabel(tr("Fractional ages:"), this);
    m_fractional = Named(new QComboBox(this), "IDC_FRACTIONAL");
    m_fractional->addItem(tr("udd (uniform distribution of deaths)"),
                          static_cast<int>(FractionalAge::Udd));
    m_fractional->addItem(tr("woolhouse2 (Woolhouse, two terms)"),
                          static_cast<int>(FractionalAge::Woolhouse2));
    m_fractional->addItem(tr("woolhouse3 (Woolhouse, three terms)"),
                          static_cast<int>(FractionalAge::Woolhouse3));

    m_select = Named(new QCheckBox(tr("&Select (newly underwritten life)"), this), "IDC_SELECT");
    m_select->setToolTip(tr("Price on the table's select rates, the life selected at the age at "
                            "issue; only for a table with select rates"));

    m_secondLife = Named(new QGroupBox(tr("Second li&fe"), this), "IDC_SECOND_LIFE");
    m_secondLife->setCheckable(true);
    auto* secondTableLabel = new QLabel(tr("Mortality table:"), m_secondLife);
    m_secondTable = Named(new QComboBox(m_secondLife), "IDC_SECOND_TABLE");
    auto* secondAgeLabel = new QLabel(tr("Age at issue (years):"), m_secondLife);
    m_secondAge = Named(MakeDigitsEdit(m_secondLife), "IDC_SECOND_AGE");
    auto* livesLabel = new QLabel(tr("Benefits paid:"), m_secondLife);
    m_lives = Named(new QComboBox(m_secondLife), "IDC_LIVES");
    m_lives->addItem(tr("Joint (first death)"), static_cast<int>(LifeStatus::Joint));
    m_lives->addItem(tr("Last survivor (second death)"),
                     static_cast<int>(LifeStatus::LastSurvivor));
    m_lives->addItem(tr("Reversionary (to the second life)"),
                     static_cast<int>(LifeStatus::Reversionary));
    m_lives->setToolTip(tr("Joint: while both are alive, or on the first death. Last survivor: "
                           "while either is alive, or on the second death. Reversionary: "
                           "annuities to the second life after the first life's death."));
    auto* premiumStatusLabel = new QLabel(tr("Premiums paid:"), m_secondLife);
    m_premiumStatus = Named(new QComboBox(m_secondLife), "IDC_PREMIUM_STATUS");
    m_premiumStatus->addItem(tr("While both are alive (joint)"), 0);
    m_premiumStatus->addItem(tr("While either is alive (last survivor)"), 1);

    auto* expensesGroup = Named(new QGroupBox(tr("Expenses"), this), "IDC_EXPENSES_GROUP");
    const auto expenseEdit = [expensesGroup](const char* name) {
        return Named(new QLineEdit(QStringLiteral("0"), expensesGroup), name);
    };
    m_expenseInitial = expenseEdit("IDC_EXPENSE_INITIAL");
    m_expenseInitialPercent = expenseEdit("IDC_EXPENSE_INITIAL_PERCENT");
    m_expenseRenewal = expenseEdit("IDC_EXPENSE_RENEWAL");
    m_expenseRenewalPercent = expenseEdit("IDC_EXPENSE_RENEWAL_PERCENT");
    m_expenseClaim = expenseEdit("IDC_EXPENSE_CLAIM");
    auto* initialLabel = new QLabel(tr("Initial, at issue:"), expensesGroup);
    auto* initialPercentLabel = new QLabel(tr("% of the first year's premiums:"), expensesGroup);
    auto* renewalLabel = new QLabel(tr("Renewal, each later year:"), expensesGroup);
    auto* renewalPercentLabel = new QLabel(tr("% of later premiums:"), expensesGroup);
    auto* claimLabel = new QLabel(tr("With each claim:"), expensesGroup);

    auto* legsGroup = Named(new QGroupBox(tr("Benefits"), this), "IDC_LEGS_GROUP");
    m_legs = Named(new QTableWidget(0, kLegColumns, legsGroup), "IDC_LEGS");
    m_legs->setHorizontalHeaderLabels(
        {tr("Kind"), tr("Amount"), tr("Term"), tr("Deferral"), tr("Timing"), tr("Payments")});
    m_legs->verticalHeader()->setVisible(false);
    m_legs->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_legs->setSelectionMode(QAbstractItemView::SingleSelection);
    m_legs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_legs->setTabKeyNavigation(false);
    m_legs->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_addLeg = Named(new QPushButton(tr("&Add"), legsGroup), "IDC_ADD_LEG");
    m_removeLeg = Named(new QPushButton(tr("&Remove"), legsGroup), "IDC_REMOVE_LEG");
    auto* legsHint = new QLabel(
        tr("Term and deferral in years from the leg's start and from issue; an annuity's "
           "term 0 pays for life. An annuity's amount is a year's, paid in equal parts."),
        legsGroup);
    legsHint->setWordWrap(true);

    auto* premiumGroup = Named(new QGroupBox(tr("Premiums"), this), "IDC_PREMIUM_GROUP");
    m_premiumTermKind = Named(new QComboBox(premiumGroup), "IDC_PREMIUM_TERM_KIND");
    m_premiumTermKind->addItem(tr("Single premium at issue"), kSingle);
    m_premiumTermKind->addItem(tr("Level premiums for (years):"), kForYears);
    m_premiumTermKind->addItem(tr("Level premiums for life"), kForLife);
    m_premiumTerm = Named(MakeDigitsEdit(premiumGroup), "IDC_PREMIUM_TERM");
    auto* frequencyLabel = new QLabel(tr("paid:"), premiumGroup);
    m_premiumFrequency = Named(MakeFrequencyBox(premiumGroup), "IDC_PREMIUM_FREQUENCY");
    m_solvePremium =
        Named(new QRadioButton(tr("Solve for the premium"), premiumGroup), "IDC_SOLVE_PREMIUM");
    m_givePremium =
        Named(new QRadioButton(tr("Annual premium given (for policy values):"), premiumGroup),
              "IDC_GIVE_PREMIUM");
    m_premium = Named(new QLineEdit(premiumGroup), "IDC_PREMIUM");
    m_policyValues =
        Named(new QCheckBox(tr("Check if you want the policy value at every duration"), this),
              "IDC_POLICY_VALUES");
    m_distribution =
        Named(new QCheckBox(tr("Check if you want the distribution of the present values (second "
                               "moment and standard deviations)"),
                            this),
              "IDC_DISTRIBUTION");
    auto* ok = Named(new QPushButton(tr("OK"), this), "IDOK");
    ok->setDefault(true);
    auto* cancel = Named(new QPushButton(tr("Cancel"), this), "IDCANCEL");

    for (QLineEdit* edit : {m_age, m_rate, m_premiumTerm, m_secondAge, m_expenseInitialPercent,
                            m_expenseRenewalPercent})
        edit->setFixedWidth(units(40, 0).width());
    for (QLineEdit* edit : {m_expenseInitial, m_expenseRenewal, m_expenseClaim})
        edit->setFixedWidth(units(56, 0).width());
    m_premium->setFixedWidth(units(68, 0).width());
    for (QPushButton* button : {ok, cancel, m_addLeg, m_removeLeg})
        button->setMinimumSize(units(50, 14));

    const int gap = units(4, 0).width();
    auto* basis = new QGridLayout;
    basis->setHorizontalSpacing(gap);
    basis->setVerticalSpacing(units(0, 5).height());
    basis->addWidget(tableLabel, 0, 0);
    basis->addWidget(m_table, 0, 1);
    basis->addWidget(ageLabel, 0, 3);
    basis->addWidget(m_age, 0, 4, Qt::AlignLeft);
    basis->addWidget(rateLabel, 1, 0);
    basis->addWidget(m_rate, 1, 1, Qt::AlignLeft);
    basis->addWidget(fractionalLabel, 1, 3);
    basis->addWidget(m_fractional, 1, 4);
    basis->addWidget(m_select, 2, 0, 1, 3);
    basis->setColumnMinimumWidth(2, units(8, 0).width());
    basis->setColumnStretch(5, 1);

    // The legs' table shows four legs whole; more scroll.
    AddLegRow(BenefitLeg());
    // Lists as wide as their longest entry; numbers in fields wide enough for amounts of
    // millions and for terms; each column at least as wide as its heading.
    int tableWidth = 2 * m_legs->frameWidth();
    for (int column = 0; column < kLegColumns; ++column) {
        int width = m_legs->horizontalHeader()->sectionSizeHint(column);
        if (auto* box = qobject_cast<QComboBox*>(m_legs->cellWidget(0, column)))
            width = std::max(width, box->sizeHint().width());
        else
            width = std::max(width, units(column == kAmount ? 56 : 28, 0).width());
        m_legs->setColumnWidth(column, width);
        tableWidth += width;
    }
    const int rowHeight = m_legs->rowHeight(0);
    m_legs->setRowCount(0);
    m_legs->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_legs->setFixedSize(tableWidth + m_legs->style()->pixelMetric(QStyle::PM_ScrollBarExtent),
                         2 * m_legs->frameWidth() +
                             m_legs->horizontalHeader()->sizeHint().height() + 4 * rowHeight);
    legsHint->setMaximumWidth(m_legs->width());
    auto* legButtons = new QVBoxLayout;
    legButtons->addWidget(m_addLeg);
    legButtons->addWidget(m_removeLeg);
    legButtons->addStretch();
    auto* legsRow = new QHBoxLayout;
    legsRow->addWidget(m_legs);
    legsRow->addLayout(legButtons);
    auto* legsColumn = new QVBoxLayout(legsGroup);
    legsColumn->addLayout(legsRow);
    legsColumn->addWidget(legsHint);

    auto* premiumTermRow = new QHBoxLayout;
    premiumTermRow->setSpacing(gap);
    premiumTermRow->addWidget(m_premiumTermKind);
    premiumTermRow->addWidget(m_premiumTerm);
    premiumTermRow->addSpacing(units(8, 0).width());
    premiumTermRow->addWidget(frequencyLabel);
    premiumTermRow->addWidget(m_premiumFrequency);
    premiumTermRow->addStretch();
    auto* givenRow = new QHBoxLayout;
    givenRow->setSpacing(gap);
    givenRow->addWidget(m_givePremium);
    givenRow->addWidget(m_premium);
    givenRow->addStretch();
    auto* premiums = new QVBoxLayout(premiumGroup);
    premiums->addLayout(premiumTermRow);
    premiums->addWidget(m_solvePremium);
    premiums->addLayout(givenRow);

    auto* second = new QGridLayout(m_secondLife);
    second->setHorizontalSpacing(gap);
    second->addWidget(secondTableLabel, 0, 0);
    second->addWidget(m_secondTable, 0, 1, Qt::AlignLeft);
    second->addWidget(secondAgeLabel, 1, 0);
    second->addWidget(m_secondAge, 1, 1, Qt::AlignLeft);
    second->addWidget(livesLabel, 2, 0);
    second->addWidget(m_lives, 2, 1, Qt::AlignLeft);
    second->addWidget(premiumStatusLabel, 3, 0);
    second->addWidget(m_premiumStatus, 3, 1, Qt::AlignLeft);
    second->setColumnStretch(2, 1);
    second->setRowStretch(4, 1);
    auto* expenses = new QGridLayout(expensesGroup);
    expenses->setHorizontalSpacing(gap);
    expenses->addWidget(initialLabel, 0, 0);
    expenses->addWidget(m_expenseInitial, 0, 1, Qt::AlignLeft);
    expenses->addWidget(initialPercentLabel, 1, 0);
    expenses->addWidget(m_expenseInitialPercent, 1, 1, Qt::AlignLeft);
    expenses->addWidget(renewalLabel, 2, 0);
    expenses->addWidget(m_expenseRenewal, 2, 1, Qt::AlignLeft);
    expenses->addWidget(renewalPercentLabel, 3, 0);
    expenses->addWidget(m_expenseRenewalPercent, 3, 1, Qt::AlignLeft);
    expenses->addWidget(claimLabel, 4, 0);
    expenses->addWidget(m_expenseClaim, 4, 1, Qt::AlignLeft);
    expenses->setColumnStretch(2, 1);
    auto* livesAndCosts = new QHBoxLayout;
    livesAndCosts->addWidget(m_secondLife, 3);
    livesAndCosts->addWidget(expensesGroup, 2);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(units(10, 0).width());
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* dialog = new QVBoxLayout(this);
    const QSize margin = units(17, 14);
    dialog->setContentsMargins(margin.width(), margin.height(), margin.width(), margin.height());
    dialog->setSpacing(units(0, 5).height());
    dialog->addLayout(basis);
    dialog->addWidget(legsGroup);
    dialog->addWidget(premiumGroup);
    dialog->addLayout(livesAndCosts);
    dialog->addWidget(m_policyValues);
    dialog->addWidget(m_distribution);
    dialog->addSpacing(units(0, 8).height());
    dialog->addLayout(buttons);
    dialog->setSizeConstraint(QLayout::SetFixedSize);

    tableLabel->setBuddy(m_table);
    ageLabel->setBuddy(m_age);
    rateLabel->setBuddy(m_rate);
    fractionalLabel->setBuddy(m_fractional);
    frequencyLabel->setBuddy(m_premiumFrequency);
    secondTableLabel->setBuddy(m_secondTable);
    secondAgeLabel->setBuddy(m_secondAge);
    livesLabel->setBuddy(m_lives);
    premiumStatusLabel->setBuddy(m_premiumStatus);
    initialLabel->setBuddy(m_expenseInitial);
    initialPercentLabel->setBuddy(m_expenseInitialPercent);
    renewalLabel->setBuddy(m_expenseRenewal);
    renewalPercentLabel->setBuddy(m_expenseRenewalPercent);
    claimLabel->setBuddy(m_expenseClaim);

    connect(ok, &QPushButton::clicked, this, &CDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &CDialog::reject);
    connect(m_addLeg, &QPushButton::clicked, this, &ProductDialog::OnAddLeg);
    connect(m_removeLeg, &QPushButton::clicked, this, &ProductDialog::OnRemoveLeg);
    connect(m_premiumTermKind, &QComboBox::currentIndexChanged, this,
            &ProductDialog::UpdatePremiumControls);
    connect(m_solvePremium, &QRadioButton::toggled, this, &ProductDialog::UpdatePremiumControls);
    connect(m_table, &QComboBox::currentIndexChanged, this, &ProductDialog::UpdateSelect);
}

void ProductDialog::FillTableList(QComboBox* box, int code) {
    // The desktop's tables by their codes 1.., then the shipped ones by -1, -2, ...
    const QStringList entries = MortalityTableListEntries();
    box->clear();
    for (int listed = 1; listed <= entries.size(); ++listed)
        box->addItem(listed > kTableCount ? imported_tables::ListedName(entries[listed - 1], listed)
                                          : entries[listed - 1],
                     listed);
    for (int shipped = -1; ShippedTable(shipped) != nullptr; --shipped) {
        const QString name = QString::fromStdString(ShippedTable(shipped)->name);
        box->addItem(imported_tables::ListedName(
                         QStringLiteral("%1, %2").arg(
                             name, QString::fromLatin1(kShippedFiles[-1 - shipped].title)),
                         shipped),
                     shipped);
    }
    const int index = box->findData(code);
    box->setCurrentIndex(index >= 0 ? index : 0);
    // A long name does not widen the dialog: the list opens as wide as its longest entry.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(22);
    for (int i = 0; i < box->count(); ++i)
        box->setItemData(i, box->itemText(i), Qt::ToolTipRole);
    box->view()->setMinimumWidth(box->view()->sizeHintForColumn(0) +
                                 box->view()->verticalScrollBar()->sizeHint().width());
}

void ProductDialog::UpdateSelect() {
    // Only a table with select rates has select lives; the check mark stays for the next.
    m_select->setEnabled(SelectPeriodOf(m_table->currentData().toInt()) > 0);
}

QWidget* ProductDialog::LegControl(int row, int column) const {
    return m_legs->cellWidget(row, column);
}

int ProductDialog::LegCount() const {
    return m_legs->rowCount();
}

void ProductDialog::AddLegRow(const BenefitLeg& leg) {
    const int row = m_legs->rowCount();
    m_legs->insertRow(row);
    auto* kind = Named(new QComboBox(m_legs), "IDC_LEG_KIND");
    kind->addItem(tr("Whole life"), static_cast<int>(LegKind::WholeLife));
    kind->addItem(tr("Term", "kind of benefit"), static_cast<int>(LegKind::Term));
    kind->addItem(tr("Endowment"), static_cast<int>(LegKind::Endowment));
    kind->addItem(tr("Pure endowment"), static_cast<int>(LegKind::PureEndowment));
    kind->addItem(tr("Annuity"), static_cast<int>(LegKind::Annuity));
    SelectData(kind, static_cast<int>(leg.kind));
    auto* amount = Named(new QLineEdit(DecimalText(leg.amount), m_legs), "IDC_LEG_AMOUNT");
    auto* term = Named(MakeDigitsEdit(m_legs), "IDC_LEG_TERM");
    term->setText(QString::number(leg.term));
    auto* deferral = Named(MakeDigitsEdit(m_legs), "IDC_LEG_DEFERRAL");
    deferral->setText(QString::number(leg.deferral));
    auto* timing = Named(new QComboBox(m_legs), "IDC_LEG_TIMING");
    timing->addItem(tr("In advance"), static_cast<int>(Timing::Advance));
    timing->addItem(tr("In arrears"), static_cast<int>(Timing::Arrears));
    SelectData(timing, static_cast<int>(leg.timing));
    auto* frequency = Named(MakeFrequencyBox(m_legs), "IDC_LEG_FREQUENCY");
    SelectData(frequency, leg.frequency);
    for (QLineEdit* edit : {amount, term, deferral})
        edit->setFrame(false);
    m_legs->setCellWidget(row, kKind, kind);
    m_legs->setCellWidget(row, kAmount, amount);
    m_legs->setCellWidget(row, kTerm, term);
    m_legs->setCellWidget(row, kDeferral, deferral);
    m_legs->setCellWidget(row, kTiming, timing);
    m_legs->setCellWidget(row, kFrequency, frequency);
    // The row follows its controls (the table makes the one with the focus current); its
    // kind enables the fields that apply.
    connect(kind, &QComboBox::currentIndexChanged, this, [this, kind] {
        for (int r = 0; r < m_legs->rowCount(); ++r)
            if (LegControl(r, kKind) == kind)
                UpdateLegRow(r);
    });
    UpdateLegRow(row);
    if (m_removeLeg)
        m_removeLeg->setEnabled(m_legs->rowCount() > 1);
}

void ProductDialog::UpdateLegRow(int row) {
    const auto kind =
        static_cast<LegKind>(SelectedData(static_cast<QComboBox*>(LegControl(row, kKind))));
    LegControl(row, kTerm)->setEnabled(kind != LegKind::WholeLife);
    LegControl(row, kTiming)->setEnabled(kind == LegKind::Annuity);
    LegControl(row, kFrequency)->setEnabled(kind != LegKind::PureEndowment);
}

void ProductDialog::UpdatePremiumControls() {
    m_premiumTerm->setEnabled(SelectedData(m_premiumTermKind) == kForYears);
    m_premiumFrequency->setEnabled(SelectedData(m_premiumTermKind) != kSingle);
    m_premium->setEnabled(m_givePremium->isChecked());
}

void ProductDialog::OnAddLeg() {
    BenefitLeg leg;
    if (m_legs->rowCount() > 0) {
        double amount = 0.0;
        if (ParseDecimal(static_cast<QLineEdit*>(LegControl(m_legs->rowCount() - 1, kAmount))
                             ->text()
                             .toStdString(),
                         amount))
            leg.amount = amount;
    }
    AddLegRow(leg);
    const int row = m_legs->rowCount() - 1;
    m_legs->scrollToBottom();
    m_legs->selectRow(row);
    LegControl(row, kKind)->setFocus(Qt::OtherFocusReason);
}

void ProductDialog::OnRemoveLeg() {
    if (m_legs->rowCount() <= 1)
        return;
    const int row = m_legs->currentRow() >= 0 ? m_legs->currentRow() : m_legs->rowCount() - 1;
    m_legs->removeRow(row);
    m_removeLeg->setEnabled(m_legs->rowCount() > 1);
    m_legs->selectRow(std::min(row, m_legs->rowCount() - 1));
}

void ProductDialog::DoDataExchange(CDataExchange& dx) {
    if (dx.m_bSaveAndValidate)
        ReadValues(dx);
    else
        LoadValues();
}

void ProductDialog::LoadValues() {
    FillTableList(m_table, m_values.tableCode);
    m_select->setChecked(m_values.select);
    UpdateSelect();
    m_age->setText(QString::number(m_values.age));
    m_rate->setText(DecimalText(m_values.basis.ratePercent));
    SelectData(m_fractional, static_cast<int>(m_values.basis.fractional));
    m_legs->setRowCount(0);
    for (const BenefitLeg& leg : m_values.product.benefits)
        AddLegRow(leg);
    if (m_legs->rowCount() == 0)
        AddLegRow(BenefitLeg());
    m_legs->selectRow(0);
    const PremiumLeg& premium = m_values.product.premium;
    SelectData(m_premiumTermKind, premium.forLife    ? kForLife
                                  : premium.term > 0 ? kForYears
                                                     : kSingle);
    m_premiumTerm->setText(QString::number(premium.term > 0 ? premium.term : 1));
    SelectData(m_premiumFrequency, premium.frequency);
    (premium.given ? m_givePremium : m_solvePremium)->setChecked(true);
    m_premium->setText(DecimalText(premium.given.value_or(0.0)));
    m_policyValues->setChecked(m_values.policyValues);
    m_distribution->setChecked(m_values.distribution);
    UpdatePremiumControls();
    m_secondLife->setChecked(m_values.twoLives);
    FillTableList(m_secondTable, m_values.secondTableCode);
    m_secondAge->setText(QString::number(m_values.secondAge));
    SelectData(m_lives, static_cast<int>(m_values.status));
    SelectData(m_premiumStatus, m_values.premiumsLastSurvivor ? 1 : 0);
    const Expenses& expenses = m_values.expenses;
    m_expenseInitial->setText(DecimalText(expenses.initial));
    m_expenseInitialPercent->setText(DecimalText(expenses.initialPremiumPercent));
    m_expenseRenewal->setText(DecimalText(expenses.renewal));
    m_expenseRenewalPercent->setText(DecimalText(expenses.renewalPremiumPercent));
    m_expenseClaim->setText(DecimalText(expenses.claim));
}

namespace {

// A decimal number of 0 or more from the edit; with places >= 0 at most that many decimals.
bool ReadDecimal(CDataExchange& dx, QLineEdit* edit, const QString& field, double max, int places,
                 double& value) {
    if (dx.Failed())
        return false;
    const std::string text = edit->text().toStdString();
    double parsed = 0.0;
    if (ParseDecimal(text, parsed) && parsed >= 0.0 && parsed <= max &&
        (places < 0 || DecimalPlaces(edit->text().trimmed().toStdString()) <= places)) {
        value = parsed;
        return true;
    }
    QString accepted;
    if (places >= 0)
        accepted = ProductDialog::tr("a number from 0 to %1 with at most %2 decimals")
                       .arg(DecimalText(max))
                       .arg(places);
    else
        accepted = ProductDialog::tr("a number of 0 or more (digits, an optional decimal point, "
                                     "no commas)");
    dx.Fail(edit, ProductDialog::tr("%1: please enter %2.").arg(field, accepted));
    return false;
}

} // namespace

void ProductDialog::ReadValues(CDataExchange& dx) {
    ProductDialogValues values = m_values;
    values.tableCode = m_table->currentData().toInt();
    if (!ProductTableExists(values.tableCode)) {
        dx.Fail(m_table, tr("Please select a mortality table."));
        return;
    }
    values.select = m_select->isEnabled() && m_select->isChecked();
    // A select life's age lies within the select table's issue ages.
    TableRegistry tables;
    Life first;
    std::optional<SecondLife> ignored;
    ProductDialogValues firstOnly = values;
    firstOnly.twoLives = false;
    ProductTables(firstOnly, tables, first, ignored);
    const IssueAges ages = IssueAgesOf(*tables.Find(first.tableId), values.select);
    dx.Integer(m_age, tr("Age at issue"), values.age, ages.first, ages.last);
    ReadDecimal(dx, m_rate, tr("Interest rate"), 100.0, kMaxRateDecimals, values.basis.ratePercent);
    values.basis.fractional = static_cast<FractionalAge>(SelectedData(m_fractional));
    values.product.benefits.clear();
    for (int row = 0; row < m_legs->rowCount() && !dx.Failed(); ++row) {
        BenefitLeg leg;
        leg.kind =
            static_cast<LegKind>(SelectedData(static_cast<QComboBox*>(LegControl(row, kKind))));
        const QString number = QString::number(row + 1);
        ReadDecimal(dx, static_cast<QLineEdit*>(LegControl(row, kAmount)),
                    tr("Benefit %1, amount").arg(number), HUGE_VAL, -1, leg.amount);
        if (leg.kind != LegKind::WholeLife)
            dx.Integer(static_cast<QLineEdit*>(LegControl(row, kTerm)),
                       tr("Benefit %1, term").arg(number), leg.term,
                       leg.kind == LegKind::Annuity ? 0 : 1, kMaxYears);
        dx.Integer(static_cast<QLineEdit*>(LegControl(row, kDeferral)),
                   tr("Benefit %1, deferral").arg(number), leg.deferral, 0, kMaxYears);
        if (leg.kind == LegKind::Annuity)
            leg.timing = static_cast<Timing>(
                SelectedData(static_cast<QComboBox*>(LegControl(row, kTiming))));
        if (leg.kind != LegKind::PureEndowment)
            leg.frequency = SelectedData(static_cast<QComboBox*>(LegControl(row, kFrequency)));
        values.product.benefits.push_back(leg);
    }
    PremiumLeg& premium = values.product.premium;
    const int termKind = SelectedData(m_premiumTermKind);
    premium.forLife = termKind == kForLife;
    premium.term = 0;
    if (termKind == kForYears)
        dx.Integer(m_premiumTerm, tr("Premium term"), premium.term, 1, kMaxYears);
    premium.frequency = termKind == kSingle ? 1 : SelectedData(m_premiumFrequency);
    premium.given.reset();
    if (m_givePremium->isChecked()) {
        double given = 0.0;
        if (ReadDecimal(dx, m_premium, tr("Annual premium"), HUGE_VAL, -1, given))
            premium.given = given;
    }
    values.policyValues = m_policyValues->isChecked();
    values.distribution = m_distribution->isChecked();
    values.twoLives = m_secondLife->isChecked();
    if (values.twoLives && !dx.Failed()) {
        values.secondTableCode = m_secondTable->currentData().toInt();
        if (!ProductTableExists(values.secondTableCode)) {
            dx.Fail(m_secondTable, tr("Please select the second life's mortality table."));
            return;
        }
        ProductDialogValues secondOnly = values;
        secondOnly.tableCode = values.secondTableCode;
        secondOnly.select = false;
        secondOnly.twoLives = false;
        ProductTables(secondOnly, tables, first, ignored);
        const RegisteredTable& table = *tables.Find(first.tableId);
        dx.Integer(m_secondAge, tr("Second life, age at issue"), values.secondAge, table.firstAge,
                   table.lastAge);
        values.status = static_cast<LifeStatus>(SelectedData(m_lives));
        values.premiumsLastSurvivor = SelectedData(m_premiumStatus) == 1;
    }
    // Expenses: amounts of 0 or more, percents of the premiums below 100.
    Expenses& expenses = values.expenses;
    ReadDecimal(dx, m_expenseInitial, tr("Initial expenses"), HUGE_VAL, -1, expenses.initial);
    const auto readPercent = [&dx](QLineEdit* edit, const QString& field, double& percent) {
        if (ReadDecimal(dx, edit, field, HUGE_VAL, -1, percent) && percent >= 100.0)
            dx.Fail(edit, tr("%1: please enter a percent from 0 to below 100.").arg(field));
    };
    readPercent(m_expenseInitialPercent, tr("Initial expenses, % of the first year's premiums"),
                expenses.initialPremiumPercent);
    ReadDecimal(dx, m_expenseRenewal, tr("Renewal expenses"), HUGE_VAL, -1, expenses.renewal);
    readPercent(m_expenseRenewalPercent, tr("Renewal expenses, % of later premiums"),
                expenses.renewalPremiumPercent);
    ReadDecimal(dx, m_expenseClaim, tr("Claim expenses"), HUGE_VAL, -1, expenses.claim);
    if (dx.Failed())
        return;
    // What only the whole product shows: terms past the table's end, premiums longer than
    // the product, a status the benefits cannot have.
    if (const auto fault = FindProductRunFault(values)) {
        using Field = ProductRunFault::Field;
        QWidget* control = m_age;
        QString field = tr("Age at issue");
        switch (fault->field) {
        case Field::Table:
            control = m_table, field = tr("Mortality table");
            break;
        case Field::Age:
            break;
        case Field::Select:
            control = m_select, field = tr("Select");
            break;
        case Field::Rate:
            control = m_rate, field = tr("Interest rate");
            break;
        case Field::Benefit:
            if (fault->leg >= 0 && fault->leg < m_legs->rowCount()) {
                control = LegControl(fault->leg,
                                     values.product.benefits[fault->leg].kind == LegKind::WholeLife
                                         ? kDeferral
                                         : kTerm);
                field = tr("Benefit %1").arg(fault->leg + 1);
            }
            break;
        case Field::PremiumTerm:
            control = premium.forLife ? static_cast<QWidget*>(m_premiumTermKind) : m_premiumTerm;
            field = tr("Premium term");
            break;
        case Field::PremiumFrequency:
            control = m_premiumFrequency, field = tr("Premium frequency");
            break;
        case Field::Premium:
            control = m_premium, field = tr("Annual premium");
            break;
        case Field::SecondTable:
            control = m_secondTable, field = tr("Second life, mortality table");
            break;
        case Field::SecondAge:
            control = m_secondAge, field = tr("Second life, age at issue");
            break;
        case Field::Lives:
            control = m_lives, field = tr("Benefits paid");
            break;
        case Field::Expenses:
            control = m_expenseInitial, field = tr("Expenses");
            break;
        }
        dx.Fail(control, tr("%1: %2.").arg(field, QString::fromUtf8(fault->reason.c_str())));
        return;
    }
    m_values = values;
}

std::optional<ProductDialogValues> PromptProductValues(QWidget* parent,
                                                       const ProductDialogValues& opening) {
    ProductDialog dialog(opening, parent);
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    return dialog.Values();
}

QPixmap GrabProductDialog(const ProductDialogValues& values) {
    ProductDialog dialog(values);
    dialog.show();
    QApplication::processEvents();
    QPixmap picture = dialog.grab();
    dialog.reject();
    return picture;
}
