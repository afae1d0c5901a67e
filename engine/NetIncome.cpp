// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalculationRecord.h"

void CCalculationRecord::ComputeNetIncome(bool pension,
                                          const std::function<void(const NetIncomeRow&)>& onRow) {
    m_dRunningSum = 0;
    if (pension)
        ComputePensionNetIncome(onRow);
    else
        ComputeInsuranceNetIncome(onRow);
}

// Premiums received less the amount paid; each row adds its discounted value times its
// probability to the running sum.
void CCalculationRecord::ComputeInsuranceNetIncome(
    const std::function<void(const NetIncomeRow&)>& onRow) {
    const PolicyInfo& policy = PolicyOf(PolicyKind::Insurance, m_nPolicyType);
    const int lastAge = policy.usesTerm ? m_nEndAge : m_nAges;
    for (int x = m_nAge; x < lastAge; ++x) {
        const double undiscounted = (x - m_nAge + 1) * m_dPremium - m_dAmount;
        const double discounted = m_dAnnuity[x] * m_dPremium - m_dDiscount[x] * m_dAmount;
        if (onRow)
            onRow({x, false, true, m_dDeathProb[x], undiscounted, discounted});
        m_dRunningSum += discounted * m_dDeathProb[x];
    }
    const int e = m_nEndAge;
    // Whole life has no survivors; without a covered age (a term of 0) there are none either.
    if (!policy.usesTerm || e - 1 < m_nAge || m_nAge < m_nFirstAge)
        return;
    const double survival = m_dSurvivalProb[e - 1];
    const bool shown = m_bTermInTable == 1;
    if (policy.policy == Policy::TermLife) {
        // Term life: n premiums collected, nothing paid.
        if (onRow)
            onRow({e, true, shown, survival, m_nTerm * m_dPremium, m_dAnnuity[e - 1] * m_dPremium});
        m_dRunningSum += m_dAnnuity[e - 1] * survival * m_dPremium;
    } else {
        // Endowment: n premiums collected, the amount paid at the end of the term.
        const double discounted = m_dAnnuity[e - 1] * m_dPremium - m_dDiscount[e - 1] * m_dAmount;
        if (onRow)
            onRow({e, true, shown, survival, m_nTerm * m_dPremium - m_dAmount, discounted});
        m_dRunningSum += discounted * survival;
    }
}

// The amount received less the payments made.
void CCalculationRecord::ComputePensionNetIncome(
    const std::function<void(const NetIncomeRow&)>& onRow) {
    const bool termAnnuity = PolicyOf(PolicyKind::Pension, m_nPolicyType).usesTerm;
    const int lastAge = termAnnuity ? m_nEndAge : m_nAges;
    for (int x = m_nAge; x < lastAge; ++x) {
        const double undiscounted = m_dAmount - (x - m_nAge) * m_dPremium;
        const double discounted = m_dAmount - m_dDiscount[x] * m_dPremium;
        if (onRow)
            onRow({x, false, true, m_dDeathProb[x], undiscounted, discounted});
        m_dRunningSum += discounted * m_dDeathProb[x];
    }
    const int e = m_nEndAge;
    if (!termAnnuity || e - 1 < m_nAge || m_nAge < m_nFirstAge)
        return;
    const double survival = m_dSurvivalProb[e - 1];
    if (onRow) {
        if (m_bTermInTable == 1)
            onRow({e, true, true, survival, m_dAmount - m_nTerm * m_dPremium,
                   m_dAmount - m_dDiscount[m_nAge + m_nTerm] * m_dPremium});
        else
            onRow({e, true, false, survival, 0, 0});
    }
    m_dRunningSum += (m_dAmount - m_dDiscount[e] * m_dPremium) * survival;
}
