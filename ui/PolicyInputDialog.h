// SPDX-License-Identifier: GPL-3.0-or-later
// The input dialog shared by insurance and pensions: its controls, handlers and data exchange.
#pragma once

#include "DialogBase.h"
#include "PolicyDialog.h"

#include <QStringList>

#include <optional>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPixmap;
class QPushButton;
class QRadioButton;

// What differs between the insurance and the pension dialog.
struct PolicyDialogTemplate {
    PolicyKind kind;
    QString caption;
    QStringList policyNames; // list entries; entry 0 is the type without a term
    QString giveAmountText;  // caption of the first radio button
    QString givePremiumText; // caption of the second radio button
    int termLabelWidth;      // least widths in dialog units
    int giveAmountWidth;
    int givePremiumWidth;
};

// Controls carry their resource names as object names ("IDOK", "IDC_AGE", ...).
class PolicyInputDialog : public CDialog, public PolicyDialogData {
    Q_OBJECT
public:
    // Message handlers: the radio buttons set the input kind, the check boxes the section
    // flags; the policy list enables the term unless the type without a term is selected.
    void OnGiveAmount();
    void OnGivePremium();
    void OnShowMortality();
    void OnShowNetIncome();
    void OnSelchangePolicyList();

    PolicyKind Kind() const { return m_kind; }

protected:
    PolicyInputDialog(const PolicyDialogTemplate& layout, QWidget* parent);

    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    // Steps 4 and 5 of the exchange: the two list selections, in the dialog's own order.
    virtual void ExchangeListIndices(CDataExchange& dx) = 0;

    QListWidget* m_policyList = nullptr;
    QListWidget* m_tableList = nullptr;

private:
    void CreateControls(const PolicyDialogTemplate& layout);
    template <class Control> static Control* Named(Control* control, const char* name);
    // A size in dialog units, in pixels of this dialog's font.
    QSize Units(int width, int height) const;

    PolicyKind m_kind;
    QStringList m_policyNames;
    QLineEdit* m_age = nullptr;
    QLineEdit* m_term = nullptr;
    QLineEdit* m_rate = nullptr;
    QLineEdit* m_amount = nullptr;
    QRadioButton* m_giveAmount = nullptr;
    QRadioButton* m_givePremium = nullptr;
    QCheckBox* m_showMortality = nullptr;
    QCheckBox* m_showNetIncome = nullptr;
};

// The entries of the mortality-table list, in code order.
QStringList MortalityTableListEntries();
// The entries of the policy list of a kind, in code order.
QStringList PolicyListEntries(PolicyKind kind);

// Runs the dialog of the kind (CInsuranceDialog or CPensionDialog) modally over parent,
// opened with the given values: the accepted values, or nothing after Cancel.
std::optional<PolicyDialogData> PromptPolicyValues(QWidget* parent, PolicyKind kind,
                                                   const PolicyDialogData& opening);

// An opened dialog of the given kind, preloaded with the record's defaults (age 60, amount
// 10000, rate 5, term 5), rendered to a picture; for screenshots and documentation.
QPixmap GrabPolicyDialog(PolicyKind kind);
