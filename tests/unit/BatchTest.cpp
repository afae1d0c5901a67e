// SPDX-License-Identifier: GPL-3.0-or-later
// tabulon-cli batch reading CSV as other programs write it (byte-order mark, quoted fields,
// CR LF), from a file or through a pipe as standard input, in constant memory, and printing
// non-finite results as nan (batch) or null (JSON); refused rows are named by their line,
// with control bytes shown escaped, and rows may name table files.
#include "FaultTestSupport.h"
#include "PublishedTables.h"

#include <gtest/gtest.h>

#include <poll.h>

using fault_support::ChildLimits;
using fault_support::CliProcess;
using fault_support::CliResult;
using fault_support::CountLines;
using fault_support::RunCli;
using fault_support::ScratchFolder;
using fault_support::WriteBytes;

namespace {

const std::string kHeader = "kind,policy,table,age,term,rate,amount,given";
const std::string kResultHeader = "line,kind,policy,table,age,term,rate,amount,premium,"
                                  "unit_annual_pv,unit_amount_pv,edni\n";
const std::string kTermLife = "insurance,2,1,60,5,5,10000,amount";
const std::string kTermAnnuity = "pension,2,1,60,5,5,10000,amount";

// tabulon-cli batch - with input written into its standard input.
CliResult RunWithInput(const std::string& input) {
    return RunCli({"batch", "-"}, {}, input);
}

// The result row of a plain one-row file, given the line number it would stand on.
std::string Priced(std::size_t line, const std::string& row) {
    const CliResult result = RunWithInput(row + "\n");
    EXPECT_EQ(result.status, 0) << row << ": " << result.err;
    const std::string priced = result.out.substr(kResultHeader.size());
    return std::to_string(line) + priced.substr(priced.find(','));
}

struct BatchInput {
    const char* name;
    std::string bytes;
    std::vector<std::pair<std::size_t, std::string>> priced; // line, the same row written plainly
    std::vector<std::string> refused;                        // "LINE: reason", one per refused row
};

void PrintTo(const BatchInput& input, std::ostream* out) {
    *out << input.name;
}

class CliBatchInput : public ::testing::TestWithParam<BatchInput> {};

// The same bytes as a file and through a pipe as standard input give the same results;
// a refused row names its first line and shows at most 80 bytes of a field.
TEST_P(CliBatchInput, IsReadAsOtherProgramsWriteIt) {
    const BatchInput& input = GetParam();
    ScratchFolder scratch;
    std::string expected = kResultHeader;
    for (const auto& [line, row] : input.priced)
        expected += Priced(line, row);
    const std::string csv = scratch.Path("policies.csv");
    WriteBytes(csv, input.bytes);
    const CliResult fromFile = RunCli({"batch", csv});
    const CliResult fromPipe = RunWithInput(input.bytes);
    for (const auto& [result, name] : {std::pair{fromFile, csv}, {fromPipe, "(standard input)"}}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(result.status, input.refused.empty() ? 0 : 2) << result.err;
        EXPECT_EQ(result.out, expected);
        EXPECT_EQ(CountLines(result.err), input.refused.size()) << result.err;
        for (const std::string& refusal : input.refused)
            EXPECT_NE(result.err.find("tabulon-cli: " + name + ":" + refusal), std::string::npos)
                << result.err;
        std::istringstream lines(result.err);
        for (std::string line; std::getline(lines, line);)
            EXPECT_LT(line.size(), name.size() + 250) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CliBatchInput,
    ::testing::Values(
        BatchInput{"ByteOrderMarkBeforeTheHeader",
                   "\xEF\xBB\xBF" + kHeader + "\n" + kTermLife + "\n",
                   {{2, kTermLife}},
                   {}},
        BatchInput{
            "ByteOrderMarkBeforeARow", "\xEF\xBB\xBF" + kTermLife + "\n", {{1, kTermLife}}, {}},
        BatchInput{"QuotedHeaderAndFields",
                   "\"kind\",\"policy\",\"table\",\"age\",\"term\",\"rate\",\"amount\",\"given\"\n"
                   "\"insurance\",\"2\",\"1\",\" 60 \",\"5\",\"5\",\"10000\",\"amount\"\n",
                   {{2, kTermLife}},
                   {}},
        BatchInput{"CommaInsideQuotesStaysInTheField",
                   "insurance,2,1,60,5,5,\"10,000\",amount\n" + kTermLife + "\n",
                   {{2, kTermLife}},
                   {"1: --amount: please enter a number"}},
        BatchInput{"DoubledQuoteInsideQuotes",
                   "\"insu\"\"rance\",2,1,60,5,5,10000,amount\n",
                   {},
                   {"1: kind: 'insu\"rance'"}},
        // A row is one line: a quote open at the line's end refuses that line alone.
        BatchInput{"LineBreakInsideQuotes",
                   "\"pen\r\nsion\",2,1,60,5,5,10000,amount\n" + kTermAnnuity + "\n",
                   {{3, kTermAnnuity}},
                   {"1: unclosed quote", "2: kind: 'sion\"'"}},
        BatchInput{"CrLfAndLfRowEndsAndNoneAtTheEnd",
                   kHeader + "\r\n" + kTermLife +
                       "\r\n\"pension\",2,1,60,5,5,10000,\"amount\"\r\n" + kTermLife,
                   {{2, kTermLife}, {3, kTermAnnuity}, {4, kTermLife}},
                   {}},
        BatchInput{"QuoteNotClosed",
                   kTermLife + "\ninsurance,2,1,60,5,5,10000,\"amount\n" + kTermLife + "\n" +
                       kTermAnnuity + "\ninsurance,2,1,60,5,5,10000,\"amount",
                   {{1, kTermLife}, {3, kTermLife}, {4, kTermAnnuity}},
                   {"2: unclosed quote: a quoted field is not closed before the end of its line.",
                    "5: unclosed quote"}},
        BatchInput{"BlankLinesAreSkipped",
                   "\n  \r\n\t \n" + kTermLife + "\r\n\r\n \n" + kTermAnnuity,
                   {{4, kTermLife}, {7, kTermAnnuity}},
                   {}},
        // Control bytes alone are no blank line (they used to be skipped without a word).
        BatchInput{"LinesOfControlBytesAreRefused",
                   std::string("\x01\x02\r\n") + kTermLife + "\n \x1b \n\x7f\n" + kTermAnnuity +
                       std::string("\n\x00\n", 3),
                   {{2, kTermLife}, {5, kTermAnnuity}},
                   {"1: the line holds only control bytes", "3: the line holds only control bytes",
                    "4: the line holds only control bytes",
                    "6: the line holds only control bytes"}},
        BatchInput{"TextAfterTheClosingQuote",
                   "\"insurance\"s,2,1,60,5,5,10000,amount\n\"pension\" ,2,1,60,5,5,10000,amount\n",
                   {{2, kTermAnnuity}},
                   {"1: a quoted field is followed by text"}},
        BatchInput{"TenMegabyteField",
                   std::string(10 << 20, 'x') + ",2,1,60,5,5,10000,amount\n" + kTermLife + "\n",
                   {{2, kTermLife}},
                   {"1: kind: '" + std::string(80, 'x') +
                    "...' (the first 80 of 10485760 bytes) is too long for any value."}},
        BatchInput{"LongFieldIsCutInTheMessage",
                   "insurance," + std::string(300, 'y') + ",1,60,5,5,10000,amount\n",
                   {},
                   {"1: --policy: '" + std::string(80, 'y') + "...' (the first 80 of 300 bytes)"}}),
    [](const auto& info) { return std::string(info.param.name); });

// One unclosed quote early in a long file refuses its own line only: every row after it
// is priced (a quote used to run on to the end of the input and take every row with it).
TEST(CliBatchStream, UnclosedQuoteRefusesOnlyItsLine) {
    constexpr std::size_t kGoodRows = 100000;
    ScratchFolder scratch;
    std::string rows = kHeader + "\n" + kTermLife + "\ninsurance,2,1,\"60,5,5,10000,amount\n";
    for (std::size_t i = 0; i < kGoodRows; ++i)
        rows += kTermAnnuity + "\n";
    WriteBytes(scratch.Path("policies.csv"), rows);
    const CliResult result = RunCli({"batch", scratch.Path("policies.csv")});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "tabulon-cli: " + scratch.Path("policies.csv") +
                              ":3: unclosed quote: a quoted field is not closed before the end "
                              "of its line.\n");
    EXPECT_EQ(CountLines(result.out), kGoodRows + 2);
    EXPECT_EQ(result.out.substr(result.out.rfind('\n', result.out.size() - 2) + 1),
              Priced(kGoodRows + 3, kTermAnnuity));
}

// A pipe of rows is priced as the rows arrive: each result is out before the next row
// is written and while the input stays open.
TEST(CliBatchStream, RowsThroughAPipeArePricedAsTheyArrive) {
    const std::string first = Priced(1, kTermLife);
    const std::string second = Priced(2, kTermAnnuity);
    CliProcess cli({"batch", "-"});
    cli.Write(kTermLife + "\n");
    EXPECT_EQ(cli.ReadUntilLines(2), kResultHeader + first);
    cli.Write(kTermAnnuity + "\n");
    EXPECT_EQ(cli.ReadUntilLines(3), kResultHeader + first + second);
    cli.CloseInput();
    EXPECT_EQ(cli.Wait(), 0) << cli.Errors();
}

// 100,000 rows and 50 MB of comments go through a process limited to 32 MB of address
// space (the program itself takes about 6 MB): nothing is held beyond the row at hand.
TEST(CliBatchStream, ManyRowsRunInConstantMemory) {
    if (fault_support::kAddressSanitizer)
        GTEST_SKIP() << "an address-space limit cannot be set under the address sanitizer";
    constexpr std::size_t kRows = 100000;
    ChildLimits limits;
    limits.addressSpaceTotal = 32ll << 20;
    CliProcess cli({"batch", "-"}, limits);
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        ::close(cli.Output());
        const std::string comment = "#" + std::string(1 << 20, 'c') + "\n";
        std::string rows;
        for (std::size_t i = 1; i <= kRows; ++i) {
            rows += i % 2 ? kTermLife + "\n" : kTermAnnuity + "\n";
            if (i % 1000 == 0) {
                cli.Write(rows + (i % 2000 == 0 ? comment : ""));
                rows.clear();
            }
        }
        ::_exit(0);
    }
    cli.CloseInput();
    const std::string out = cli.ReadUntilLines(static_cast<std::size_t>(-1));
    int raw = 0;
    ::waitpid(writer, &raw, 0);
    ASSERT_EQ(cli.Wait(), 0) << cli.Errors();
    EXPECT_EQ(CountLines(out), kRows + 1);
    const std::size_t lastLine = kRows + (kRows - 1) / 2000; // a comment line after every 2,000
    EXPECT_EQ(out.substr(out.rfind('\n', out.size() - 2) + 1), Priced(lastLine, kTermAnnuity));
}

// Thousands of rows over 100 table files, more than are kept at once, every 89th row
// refused: priced on one thread and on three, the same lines in the same order and the
// same messages.
TEST(CliBatchStream, SeveralThreadsWriteWhatOneWritesInTheSameOrder) {
    ScratchFolder scratch;
    const std::string sult = published_tables::StandardUltimateLifeTableCsv();
    for (int i = 0; i < 100; ++i)
        WriteBytes(scratch.Path("t" + std::to_string(i) + ".csv"), sult);
    std::string rows = kHeader + "\n";
    for (int i = 0; i < 3000; ++i) {
        const std::string table = i % 3 == 0 ? std::to_string(1 + i % 4)
                                             : scratch.Path("t" + std::to_string(i % 100) + ".csv");
        rows += std::string(i % 2 ? "insurance," : "pension,") + "1," + table + "," +
                std::to_string(i % 89 == 0 ? 200 : 30 + i % 40) + "," + std::to_string(i % 20) +
                "," + std::to_string(i % 9) + ",1000,amount\n";
    }
    WriteBytes(scratch.Path("rows.csv"), rows);
    const CliResult one = RunCli({"batch", scratch.Path("rows.csv"), "--jobs", "1"});
    const CliResult three = RunCli({"batch", "--jobs=3", scratch.Path("rows.csv")});
    EXPECT_EQ(one.status, 2);
    EXPECT_EQ(CountLines(one.err), 34u) << one.err;
    EXPECT_EQ(CountLines(one.out), 1u + 3000u - 34u);
    EXPECT_TRUE(one.out == three.out);
    EXPECT_EQ(one.err, three.err);
}

// Results that are not finite (nobody alive at the age, no payment within the table, 0/0):
// batch writes nan (never -nan, whose sign differs between processors) and inf; JSON has no
// such number and writes null. Neither writes a negative zero (a solved amount of 0 times
// a negative number used to print as -0).
struct NonFinite {
    const char* name;
    std::vector<std::string> args; // the policy on the command line
    const char* row;               // the same policy as a batch row
    const char* results;           // batch's amount,premium,unit_annual_pv,unit_amount_pv,edni
    std::vector<const char*> nulls;
};

void PrintTo(const NonFinite& policy, std::ostream* out) {
    *out << policy.name;
}

class CliNonFinite : public ::testing::TestWithParam<NonFinite> {};

TEST_P(CliNonFinite, BatchWritesNanAndJsonWritesNull) {
    const NonFinite& policy = GetParam();
    const CliResult batch = RunWithInput(std::string(policy.row) + "\n");
    EXPECT_EQ(batch.status, 0) << batch.err;
    const std::string row = batch.out.substr(kResultHeader.size());
    EXPECT_EQ(row.substr(row.size() - std::strlen(policy.results) - 1),
              std::string(policy.results) + "\n");
    EXPECT_EQ(batch.out.find("-nan"), std::string::npos) << batch.out;

    std::vector<std::string> args = policy.args;
    args.push_back("--json");
    const CliResult json = RunCli(args);
    EXPECT_EQ(json.status, 0) << json.err;
    for (const char* key : policy.nulls)
        EXPECT_NE(json.out.find("\"" + std::string(key) + "\":null"), std::string::npos)
            << key << " in " << json.out;
    for (const char* word : {"nan", "inf", "NaN", "Infinity", ":-0,", ":-0}"})
        EXPECT_EQ(json.out.find(word), std::string::npos) << json.out;
    for (const char* zero : {",-0,", ",-0\n"})
        EXPECT_EQ(batch.out.find(zero), std::string::npos) << batch.out;
}

INSTANTIATE_TEST_SUITE_P(
    Results, CliNonFinite,
    ::testing::Values(NonFinite{"NobodyAliveAtTheAge",
                                {"insurance", "--policy", "1", "--table", "3", "--age", "106"},
                                "insurance,1,3,106,5,5,10000,amount",
                                "10000,nan,nan,nan,nan",
                                {"premium", "unit_annual_pv", "unit_amount_pv", "edni",
                                 "mean_age_at_death", "sd_lifetime"}},
                      NonFinite{"NobodyAliveAndPremiumGiven",
                                {"insurance", "--policy", "1", "--table", "3", "--age", "106",
                                 "--given", "premium"},
                                "insurance,1,3,106,5,5,10000,premium",
                                "nan,10000,nan,nan,nan",
                                {"amount", "edni"}},
                      NonFinite{"NoPaymentWithinTheTable",
                                {"pension", "--policy", "1", "--age", "106"},
                                "pension,1,1,106,5,5,10000,amount",
                                "10000,-inf,0,-1,nan",
                                {"payment", "edni"}},
                      // The amount solved is 0 times a negative number: written 0, not -0.
                      NonFinite{"NoPaymentWithinTheTablePaymentGiven",
                                {"pension", "--policy", "1", "--age", "106", "--given", "payment"},
                                "pension,1,1,106,5,5,10000,payment",
                                "0,10000,0,-1,0",
                                {}},
                      NonFinite{"NoPaymentAndNothingPaid",
                                {"pension", "--policy", "1", "--age", "106", "--amount", "0"},
                                "pension,1,1,106,5,5,0,amount",
                                "0,nan,0,-1,nan",
                                {"payment", "edni"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A batch file's refused row: one line naming the file, the row and the field, control
// bytes shown as \xNN; the good rows are still priced.
TEST(CliInputFaultsBatch, ControlBytesInARowAreShownEscapedOnOneLine) {
    ScratchFolder scratch;
    const std::string csv = scratch.Path("policies.csv");
    WriteBytes(
        csv, "insurance,2,1,60,5,5,10000,amount\r\ninsur\x1b[2J\rance,2,1,60,5,5,10000,amount\r\n");
    const fault_support::CliResult result = RunCli({"batch", csv});
    EXPECT_EQ(result.status, 2) << result.err;
    EXPECT_EQ(CountLines(result.out), 2u) << result.out;
    EXPECT_EQ(CountLines(result.err), 1u) << result.err;
    EXPECT_NE(result.err.find(csv + ":2: kind: 'insur\\x1B[2J\\x0Dance'"), std::string::npos)
        << result.err;
}

// Rows name table files by path: each file is read once, a refused file refuses its rows
// with their line numbers, and the other rows are priced.
TEST(TableFile, BatchRowsNameTableFiles) {
    ScratchFolder scratch;
    published_tables::WriteTableFiles(scratch.Path());
    fault_support::WriteBytes(scratch.Path("bad.csv"), "age,qx\n0,2\n");
    const std::string sult = scratch.Path("SULT.csv"), bad = scratch.Path("bad.csv");
    fault_support::WriteBytes(scratch.Path("rows.csv"),
                              "kind,policy,table,age,term,rate,amount,given\n"
                              "insurance,1," +
                                  sult +
                                  ",60,5,5,1,amount\n"
                                  "insurance,1," +
                                  bad +
                                  ",60,5,5,1,amount\n"
                                  "insurance,1,1,60,5,5,1,amount\n"
                                  "insurance,1," +
                                  sult +
                                  ",19,5,5,1,amount\n"
                                  "insurance,1," +
                                  bad +
                                  ",60,5,5,1,amount\n"
                                  "insurance,1," +
                                  scratch.Path("none.csv") + ",60,5,5,1,amount\n");
    const CliResult result = RunCli({"batch", scratch.Path("rows.csv")});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(CountLines(result.out), 3u) << result.out;
    EXPECT_NE(result.out.find("\n2,insurance,1," + sult + ",60,5,5,1,"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("\n4,insurance,1,1,60,"), std::string::npos) << result.out;
    const std::string prefix = "tabulon-cli: " + scratch.Path("rows.csv") + ":";
    for (const std::string& line :
         {prefix + "3: table: Cannot use \"" + bad + "\" as a mortality table: line 2:",
          prefix + "5: --age: 19 is out of range; please enter a whole number from 20 to 130.",
          prefix + "6: table: Cannot use \"" + bad + "\"",
          prefix + "7: table: Cannot open \"" + scratch.Path("none.csv") + "\""})
        EXPECT_NE(result.err.find(line), std::string::npos) << line << "\n" << result.err;
    EXPECT_EQ(CountLines(result.err), 4u) << result.err;
}

} // namespace
