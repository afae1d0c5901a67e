// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the unit tests: running a calculation and reading the journal.
#pragma once

#include "TabulonDoc.h"

#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// The nine dialog values with the dialog's opening defaults (table 1, age 60, term 5,
// rate 5, amount 10000 given), the policy given as its 0-based list index.
inline PolicyDialogData Values(int policyIndex, int age = 60, int term = 5, int rate = 5,
                               float amount = 10000, int tableIndex = 0) {
    PolicyDialogData values;
    values.m_nInputKind = 1;
    values.m_nAge = age;
    values.m_fAmount = amount;
    values.m_nRate = rate;
    values.m_nTableIndex = tableIndex;
    values.m_nPolicyIndex = policyIndex;
    values.m_nTerm = term;
    return values;
}

// The values with report sections asked for.
enum class Sections { Mortality, NetIncome, Both };

inline PolicyDialogData With(Sections sections, PolicyDialogData values) {
    values.m_bMortality = sections != Sections::NetIncome;
    values.m_bNetIncome = sections != Sections::Mortality;
    return values;
}

inline std::vector<std::string> LinesFrom(const CTabulonDoc& doc, std::size_t first = 0) {
    std::vector<std::string> lines;
    const CStringList& list = *doc.GetLines();
    for (std::size_t i = first; i < list.GetCount(); ++i)
        lines.emplace_back(list.GetAt(i));
    return lines;
}

// The report lines one accepted run appends to an empty journal.
inline std::vector<std::string> Report(PolicyKind kind, const PolicyDialogData& values) {
    CTabulonDoc doc;
    doc.RunCalculation(kind, values);
    return LinesFrom(doc);
}

// A prompt that answers as scripted (nothing: the user cancelled) and remembers the
// opening values it was asked with.
inline PolicyValuesPrompt ScriptedPrompt(std::optional<PolicyDialogData> answer,
                                         PolicyDialogData* seen = nullptr) {
    return [=](PolicyKind, const PolicyDialogData& opening) {
        if (seen)
            *seen = opening;
        return answer;
    };
}

} // namespace testing_support
