// SPDX-License-Identifier: GPL-3.0-or-later
#include "PolicyDialog.h"

void CopyToRecord(const PolicyDialogData& values, CCalculationRecord& record) {
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

PolicyDialogData OpeningValues(const CCalculationRecord& record) {
    PolicyDialogData opening;
    opening.m_nInputKind = 1;
    opening.m_bMortality = 0;
    opening.m_bNetIncome = 0;
    opening.m_nAge = record.m_nAge;
    opening.m_fAmount = record.m_fAmount;
    opening.m_nRate = static_cast<int>(record.m_dRate);
    opening.m_nTerm = record.m_nTerm;
    return opening;
}
