#include "PolicyDialog.h"

int PolicyLimits::PolicyCount(PolicyKind kind) { return kind == PolicyKind::Insurance ? 3 : 2; }

int PolicyLimits::MaxTerm(PolicyKind kind) { return kind == PolicyKind::Insurance ? 50 : 100; }

bool PolicyLimits::UsesTerm(PolicyKind, int policyIndex) { return policyIndex != 0; }

int PolicyLimits::MinTerm(PolicyKind kind, int policyIndex) {
    return UsesTerm(kind, policyIndex) ? 1 : 0;
}

void CopyToRecord(const CPolicyDialogData& values, CCalculationRecord& record) {
    record.m_bNetIncome = values.m_bNetIncome;
    record.m_bMortality = values.m_bMortality;
    record.m_nInputKind = values.m_nInputKind;
    record.m_nAge = values.m_nAge;
    record.m_fAmount = values.m_fAmount;
    record.m_dRate = values.m_nRate;
    record.m_nTable = values.m_nTableIndex + 1;
    record.m_nPolicyType = values.m_nPolicyIndex + 1;
    record.m_nTerm = values.m_nTerm;
}
