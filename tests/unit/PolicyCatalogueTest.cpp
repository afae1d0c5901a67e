// SPDX-License-Identifier: GPL-3.0-or-later
// The policy catalogue as the front ends apply it: each policy and table is chosen by its
// code or its command-line name, terms are held to each policy's range, the usage text
// names them all, and the report prints the journal names.
#include "CliOptions.h"
#include "MortalityTables.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The command line's verdict on one policy: an empty string when accepted.
std::string Parse(PolicyKind kind, const std::vector<std::string>& options, CliRequest& request) {
    std::vector<std::string> args{KindCommandName(kind)};
    args.insert(args.end(), options.begin(), options.end());
    return ParseCommandLine(args, request);
}

TEST(PolicyCatalogue, EachPolicyIsChosenByCodeOrNameAndHeldToItsTermRange) {
    for (const PolicyKind kind : {PolicyKind::Insurance, PolicyKind::Pension}) {
        ASSERT_EQ(PolicyCount(kind), static_cast<int>(PoliciesOf(kind).size()));
        for (const PolicyInfo& policy : PoliciesOf(kind)) {
            SCOPED_TRACE(policy.commandName);
            EXPECT_EQ(&PolicyOf(kind, policy.code), &policy);
            EXPECT_EQ(policy.usesTerm, policy.minTerm >= 1);
            EXPECT_EQ(policy_limits::MaxTerm(kind), policy.maxTerm);
            for (const std::string& choice :
                 {std::string(policy.commandName), std::to_string(policy.code)}) {
                CliRequest request;
                EXPECT_EQ(Parse(kind,
                                {"--policy", choice, "--term", std::to_string(policy.minTerm)},
                                request),
                          "");
                EXPECT_EQ(request.values.m_nPolicyIndex, policy.code - 1);
            }
            CliRequest request;
            EXPECT_EQ(
                Parse(kind,
                      {"--policy", policy.commandName, "--term", std::to_string(policy.maxTerm)},
                      request),
                "");
            EXPECT_NE(Parse(kind,
                            {"--policy", policy.commandName, "--term",
                             std::to_string(policy.maxTerm + 1)},
                            request),
                      "");
            if (policy.minTerm > 0) {
                EXPECT_NE(Parse(kind,
                                {"--policy", policy.commandName, "--term",
                                 std::to_string(policy.minTerm - 1)},
                                request),
                          "");
            }
            EXPECT_NE(std::string(kUsage).find(policy.commandName), std::string::npos);

            PolicyDialogData values = testing_support::Values(policy.code - 1);
            values.m_nTerm = policy.maxTerm;
            const std::vector<std::string> report = testing_support::Report(kind, values);
            EXPECT_NE(report[6].find(policy.journalName), std::string::npos) << report[6];
        }
    }
}

// The built-in tables; imported ones are given by their files.
TEST(PolicyCatalogue, EachTableIsChosenByCodeOrNameAndReportedByItsJournalName) {
    for (int code = 1; code <= kTableCount; ++code) {
        const MortalityTable& table = MortalityTableOf(code);
        SCOPED_TRACE(table.commandName);
        EXPECT_EQ(table.living[table.firstAge], 100000.0f);
        for (const std::string& choice : {std::string(table.commandName), std::to_string(code)}) {
            CliRequest request;
            EXPECT_EQ(Parse(PolicyKind::Insurance, {"--table", choice}, request), "");
            EXPECT_EQ(request.values.m_nTableIndex, code - 1);
        }
        EXPECT_NE(std::string(kUsage).find(table.commandName), std::string::npos);
        const std::vector<std::string> report = testing_support::Report(
            PolicyKind::Pension, testing_support::Values(0, 60, 5, 5, 10000, code - 1));
        EXPECT_EQ(report[1], std::string("*** The following calculations are based on the ") +
                                 table.journalName + " mortality table.");
    }
    CliRequest request;
    EXPECT_NE(Parse(PolicyKind::Insurance, {"--table", std::to_string(kTableCount + 1)}, request),
              "");
}

} // namespace
