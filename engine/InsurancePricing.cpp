// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalculationRecord.h"

#include <cmath>

// Premiums are paid at the start of each policy year while the applicant lives, the year
// of death included; the amount is paid at the end of the year of death. Every discount
// power v^k is pow(v, (double)k), never a product of powers; each distinct k is computed
// once and its value reused (the amount for death at age x and the premium a year later
// share v^(x - a + 1)). The sums run in increasing order of age.

// Death at ages a..endAge-1: the premiums paid and the amount paid for each age of death.
void CCalculationRecord::AccumulateInsurance(int endAge) {
    const int a = m_nAge;
    const double v = m_dDiscountFactor;
    m_dAnnuitySum = 0;
    m_dUnitAmountPV = 0;
    m_dUnitAnnualPV = 0;
    double premiumFactor = std::pow(v, 0.0); // v^(x - a)
    for (int x = a; x < endAge; ++x) {
        const double amountFactor = std::pow(v, (double)(x - a + 1));
        m_dAnnuitySum = m_dAnnuitySum + premiumFactor;
        m_dUnitAnnualPV = m_dUnitAnnualPV + m_dAnnuitySum * m_dDeathProb[x];
        m_dUnitAmountPV = m_dUnitAmountPV + amountFactor * m_dDeathProb[x];
        m_dAnnuity[x] = m_dAnnuitySum;
        m_dDiscount[x] = amountFactor;
        premiumFactor = amountFactor;
    }
}

void CCalculationRecord::PriceWholeLife() {
    AccumulateInsurance(m_nAges);
}

void CCalculationRecord::PriceTermLife() {
    PriceInsuranceTerm(false);
}

void CCalculationRecord::PriceEndowment() {
    PriceInsuranceTerm(true);
}

// Term life and endowment cover the ages a..E-1; an applicant alive at E has paid E - a
// premiums, and the endowment then pays the amount at the end of the term.
void CCalculationRecord::PriceInsuranceTerm(bool endowment) {
    const int a = m_nAge;
    AccumulateInsurance(m_nEndAge);
    // Without a covered age (a term of 0) there is no survival probability of this
    // calculation to weigh a terminal term with, and nothing is added.
    if (m_nEndAge - 1 < a || a < m_nFirstAge)
        return;
    const double survival = m_dSurvivalProb[m_nEndAge - 1];
    m_dUnitAnnualPV += survival * m_dAnnuitySum;
    if (endowment) {
        // v^n: the last amount's factor of the loop when the term ends within the table.
        const double atTermEnd = m_nEndAge - a == m_nTerm
                                     ? m_dDiscount[m_nEndAge - 1]
                                     : std::pow(m_dDiscountFactor, (double)m_nTerm);
        m_dUnitAmountPV += atTermEnd * survival;
    }
}
