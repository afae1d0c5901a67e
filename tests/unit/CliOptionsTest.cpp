// SPDX-License-Identifier: GPL-3.0-or-later
// Bad input to tabulon-cli: every refused command line exits with status 2, prints nothing
// on standard output and one line on standard error naming the option, and touches no
// journal file. Values the syntax allows (blanks, a plus sign, the float boundary) give
// exactly the report of their plain form. A table file that cannot be used is refused
// the same way, and inputs the fuzz targets found are refused on one line.
#include "CliOptions.h"
#include "FaultTestSupport.h"
#include "PublishedTables.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using fault_support::CliResult;
using fault_support::CountLines;
using fault_support::kOldJournal;
using fault_support::ReadBytes;
using fault_support::RunCli;
using fault_support::ScratchFolder;
using fault_support::WriteBytes;

namespace {

struct Refusal {
    const char* name;
    std::vector<std::string> args; // after "--journal FILE", which comes right after the command
    std::string names;             // what the message must mention
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.name;
}

class CliInputFaults : public ::testing::TestWithParam<Refusal> {};

TEST_P(CliInputFaults, RefusedWithStatusTwoOneLineAndNoFileTouched) {
    const Refusal& refusal = GetParam();
    ScratchFolder scratch;
    const std::string journal = scratch.Path("journal");
    const std::string created = scratch.Path("created");
    WriteBytes(journal, kOldJournal);
    struct stat before {};
    ASSERT_EQ(::stat(journal.c_str(), &before), 0);

    for (const std::string& file : {journal, created}) {
        std::vector<std::string> args = refusal.args;
        if (!args.empty() && (args[0] == "insurance" || args[0] == "pension"))
            args.insert(args.begin() + 1, {"--journal", file});
        const fault_support::CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 2) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(CountLines(result.err), 1u) << result.err;
        EXPECT_EQ(result.err.rfind("tabulon-cli: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(refusal.names), std::string::npos) << result.err;
    }
    struct stat after {};
    ASSERT_EQ(::stat(journal.c_str(), &after), 0);
    EXPECT_EQ(ReadBytes(journal), kOldJournal);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_FALSE(std::filesystem::exists(created)) << "a missing journal was created";
    EXPECT_EQ(scratch.Names(), std::vector<std::string>{"journal"});
}

Refusal Insurance(const char* name, std::vector<std::string> rest, std::string names) {
    rest.insert(rest.begin(), "insurance");
    return {name, rest, names};
}

Refusal Pension(const char* name, std::vector<std::string> rest, std::string names) {
    rest.insert(rest.begin(), "pension");
    return {name, rest, names};
}

INSTANTIATE_TEST_SUITE_P(EmptyValues, CliInputFaults,
                         ::testing::Values(Insurance("Age", {"--age", ""}, "--age"),
                                           Insurance("AgeAfterEquals", {"--age="}, "--age"),
                                           Insurance("Amount", {"--amount", ""}, "--amount"),
                                           Insurance("Rate", {"--rate", "  "}, "--rate"),
                                           Insurance("Term", {"--term="}, "--term"),
                                           Insurance("Policy", {"--policy", ""}, "--policy"),
                                           Insurance("Table", {"--table="}, "--table"),
                                           Insurance("Given", {"--given", ""}, "--given")),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Signs, CliInputFaults,
                         ::testing::Values(Insurance("NegativeAge", {"--age", "-1"}, "--age"),
                                           Insurance("NegativeRate", {"--rate=-5"}, "--rate"),
                                           Insurance("NegativeAmount", {"--amount", "-0.01"},
                                                     "--amount"),
                                           Pension("NegativeTerm", {"--term", "-3"}, "--term"),
                                           Insurance("TwoSigns", {"--age", "+-6"}, "--age"),
                                           Insurance("SignThenBlank", {"--age", "- 6"}, "--age"),
                                           Insurance("SignAlone", {"--rate", "+"}, "--rate")),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    DecimalsAndCommas, CliInputFaults,
    ::testing::Values(Insurance("DecimalAge", {"--age", "60.5"}, "--age"),
                      Insurance("DecimalRate", {"--rate", "5.0"}, "--rate"),
                      Pension("DecimalTerm", {"--term", "5."}, "--term"),
                      Insurance("ExponentAge", {"--age", "6e1"}, "--age"),
                      Insurance("CommaAmount", {"--amount", "10,000"}, "--amount"),
                      Insurance("DecimalCommaAmount", {"--amount", "10000,50"}, "--amount"),
                      Insurance("CommaAge", {"--age", "6,0"}, "--age"),
                      Insurance("BlankInsideAmount", {"--amount", "10 000"}, "--amount"),
                      Insurance("HexAmount", {"--amount", "0x10"}, "--amount"),
                      Insurance("InfinityAmount", {"--amount", "inf"}, "--amount"),
                      Insurance("NanAmount", {"--amount", "nan"}, "--amount"),
                      Insurance("ExponentWithoutDigits", {"--amount", "1e"}, "--amount"),
                      Insurance("PointAlone", {"--amount", "."}, "--amount")),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    TooLarge, CliInputFaults,
    ::testing::Values(Insurance("AgePastInt", {"--age", "2147483648"}, "--age"),
                      Insurance("AgeFarPastInt", {"--age", "99999999999999999999"}, "--age"),
                      Insurance("TermBelowInt", {"--term", "-2147483649"}, "--term"),
                      Insurance("AgeAtIntMaximum", {"--age", "2147483647"}, "--age"),
                      Insurance("AgeOneOver", {"--age", "107"}, "--age"),
                      Insurance("RateOneOver", {"--rate", "101"}, "--rate"),
                      Insurance("AmountRoundingPastLimit", {"--amount", "1000000033"}, "--amount"),
                      Insurance("AmountTwiceTheLimit", {"--amount", "2e9"}, "--amount"),
                      Insurance("AmountPastFloat", {"--amount", "1e39"}, "--amount"),
                      Insurance("InsuranceTermOneOver", {"--term", "51"}, "--term"),
                      Pension("PensionTermOneOver", {"--term", "101"}, "--term")),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    TermZeroForTermTypes, CliInputFaults,
    ::testing::Values(Insurance("TermLife", {"--policy", "term-life", "--term", "0"}, "--term"),
                      Insurance("Endowment", {"--policy", "3", "--term", "0"}, "--term"),
                      Pension("TermAnnuity", {"--policy", "term-annuity", "--term", "0"}, "--term"),
                      Insurance("DefaultPolicyIsTermLife", {"--term", "0"}, "--term")),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    UnknownNames, CliInputFaults,
    ::testing::Values(Insurance("PolicyWithUnderscore", {"--policy", "whole_life"}, "--policy"),
                      Insurance("PensionNameForInsurance", {"--policy", "life-annuity"},
                                "--policy"),
                      Pension("InsuranceNameForPension", {"--policy", "endowment"}, "--policy"),
                      Pension("PolicyCodePastList", {"--policy", "3"}, "--policy"),
                      Insurance("PolicyCodeZero", {"--policy", "0"}, "--policy"),
                      Insurance("TableCodePastList", {"--table", "5"}, "--table"),
                      Insurance("TableHalfName", {"--table", "national"}, "--table"),
                      Insurance("TableInCapitals", {"--table", "National-Male"}, "--table"),
                      Insurance("PaymentGivenForInsurance", {"--given", "payment"}, "--given"),
                      Pension("UnknownGiven", {"--given", "amounts"}, "--given"),
                      Refusal{"UnknownCommand", {"insurence", "--age", "60"}, "insurence"},
                      Refusal{"NoCommand", {}, "command"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    UnknownOptions, CliInputFaults,
    ::testing::Values(
        Insurance("Misspelt", {"--ages", "60"}, "--ages"),
        Insurance("ShortForm", {"-a", "60"}, "-a"),
        Insurance("InCapitals", {"--AGE", "60"}, "--AGE"), Insurance("StrayValue", {"60"}, "60"),
        Insurance("FlagWithValue", {"--mortality=yes"}, "--mortality"),
        // Every option that takes no value refuses one as --json=1 is refused.
        Insurance("JsonWithValue", {"--json=1"}, "--json: takes no value."),
        Insurance("HelpWithValue", {"--help=1"}, "--help: takes no value."),
        Insurance("VersionWithValue", {"--version=x"}, "--version: takes no value."),
        Insurance("EmptyValueForAFlag", {"--net-income="}, "--net-income: takes no value."),
        Refusal{"HelpWithValueAsCommand", {"--help=1"}, "--help: takes no value."},
        Refusal{"VersionWithValueAsCommand", {"--version=x"}, "--version: takes no value."},
        Refusal{"BatchHelpWithValue", {"batch", "--help=1"}, "--help: takes no value."},
        // Control bytes in an argument are shown escaped, on one line.
        Insurance("ControlBytes", {"--\x1b[2J\n"}, "--\\x1B[2J\\x0A"),
        Refusal{"LineFeedAsCommand", {"\n"}, "'\\x0A'"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    MissingValues, CliInputFaults,
    ::testing::Values(Insurance("Age", {"--age"}, "--age"),
                      Insurance("AmountAfterFlag", {"--mortality", "--amount"}, "--amount"),
                      Pension("Policy", {"--policy"}, "--policy"),
                      Insurance("Journal", {"--journal"}, "--journal"),
                      Insurance("EmptyJournalName", {"--journal="}, "--journal")),
    [](const auto& info) { return std::string(info.param.name); });

// An option that needs a value does not take the next option as its value (today's
// "--journal --json" would have made a journal named "--json"); "--" ends the options.
INSTANTIATE_TEST_SUITE_P(
    OptionsAsValues, CliInputFaults,
    ::testing::Values(
        Insurance("JournalBeforeAnOption", {"--journal", "--json"}, "--journal needs a file name"),
        Insurance("AgeBeforeAnOption", {"--age", "--mortality"}, "--age needs an age in years"),
        Pension("GivenBeforeAnOption", {"--given", "--net-income"},
                "--given needs amount or payment"),
        Insurance("PolicyBeforeEndOfOptions", {"--policy", "--"}, "--policy needs a policy type"),
        Insurance("ArgumentAfterEndOfOptions", {"--", "60"}, "'60' after --"),
        Refusal{"BatchWithoutFile", {"batch"}, "missing file name"},
        Refusal{"BatchUnknownOption", {"batch", "--rows", "policies.csv"}, "'--rows'"},
        Refusal{"BatchTwoFiles", {"batch", "a.csv", "b.csv"}, "'b.csv'"}),
    [](const auto& info) { return std::string(info.param.name); });

// A long value is shown by its first 80 bytes and its length.
INSTANTIATE_TEST_SUITE_P(
    LongValues, CliInputFaults,
    ::testing::Values(
        Insurance("Policy", {"--policy", std::string(1000, 'p')},
                  "--policy: '" + std::string(80, 'p') + "...' (the first 80 of 1000 bytes)"),
        Insurance("AmountOutOfRange", {"--amount", "1" + std::string(200, '0')},
                  "--amount: '1" + std::string(79, '0') +
                      "...' (the first 80 of 201 bytes) is out of range"),
        Insurance("CutBeforeAUtf8Character", {"--table", std::string(79, 't') + "\xC3\xA9"},
                  "'" + std::string(79, 't') + "...' (the first 79 of 81 bytes)")),
    [](const auto& info) { return std::string(info.param.name); });

// Accepted spellings give exactly the report of the plain value.
struct Spelling {
    const char* name;
    std::vector<std::string> args;
    std::vector<std::string> plain;
};

void PrintTo(const Spelling& spelling, std::ostream* out) {
    *out << spelling.name;
}

class CliInputSpellings : public ::testing::TestWithParam<Spelling> {};

TEST_P(CliInputSpellings, GiveTheReportOfThePlainValue) {
    const Spelling& spelling = GetParam();
    ScratchFolder scratch;
    const fault_support::CliResult result = RunCli(spelling.args);
    const fault_support::CliResult plain = RunCli(spelling.plain);
    ASSERT_EQ(result.status, 0) << result.err;
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(result.err, "");
    EXPECT_FALSE(result.out.empty());
    EXPECT_EQ(result.out, plain.out);
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, CliInputSpellings,
    ::testing::Values(
        Spelling{"BlanksAroundAge", {"insurance", "--age", " \t60 "}, {"insurance", "--age", "60"}},
        Spelling{"PlusSign", {"insurance", "--age", "+60"}, {"insurance", "--age", "60"}},
        Spelling{"LeadingZeros", {"insurance", "--rate", "007"}, {"insurance", "--rate", "7"}},
        Spelling{"AmountRoundingToTheLimit",
                 {"insurance", "--amount", "1000000032"},
                 {"insurance", "--amount", "1000000000"}},
        Spelling{"AmountWithExponent",
                 {"pension", "--amount", "1e9"},
                 {"pension", "--amount", "1000000000"}},
        Spelling{"AmountWithPointOnly",
                 {"pension", "--amount", "2500."},
                 {"pension", "--amount", "2500"}},
        Spelling{
            "AmountFractionOnly", {"pension", "--amount", ".5"}, {"pension", "--amount", "0.5"}},
        Spelling{
            "NegativeZeroAmount", {"insurance", "--amount", "-0"}, {"insurance", "--amount", "0"}},
        Spelling{"WholeLifeTermZero",
                 {"insurance", "--policy", "whole-life", "--term", "0"},
                 {"insurance", "--policy", "whole-life", "--term", "5"}},
        Spelling{"EndOfOptions", {"insurance", "--age", "45", "--"}, {"insurance", "--age", "45"}},
        Spelling{"LifeAnnuityTermZero",
                 {"pension", "--policy", "1", "--term", "0"},
                 {"pension", "--policy", "life-annuity", "--term", "9"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct TableRefusal {
    const char* name;
    std::vector<std::string> args; // after "insurance"; FILE stands for the table file
    const char* table;             // the file's content
    int status;
    const char* message; // part of the one line on standard error
};

void PrintTo(const TableRefusal& r, std::ostream* out) {
    *out << r.name;
}

class TableFileRefusals : public ::testing::TestWithParam<TableRefusal> {};

TEST_P(TableFileRefusals, EndWithOneLineAndTheirStatus) {
    const TableRefusal& r = GetParam();
    ScratchFolder scratch;
    published_tables::WriteTableFiles(scratch.Path());
    if (r.table != nullptr)
        fault_support::WriteBytes(scratch.Path("t.csv"), r.table);
    std::vector<std::string> args{"insurance"};
    for (const std::string& arg : r.args)
        args.push_back(arg == "FILE"   ? scratch.Path("t.csv")
                       : arg == "SULT" ? scratch.Path("SULT.csv")
                                       : arg);
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.status, r.status) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(CountLines(result.err), 1u) << result.err;
    EXPECT_NE(result.err.find(r.message), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cli, TableFileRefusals,
    ::testing::Values(
        TableRefusal{"Missing", {"--table-file", "FILE"}, nullptr, 1, "t.csv\": No such file"},
        TableRefusal{"QAboveOne",
                     {"--table-file", "FILE"},
                     "age,qx\n0,0.5\n1,1.2\n",
                     2,
                     "as a mortality table: line 3: qx"},
        TableRefusal{"GapInAges", {"--table-file", "FILE"}, "age,qx\n0,0.5\n2,1\n", 2, "line 3:"},
        TableRefusal{"NoHeader", {"--table-file", "FILE"}, "0,0.5\n1,1\n", 2, "line 1:"},
        TableRefusal{"RisingL", {"--table-file", "FILE"}, "age,lx\n0,10\n1,12\n", 2, "line 3:"},
        TableRefusal{"TextInNumber", {"--table-file", "FILE"}, "age,qx\n0,0.5x\n", 2, "line 2:"},
        TableRefusal{"AgeBelowTable",
                     {"--table-file", "SULT", "--age", "19"},
                     nullptr,
                     2,
                     "--age: 19 is out of range; please enter a whole number from 20 to 130."},
        TableRefusal{"AgeAboveTable",
                     {"--table-file", "SULT", "--age", "131"},
                     nullptr,
                     2,
                     "from 20 to 130"},
        TableRefusal{"BothTables",
                     {"--table", "2", "--table-file", "SULT"},
                     nullptr,
                     2,
                     "--table and --table-file"},
        TableRefusal{"BuiltInAgeLimitStays", {"--age", "107"}, nullptr, 2, "from 0 to 106"}),
    [](const auto& info) { return std::string(info.param.name); });

// Inputs the fuzz targets found failing, kept in tests/data/fuzz/ and replayed with the
// same properties the targets check. A file named command_line-* holds arguments
// separated by NUL bytes.
std::vector<std::string> Findings(const std::string& prefix) {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(TABULON_TEST_DATA "/fuzz"))
        if (entry.path().filename().string().rfind(prefix, 0) == 0)
            paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::vector<std::string> SplitAtNul(const std::string& bytes) {
    std::vector<std::string> args;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = bytes.find('\0', start);
        args.push_back(bytes.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return args;
        start = end + 1;
    }
}

TEST(FuzzFindings, CommandLinesAreRefusedOnOneLineOrGiveValuesInRange) {
    const std::vector<std::string> findings = Findings("command_line-");
    ASSERT_FALSE(findings.empty());
    for (const std::string& path : findings) {
        SCOPED_TRACE(path);
        CliRequest request;
        const std::string message =
            ParseCommandLine(SplitAtNul(fault_support::ReadBytes(path)), request);
        if (message.empty()) {
            EXPECT_GE(request.values.m_nAge, 0);
            EXPECT_LE(request.values.m_nAge, policy_limits::kMaxAge);
            continue;
        }
        EXPECT_EQ(message.find_first_of("\r\n\x1b"), std::string::npos) << message;
    }
}

} // namespace
