// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartSeries.h"

#include "MortalityTables.h"
#include "PolicyCatalogue.h"

bool HoldsCalculation(const CCalculationRecord& record) {
    return record.m_nPolicyType > 0 && record.m_nTable > 0;
}

ChartSeries BuildChartSeries(const CCalculationRecord& record) {
    ChartSeries series;
    // The record does not keep the kind of its calculation, but its pricing does: a
    // pension's policy amount is worth exactly -1 per unit, an insurance's a sum of
    // discounted probabilities (zero or more, or not-a-number).
    series.pension = record.m_dUnitAmountPV == -1.0;
    series.policyType = record.m_nPolicyType;
    const PolicyKind kind = series.pension ? PolicyKind::Pension : PolicyKind::Insurance;
    const bool knownPolicy = record.m_nPolicyType >= 1 && record.m_nPolicyType <= PolicyCount(kind);
    series.usesTerm = knownPolicy && PolicyOf(kind, record.m_nPolicyType).usesTerm;
    series.policyName = knownPolicy ? PolicyOf(kind, record.m_nPolicyType).journalName : "?";
    series.table = record.m_nTable;
    const bool knownTable = record.m_nTable >= 1 && record.m_nTable <= MortalityTableCount();
    // The name the calculation's table had when it ran; a record filled by hand has none.
    if (!record.m_tableName.empty())
        series.tableName = record.m_tableName;
    else
        series.tableName = knownTable ? MortalityTableOf(record.m_nTable).journalName : "?";
    series.age = record.m_nAge;
    series.term = record.m_nTerm;
    series.rate = record.m_dRate;
    series.amount = record.m_dAmount;
    series.premium = record.m_dPremium;

    for (int x = record.m_nAge < 0 ? 0 : record.m_nAge; x < record.m_nAges; ++x) {
        series.ages.push_back(x);
        series.living.push_back(record.m_dLiving[x]);
        series.deathProb.push_back(record.m_dDeathProb[x]);
    }
    series.meanAgeAtDeath = record.m_dMeanAgeAtDeath;
    series.sdAgeAtDeath = record.m_dSdAgeAtDeath;

    CCalculationRecord scratch = record;
    scratch.ComputeNetIncome(series.pension,
                             [&](const NetIncomeRow& row) { series.netIncome.push_back(row); });
    series.edni = scratch.m_dRunningSum;
    return series;
}
