// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalculationRecord.h"

#include "MortalityTables.h"

void CCalculationRecord::Calculate(PolicyKind kind,
                                   const std::function<void(const NetIncomeRow&)>& onNetIncomeRow) {
    const bool pension = kind == PolicyKind::Pension;
    LoadLivingColumn();
    ComputeLifeStatistics();
    ComputeTermQuantities();
    PricePolicy(pension);
    SolveAmountAndPremium();
    if (m_bNetIncome == 1)
        ComputeNetIncome(pension, onNetIncomeRow);
}

void CCalculationRecord::LoadLivingColumn() {
    const MortalityTable& table = MortalityTableOf(m_nTable);
    m_tableName = table.journalName;
    m_nFirstAge = table.firstAge;
    m_nAges = table.lastAge + 1;
    for (int x = m_nFirstAge; x < m_nAges; ++x)
        m_dLiving[x] = table.living[static_cast<std::size_t>(x)];
    // The deaths in the last year of age, l(last) - l(last + 1), are then all of l(last).
    m_dLiving[m_nAges] = 0.0;
}

void CCalculationRecord::ComputeTermQuantities() {
    m_dDiscountFactor = 100.0 / (m_dRate + 100.0);
    m_nEndAge = m_nAge + m_nTerm < m_nAges ? m_nAge + m_nTerm : m_nAges;
    m_bTermInTable = m_nAge + m_nTerm <= m_nAges ? 1 : 0;
}

void CCalculationRecord::SolveAmountAndPremium() {
    const double typed = m_fAmount;
    if (m_nInputKind == 1) {
        m_dAmount = typed;
        m_dPremium = typed * m_dUnitAmountPV / m_dUnitAnnualPV;
    } else {
        m_dPremium = typed;
        m_dAmount = typed * m_dUnitAnnualPV / m_dUnitAmountPV;
    }
}

void CCalculationRecord::PricePolicy(bool pension) {
    if (pension) {
        switch (m_nPolicyType) {
        case 1:
            PriceLifePension();
            break;
        case 2:
            PriceTermAnnuity();
            break;
        }
        return;
    }
    switch (m_nPolicyType) {
    case 1:
        PriceWholeLife();
        break;
    case 2:
        PriceTermLife();
        break;
    case 3:
        PriceEndowment();
        break;
    }
}
