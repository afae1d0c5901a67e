// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalculationRecord.h"

#include <cmath>

void CCalculationRecord::ComputeLifeStatistics() {
    const int a = m_nAge;
    m_dRunningSum = 0;
    m_dVarLifetime = 0;
    m_dVarAgeAtDeath = 0;
    m_dMeanLifetime = 0;
    m_dMeanAgeAtDeath = 0;

    if (a >= m_nFirstAge && a < m_nAges) {
        const double living = m_dLiving[a];
        for (int x = a; x < m_nAges; ++x) {
            const double q = (m_dLiving[x] - m_dLiving[x + 1]) / living;
            m_dDeathProb[x] = q;
            m_dRunningSum += q;
            m_dCumDeathProb[x] = m_dRunningSum;
            m_dSurvivalProb[x] = 1 - m_dRunningSum;
            m_dDiscount[x] = 0;
            m_dAnnuity[x] = 0;
            m_dMeanAgeAtDeath += x * q;
            const double t = (x - a) + 0.5;
            m_dMeanLifetime += t * q;
            const int xSquared = x * x;
            m_dVarAgeAtDeath += xSquared * q;
            m_dVarLifetime += t * t * q;
        }
    }

    // One pass: second raw moment less the squared mean.
    m_dVarAgeAtDeath = m_dVarAgeAtDeath - m_dMeanAgeAtDeath * m_dMeanAgeAtDeath;
    m_dVarLifetime = m_dVarLifetime - m_dMeanLifetime * m_dMeanLifetime;
    m_dSdAgeAtDeath = std::sqrt(m_dVarAgeAtDeath);
    m_dSdLifetime = std::sqrt(m_dVarLifetime);
}
