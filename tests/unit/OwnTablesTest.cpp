// SPDX-License-Identifier: GPL-3.0-or-later
// Pricing on the user's own mortality tables through tabulon-cli: --table-file, the batch
// table column, refused files and ages outside a table, and tables that reach age 150.
#include "FaultTestSupport.h"
#include "PublishedTables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using fault_support::CliResult;
using fault_support::CountLines;
using fault_support::RunCli;
using fault_support::ScratchFolder;

// q = 0.05 at ages 0..149; everybody dies in the year of age 150.
std::string TableToAge150() {
    std::string text = "age,qx\n";
    for (int x = 0; x <= 150; ++x)
        text += std::to_string(x) + (x < 150 ? ",0.05\n" : ",1\n");
    return text;
}

struct Refusal {
    const char* name;
    std::vector<std::string> args; // after "insurance"; FILE stands for the table file
    const char* table;             // the file's content
    int status;
    const char* message; // part of the one line on standard error
};

void PrintTo(const Refusal& r, std::ostream* out) {
    *out << r.name;
}

class TableFileRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(TableFileRefusals, EndWithOneLineAndTheirStatus) {
    const Refusal& r = GetParam();
    ScratchFolder scratch;
    published_tables::WriteTableFiles(scratch.Path());
    if (r.table != nullptr)
        fault_support::WriteBytes(scratch.Path("t.csv"), r.table);
    std::vector<std::string> args{"insurance"};
    for (const std::string& arg : r.args)
        args.push_back(arg == "FILE"   ? scratch.Path("t.csv")
                       : arg == "SULT" ? scratch.Path("SULT.csv")
                                       : arg);
    const CliResult result = RunCli(args, scratch);
    EXPECT_EQ(result.status, r.status) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(CountLines(result.err), 1u) << result.err;
    EXPECT_NE(result.err.find(r.message), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cli, TableFileRefusals,
    ::testing::Values(
        Refusal{"Missing", {"--table-file", "FILE"}, nullptr, 1, "t.csv\": No such file"},
        Refusal{"QAboveOne",
                {"--table-file", "FILE"},
                "age,qx\n0,0.5\n1,1.2\n",
                2,
                "as a mortality table: line 3: qx"},
        Refusal{"GapInAges", {"--table-file", "FILE"}, "age,qx\n0,0.5\n2,1\n", 2, "line 3:"},
        Refusal{"NoHeader", {"--table-file", "FILE"}, "0,0.5\n1,1\n", 2, "line 1:"},
        Refusal{"RisingL", {"--table-file", "FILE"}, "age,lx\n0,10\n1,12\n", 2, "line 3:"},
        Refusal{"TextInNumber", {"--table-file", "FILE"}, "age,qx\n0,0.5x\n", 2, "line 2:"},
        Refusal{"AgeBelowTable",
                {"--table-file", "SULT", "--age", "19"},
                nullptr,
                2,
                "--age: 19 is out of range; please enter a whole number from 20 to 130."},
        Refusal{"AgeAboveTable",
                {"--table-file", "SULT", "--age", "131"},
                nullptr,
                2,
                "from 20 to 130"},
        Refusal{"BothTables",
                {"--table", "2", "--table-file", "SULT"},
                nullptr,
                2,
                "--table and --table-file"},
        Refusal{"BuiltInAgeLimitStays", {"--age", "107"}, nullptr, 2, "from 0 to 106"}),
    [](const auto& info) { return std::string(info.param.name); });

// A table to age 150: every per-age column takes it, the mortality section lists the ages
// from the applicant's on, and a term past the table's end ends with the table.
TEST(TableFile, ReachesAge150) {
    ScratchFolder scratch;
    fault_support::WriteBytes(scratch.Path("old.csv"), TableToAge150());
    const CliResult whole = RunCli({"insurance", "--policy", "whole-life", "--table-file",
                                    scratch.Path("old.csv"), "--age", "140", "--mortality"},
                                   scratch);
    ASSERT_EQ(whole.status, 0) << whole.err;
    EXPECT_NE(whole.out.find("based on the old mortality table."), std::string::npos);
    EXPECT_NE(whole.out.find("\n  140 "), std::string::npos);
    EXPECT_NE(whole.out.find("\n  150 "), std::string::npos);
    EXPECT_EQ(whole.out.find("\n  139 "), std::string::npos);
    EXPECT_EQ(whole.out.find("\n  151 "), std::string::npos);

    const CliResult term =
        RunCli({"pension", "--policy", "term-annuity", "--table-file", scratch.Path("old.csv"),
                "--age", "150", "--term", "10", "--net-income"},
               scratch);
    ASSERT_EQ(term.status, 0) << term.err;
    EXPECT_NE(term.out.find("     151+"), std::string::npos) << term.out;
}

// The published SOA files load and price; no value the report defines is nan.
TEST(TableFile, PublishedXtbmlFilesPrice) {
    ScratchFolder scratch;
    for (const char* file : {"soa-17-1980-cso-basic-female-anb.xml",
                             "soa-3224-2015-vbt-female-nonsmoker-rr100-anb.xml"}) {
        for (const char* kind : {"insurance", "pension"}) {
            const CliResult result =
                RunCli({kind, "--table-file", std::string(TABULON_TEST_DATA) + "/tables/" + file,
                        "--age", "60", "--mortality", "--net-income"},
                       scratch);
            EXPECT_EQ(result.status, 0) << file << ": " << result.err;
            EXPECT_EQ(result.out.find("nan"), std::string::npos) << file << "\n" << result.out;
            EXPECT_NE(result.out.find("EDNI="), std::string::npos) << file;
        }
    }
}

// The table's name comes from the user's file and must break neither the JSON object nor
// the journal's lines.
TEST(TableFile, NameFromTheFileStaysOneLineAndValidJson) {
    ScratchFolder scratch;
    const std::string path = scratch.Path("a\"b\\c\nd.csv");
    fault_support::WriteBytes(path, TableToAge150());
    const CliResult result = RunCli({"insurance", "--table-file", path, "--json"}, scratch);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("\"table_name\":\"a\\\"b\\\\c d\""), std::string::npos) << result.out;
    const CliResult report = RunCli({"insurance", "--table-file", path}, scratch);
    EXPECT_NE(report.out.find("based on the a\"b\\c d mortality table.\n"), std::string::npos)
        << report.out;
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
    const CliResult result = RunCli({"batch", scratch.Path("rows.csv")}, scratch);
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
