// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalculationRecord.h"

#include <cmath>

// The applicant pays the amount at the start; the insurer pays at the end of each year
// survived. Both unit values carry the opposite sign to insurance, so the same two
// formulas solve both: the amount is -1 per unit, the payments minus their value.

void CCalculationRecord::PriceLifePension() {
    PricePension(m_nAges - 1, false);
}

void CCalculationRecord::PriceTermAnnuity() {
    const int last = m_nAge + m_nTerm < m_nAges - 1 ? m_nAge + m_nTerm : m_nAges - 1;
    PricePension(last, true);
}

// Covers deaths at ages a+1..lastAge (death at a brings no payment). The term annuity's
// terminal term weighs the value at lastAge by the survival probability at lastAge.
void CCalculationRecord::PricePension(int lastAge, bool terminal) {
    const int a = m_nAge;
    const double v = m_dDiscountFactor;
    m_dAnnuitySum = 0;
    m_dUnitAnnualPV = 0;
    m_dUnitAmountPV = -1.0;
    if (a + 1 <= m_nAges - 1 && a >= m_nFirstAge) {
        for (int x = a + 1; x <= lastAge; ++x) {
            m_dAnnuitySum = m_dAnnuitySum + std::pow(v, (double)(x - a));
            m_dUnitAnnualPV = m_dUnitAnnualPV - m_dAnnuitySum * m_dDeathProb[x];
            m_dDiscount[x] = m_dAnnuitySum;
        }
        if (terminal && lastAge >= a)
            m_dUnitAnnualPV -= m_dSurvivalProb[lastAge] * m_dAnnuitySum;
    }
    // Survivors past the table's last age read the value of m_nAges - a payments here:
    // one more step of the running sum.
    if (a >= m_nFirstAge && a < m_nAges)
        m_dDiscount[m_nAges] = m_dAnnuitySum + std::pow(v, (double)(m_nAges - a));
}
