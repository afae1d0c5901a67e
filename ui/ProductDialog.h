// SPDX-License-Identifier: GPL-3.0-or-later
// The product dialog: a life, a basis, benefit legs and a premium leg.
#pragma once

#include "DialogBase.h"
#include "ProductRun.h"

#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPixmap;
class QPushButton;
class QRadioButton;
class QTableWidget;

// Controls carry resource-style object names ("IDOK", "IDC_AGE", ...); the legs' table is
// "IDC_LEGS", each row's controls "IDC_LEG_KIND", "IDC_LEG_AMOUNT", "IDC_LEG_TERM",
// "IDC_LEG_DEFERRAL", "IDC_LEG_TIMING" and "IDC_LEG_FREQUENCY"; the select life
// "IDC_SELECT"; the second life's group "IDC_SECOND_LIFE" (checkable) with "IDC_SECOND_TABLE",
// "IDC_SECOND_AGE", "IDC_LIVES" and "IDC_PREMIUM_STATUS"; the expenses "IDC_EXPENSE_INITIAL",
// "IDC_EXPENSE_INITIAL_PERCENT", "IDC_EXPENSE_RENEWAL", "IDC_EXPENSE_RENEWAL_PERCENT" and
// "IDC_EXPENSE_CLAIM". OK checks every field with
// the limits of tabulon-cli price, names the first one refused and gives it the focus.
class ProductDialog : public CDialog {
    Q_OBJECT
public:
    explicit ProductDialog(const ProductDialogValues& opening, QWidget* parent = nullptr);

    // The values the dialog was opened with, or accepted with after OK.
    const ProductDialogValues& Values() const { return m_values; }

    // A new leg under the others (whole-life, the amount of the last leg); the selected leg
    // removed, the last one always stays.
    void OnAddLeg();
    void OnRemoveLeg();
    int LegCount() const;

protected:
    void DoDataExchange(CDataExchange& dx) override;

private:
    void CreateControls();
    void AddLegRow(const BenefitLeg& leg);
    void UpdateLegRow(int row);
    void UpdatePremiumControls();
    void UpdateSelect();
    void FillTableList(QComboBox* box, int code);
    QWidget* LegControl(int row, int column) const;
    void LoadValues();
    void ReadValues(CDataExchange& dx);

    ProductDialogValues m_values;
    QComboBox* m_table = nullptr;
    QLineEdit* m_age = nullptr;
    QLineEdit* m_rate = nullptr;
    QComboBox* m_fractional = nullptr;
    QTableWidget* m_legs = nullptr;
    QPushButton* m_addLeg = nullptr;
    QPushButton* m_removeLeg = nullptr;
    QComboBox* m_premiumTermKind = nullptr;
    QLineEdit* m_premiumTerm = nullptr;
    QComboBox* m_premiumFrequency = nullptr;
    QRadioButton* m_solvePremium = nullptr;
    QRadioButton* m_givePremium = nullptr;
    QLineEdit* m_premium = nullptr;
    QCheckBox* m_policyValues = nullptr;
    QCheckBox* m_distribution = nullptr;
    QCheckBox* m_select = nullptr;
    QGroupBox* m_secondLife = nullptr;
    QComboBox* m_secondTable = nullptr;
    QLineEdit* m_secondAge = nullptr;
    QComboBox* m_lives = nullptr;
    QComboBox* m_premiumStatus = nullptr;
    QLineEdit* m_expenseInitial = nullptr;
    QLineEdit* m_expenseInitialPercent = nullptr;
    QLineEdit* m_expenseRenewal = nullptr;
    QLineEdit* m_expenseRenewalPercent = nullptr;
    QLineEdit* m_expenseClaim = nullptr;
};

// Runs the dialog modally over parent, opened with the given values: the accepted values,
// or nothing after Cancel.
std::optional<ProductDialogValues> PromptProductValues(QWidget* parent,
                                                       const ProductDialogValues& opening);

// The dialog opened with values, rendered to a picture; for screenshots and documentation.
QPixmap GrabProductDialog(const ProductDialogValues& values);
