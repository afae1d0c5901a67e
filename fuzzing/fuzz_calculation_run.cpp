// SPDX-License-Identifier: GPL-3.0-or-later
// One accepted calculation over arbitrary values inside the dialog's ranges. Properties:
//  - the report has exactly the lines its sections call for;
//  - no line is cut short or holds a line feed, and no NaN prints with a sign;
//  - a finite expected discounted net income is zero up to rounding;
//  - the report does not depend on what an earlier calculation left in the record
//    (undefined-behaviour checks stop any read outside the record's arrays);
//  - the calculation alone, without a document, gives the same results bit for bit.
#include "FuzzCheck.h"
#include "MortalityTables.h"
#include "TabulonDoc.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

namespace {

struct Run {
    PolicyKind kind;
    PolicyDialogData values;
};

Run ConsumeRun(FuzzedDataProvider& input) {
    Run run{};
    run.kind = input.ConsumeBool() ? PolicyKind::Pension : PolicyKind::Insurance;
    PolicyDialogData& v = run.values;
    v.m_bNetIncome = input.ConsumeBool() ? 1 : 0;
    v.m_bMortality = input.ConsumeBool() ? 1 : 0;
    v.m_nInputKind = input.ConsumeBool() ? 2 : 1;
    v.m_nAge = input.ConsumeIntegralInRange(0, policy_limits::kMaxAge);
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0:
        v.m_fAmount = 0;
        break;
    case 1:
        v.m_fAmount = policy_limits::kMaxAmount;
        break;
    default:
        v.m_fAmount = input.ConsumeFloatingPointInRange(0.0f, policy_limits::kMaxAmount);
    }
    v.m_nRate = input.ConsumeIntegralInRange(0, policy_limits::kMaxRate);
    v.m_nTableIndex = input.ConsumeIntegralInRange(0, MortalityTableCount() - 1);
    v.m_nPolicyIndex = input.ConsumeIntegralInRange(0, policy_limits::PolicyCount(run.kind) - 1);
    v.m_nTerm = input.ConsumeIntegralInRange(policy_limits::MinTerm(run.kind, v.m_nPolicyIndex),
                                             policy_limits::MaxTerm(run.kind));
    return run;
}

std::size_t ExpectedLineCount(const Run& run) {
    const PolicyDialogData& v = run.values;
    const std::size_t ages = 107 - static_cast<std::size_t>(v.m_nAge);
    const bool termType = policy_limits::UsesTerm(run.kind, v.m_nPolicyIndex);
    std::size_t count = 2; // a blank line and the table's name
    if (v.m_bMortality == 1)
        count += 6 + ages + 5; // heading, one row per age, summary statistics
    count += termType ? 7 : 6; // summary, with the term for term types
    if (v.m_bNetIncome == 1) {
        const std::size_t deathRows =
            termType ? static_cast<std::size_t>(std::min(v.m_nAge + v.m_nTerm, 107) - v.m_nAge)
                     : ages;
        count += 4 + deathRows + (termType ? 1 : 0) + 2; // heading, rows, survivors, EDNI
    }
    return count;
}

std::vector<std::string> Report(CTabulonDoc& doc, const Run& run) {
    const std::size_t first = doc.GetLines()->GetCount();
    doc.RunCalculation(run.kind, run.values);
    std::vector<std::string> lines;
    for (std::size_t i = first; i < doc.GetLines()->GetCount(); ++i)
        lines.emplace_back(doc.GetLines()->GetAt(i));
    return lines;
}

void CheckReport(const CTabulonDoc& doc, const Run& run, const std::vector<std::string>& lines) {
    const PolicyDialogData& v = run.values;
    FUZZ_CHECK(lines.size() == ExpectedLineCount(run),
               "%zu lines, expected %zu (kind %d policy %d age %d term %d)", lines.size(),
               ExpectedLineCount(run), static_cast<int>(run.kind), v.m_nPolicyIndex, v.m_nAge,
               v.m_nTerm);
    for (const std::string& line : lines) {
        FUZZ_CHECK(line.size() < 500, "a line of %zu characters", line.size());
        FUZZ_CHECK(line.find('\n') == std::string::npos, "a line feed inside a line");
        FUZZ_CHECK(line.find("-nan") == std::string::npos, "a signed NaN: %s", line.c_str());
    }
    FUZZ_CHECK(doc.IsModified(), "the journal is not marked modified");

    const double scale = std::fabs(doc.m_dAmount) + 108 * std::fabs(doc.m_dPremium);
    if (v.m_bNetIncome == 1 && std::isfinite(doc.m_dRunningSum) && std::isfinite(scale))
        FUZZ_CHECK(std::fabs(doc.m_dRunningSum) <= 1e-9 * scale + 1e-9,
                   "EDNI %.17g for amount %.17g and premium %.17g", doc.m_dRunningSum,
                   doc.m_dAmount, doc.m_dPremium);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const Run earlier = ConsumeRun(input);
    const Run run = ConsumeRun(input);

    CTabulonDoc fresh;
    const std::vector<std::string> report = Report(fresh, run);
    CheckReport(fresh, run, report);

    CTabulonDoc used;
    Report(used, earlier);
    FUZZ_CHECK(Report(used, run) == report, "the report depends on the calculation before it");

    // The calculation alone, as batch makes it, gives the document's results bit for bit.
    CCalculationRecord bare;
    CopyToRecord(run.values, bare);
    bare.Calculate(run.kind);
    for (const auto member : {&CCalculationRecord::m_dAmount, &CCalculationRecord::m_dPremium,
                              &CCalculationRecord::m_dRunningSum}) {
        FUZZ_CHECK(std::memcmp(&(bare.*member), &(fresh.*member), sizeof(double)) == 0,
                   "the bare calculation gives %.17g, the document %.17g", bare.*member,
                   fresh.*member);
    }
    return 0;
}
