#include "CalculationRecord.h"

#include <cmath>

// Premiums are paid at the start of each policy year while the applicant lives, the year
// of death included; the amount is paid at the end of the year of death. Every discount
// power is computed afresh with pow, and the sums run in increasing order of age.

// Death at ages a..endAge-1: the premiums paid and the amount paid for each age of death.
void CCalculationRecord::AccumulateInsurance(int endAge) {
    const int a = m_nAge;
    const double v = m_dDiscountFactor;
    m_dAnnuitySum = 0;
    m_dUnitAmountPV = 0;
    m_dUnitAnnualPV = 0;
    for (int x = a; x < endAge; ++x) {
        m_dAnnuitySum = m_dAnnuitySum + std::pow(v, (double)(x - a));
        m_dUnitAnnualPV = m_dUnitAnnualPV + m_dAnnuitySum * m_dDeathProb[x];
        m_dUnitAmountPV = m_dUnitAmountPV + std::pow(v, (double)(x - a + 1)) * m_dDeathProb[x];
        m_dAnnuity[x] = m_dAnnuitySum;
        m_dDiscount[x] = std::pow(v, (double)(x - a + 1));
    }
}

void CCalculationRecord::PriceWholeLife() { AccumulateInsurance(m_nAges); }

void CCalculationRecord::PriceTermLife() { PriceInsuranceTerm(false); }

void CCalculationRecord::PriceEndowment() { PriceInsuranceTerm(true); }

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
    if (endowment)
        m_dUnitAmountPV += std::pow(m_dDiscountFactor, (double)m_nTerm) * survival;
}
