// SPDX-License-Identifier: GPL-3.0-or-later
// The policy catalogue as the front ends apply it: each policy and table is chosen by its
// code or its command-line name, terms are held to each policy's range, the usage text
// names them all, and the report prints the journal names. The names and ranges are
// written out here: scripts and journals depend on them.
#include "CliOptions.h"
#include "MortalityTables.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

// The command line's verdict on one policy: an empty string when accepted.
std::string Parse(PolicyKind kind, const std::vector<std::string>& options, CliRequest& request) {
    std::vector<std::string> args{KindCommandName(kind)};
    args.insert(args.end(), options.begin(), options.end());
    return ParseCommandLine(args, request);
}

// The catalogue written out as scripts, journals and dialogs rely on it.
struct ExpectedPolicy {
    PolicyKind kind;
    int code;
    const char* journalName;
    const char* dialogName;
    const char* commandName;
    int minTerm;
    int maxTerm;
};

const ExpectedPolicy kPolicies[] = {
    {PolicyKind::Insurance, 1, "Whole life insurance", "Whole Life", "whole-life", 0, 50},
    {PolicyKind::Insurance, 2, "Term life insurance", "Term Life", "term-life", 1, 50},
    {PolicyKind::Insurance, 3, "Endowment", "Term Endowment", "endowment", 1, 50},
    {PolicyKind::Pension, 1, "Life annuity", "Life Pension", "life-annuity", 0, 100},
    {PolicyKind::Pension, 2, "Term annuity", "Term Annuity", "term-annuity", 1, 100},
};

struct ExpectedTable {
    const char* journalName;
    const char* dialogName;
    const char* commandName;
};

const ExpectedTable kTables[] = {
    {"National, male", "National, Male", "national-male"},
    {"National, female", "National, Female", "national-female"},
    {"Regional, male", "Regional, Male", "regional-male"},
    {"Regional, female", "Regional, Female", "regional-female"},
};

TEST(PolicyCatalogue, EachPolicyIsChosenByCodeOrNameAndHeldToItsTermRange) {
    for (const PolicyKind kind : {PolicyKind::Insurance, PolicyKind::Pension})
        ASSERT_EQ(PolicyCount(kind), static_cast<int>(PoliciesOf(kind).size()));
    ASSERT_EQ(PolicyCount(PolicyKind::Insurance) + PolicyCount(PolicyKind::Pension),
              static_cast<int>(std::size(kPolicies)));
    for (const ExpectedPolicy& expected : kPolicies) {
        SCOPED_TRACE(expected.commandName);
        const PolicyKind kind = expected.kind;
        const PolicyInfo& policy = PolicyOf(kind, expected.code);
        EXPECT_EQ(&policy, &PoliciesOf(kind)[expected.code - 1]);
        EXPECT_STREQ(policy.journalName, expected.journalName);
        EXPECT_STREQ(policy.dialogName, expected.dialogName);
        EXPECT_STREQ(policy.commandName, expected.commandName);
        EXPECT_EQ(policy.minTerm, expected.minTerm);
        EXPECT_EQ(policy.maxTerm, expected.maxTerm);
        EXPECT_EQ(policy.usesTerm, expected.minTerm >= 1);
        EXPECT_EQ(policy_limits::MaxTerm(kind), expected.maxTerm);
        for (const std::string& choice :
             {std::string(expected.commandName), std::to_string(expected.code)}) {
            CliRequest request;
            EXPECT_EQ(Parse(kind, {"--policy", choice, "--term", std::to_string(expected.minTerm)},
                            request),
                      "");
            EXPECT_EQ(request.values.m_nPolicyIndex, expected.code - 1);
        }
        CliRequest request;
        EXPECT_EQ(
            Parse(kind,
                  {"--policy", expected.commandName, "--term", std::to_string(expected.maxTerm)},
                  request),
            "");
        EXPECT_NE(Parse(kind,
                        {"--policy", expected.commandName, "--term",
                         std::to_string(expected.maxTerm + 1)},
                        request),
                  "");
        if (expected.minTerm > 0) {
            EXPECT_NE(Parse(kind,
                            {"--policy", expected.commandName, "--term",
                             std::to_string(expected.minTerm - 1)},
                            request),
                      "");
        }
        EXPECT_NE(std::string(kUsage).find(expected.commandName), std::string::npos);

        PolicyDialogData values = testing_support::Values(expected.code - 1);
        values.m_nTerm = expected.maxTerm;
        const std::vector<std::string> report = testing_support::Report(kind, values);
        EXPECT_NE(report[6].find(expected.journalName), std::string::npos) << report[6];
    }
}

// The built-in tables; imported ones are given by their files.
TEST(PolicyCatalogue, EachTableIsChosenByCodeOrNameAndReportedByItsJournalName) {
    ASSERT_EQ(kTableCount, static_cast<int>(std::size(kTables)));
    for (int code = 1; code <= kTableCount; ++code) {
        const ExpectedTable& expected = kTables[code - 1];
        const MortalityTable& table = MortalityTableOf(code);
        SCOPED_TRACE(expected.commandName);
        EXPECT_EQ(table.journalName, expected.journalName);
        EXPECT_EQ(table.dialogName, expected.dialogName);
        EXPECT_EQ(table.commandName, expected.commandName);
        EXPECT_EQ(table.living[table.firstAge], 100000.0f);
        for (const std::string& choice :
             {std::string(expected.commandName), std::to_string(code)}) {
            CliRequest request;
            EXPECT_EQ(Parse(PolicyKind::Insurance, {"--table", choice}, request), "");
            EXPECT_EQ(request.values.m_nTableIndex, code - 1);
        }
        EXPECT_NE(std::string(kUsage).find(expected.commandName), std::string::npos);
        const std::vector<std::string> report = testing_support::Report(
            PolicyKind::Pension, testing_support::Values(0, 60, 5, 5, 10000, code - 1));
        EXPECT_EQ(report[1], std::string("*** The following calculations are based on the ") +
                                 expected.journalName + " mortality table.");
    }
    CliRequest request;
    EXPECT_NE(Parse(PolicyKind::Insurance, {"--table", std::to_string(kTableCount + 1)}, request),
              "");
}

} // namespace
