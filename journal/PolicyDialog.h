// SPDX-License-Identifier: GPL-3.0-or-later
// The nine values a policy dialog collects, and how the calculation commands ask for them.
#pragma once

#include "CalculationRecord.h"
#include "PolicyCatalogue.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The values exchanged with an input dialog. List selections are 0-based (-1 = none);
// the runs store them as codes 1..n.
struct PolicyDialogData {
    int m_bNetIncome = 0;    // 1: show the net-income distribution
    int m_bMortality = 0;    // 1: show the mortality table
    int m_nInputKind = 1;    // 1: policy amount given, 2: annual premium or payment given
    int m_nAge = 0;          // years, 0..106
    float m_fAmount = 0;     // 0..1e9, checked in single precision
    int m_nRate = 0;         // whole percent, 0..100
    int m_nTableIndex = -1;  // 0..MortalityTableCount() - 1
    int m_nPolicyIndex = -1; // 0..PolicyCount(kind) - 1
    int m_nTerm = 0;         // years, within the policy's term range
};

// Copies accepted values into the record's inputs, list indices becoming 1-based codes.
void CopyToRecord(const PolicyDialogData& values, CCalculationRecord& record);

// What a dialog opens with: the record's age, amount, rate in whole percent (the fraction
// dropped) and term, the amount given, neither section asked for, no list entry chosen.
PolicyDialogData OpeningValues(const CCalculationRecord& record);

// Asks for the values of one calculation of the given kind, starting from the opening
// values: the accepted values, or nothing when the user cancelled.
using PolicyValuesPrompt =
    std::function<std::optional<PolicyDialogData>(PolicyKind, const PolicyDialogData& opening)>;
