// SPDX-License-Identifier: GPL-3.0-or-later
// tabulon-cli as scripts use it: the printed lines are the journal's, options and checks,
// the journal file, JSON and batch output.
#include "TestSupport.h"

#include "FaultTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using testing_support::Report;
using testing_support::Values;

namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class Cli : public ::testing::Test {
protected:
    Result Run(const std::string& args) const {
        const std::string out = Path("stdout"), err = Path("stderr");
        const std::string command =
            std::string(TABULON_CLI) + " " + args + " >" + out + " 2>" + err + " </dev/null";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
    }
    std::string Path(const std::string& name) const { return m_folder.Path(name); }

    fault_support::ScratchFolder m_folder;
};

std::string Joined(const std::vector<std::string>& lines, const char* end) {
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

TEST_F(Cli, PrintsExactlyTheLinesARunAppends) {
    PolicyDialogData values = Values(2, 0, 30, 4, 25000, 3);
    values.m_bMortality = 1;
    values.m_bNetIncome = 1;
    const Result r = Run("insurance --policy endowment --table regional-female --age 0 --term 30 "
                         "--rate 4 --amount 25000 --mortality --net-income");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, Joined(Report(PolicyKind::Insurance, values), "\n"));
}

TEST_F(Cli, DefaultsAreTheDialogsOpeningValues) {
    const Result r = Run("pension");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Joined(Report(PolicyKind::Pension, Values(1)), "\n"));
    PolicyDialogData payment = Values(0, 60, 5, 5, 973.01f);
    payment.m_nInputKind = 2;
    EXPECT_EQ(Run("pension --policy=1 --given payment --amount=973.01").out,
              Joined(Report(PolicyKind::Pension, payment), "\n"));
}

TEST_F(Cli, BadValuesPrintOneLineNamingTheOptionAndNothingElse) {
    for (const char* args :
         {"insurance --age 107", "insurance --term 0", "pension --policy 3",
          "insurance --amount 1,000", "insurance --rate 5.5", "insurance --table mars",
          "insurance --given payment", "insurance --age", "insurance --bogus", "annuity"}) {
        const Result r = Run(std::string(args) + " --journal " + Path("untouched"));
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
        EXPECT_NE(::access(Path("untouched").c_str(), F_OK), 0) << args;
    }
    EXPECT_NE(Run("insurance --age 107").err.find("--age"), std::string::npos);
    EXPECT_NE(Run("insurance --policy 2 --term 0").err.find("--term"), std::string::npos);
    // Whole life does not use the term, so 0 is fine there.
    EXPECT_EQ(Run("insurance --policy whole-life --term 0").status, 0);
}

TEST_F(Cli, JournalFileStartsNewAndThenGrowsRunByRun) {
    const std::string journal = Path("my journal");
    const Result first = Run("insurance --journal '" + journal + "'");
    ASSERT_EQ(first.status, 0) << first.err;
    const std::vector<std::string> report = Report(PolicyKind::Insurance, Values(1));
    const std::string opening = "LIFE INSURANCE AND PENSIONS, journal of calculations.\r\n"
                                "    To start program, click on `Type of policy'.\r\n";
    EXPECT_EQ(ReadFile(journal), opening + Joined(report, "\r\n"));
    ASSERT_EQ(Run("insurance --journal '" + journal + "'").status, 0);
    EXPECT_EQ(ReadFile(journal), opening + Joined(report, "\r\n") + Joined(report, "\r\n"));
}

TEST_F(Cli, UnreadableJournalExitsWithStatusOneAndTheReason) {
    const Result r = Run("insurance --journal " + m_folder.Path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(m_folder.Path()), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Is a directory"), std::string::npos) << r.err;
}

TEST_F(Cli, JsonCarriesTheResultsAtFullPrecision) {
    const Result r = Run("insurance --policy 2 --json");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out.front(), '{');
    EXPECT_EQ(r.out.substr(r.out.size() - 2), "}\n");
    EXPECT_NE(r.out.find("\"premium\":207.04499565617"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"unit_annual_pv\":4.375607001961"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"edni\":"), std::string::npos);
    // Nobody alive on table 3 at 106: non-finite results become null.
    EXPECT_NE(Run("insurance --table 3 --age 106 --json").out.find("\"premium\":null"),
              std::string::npos);
}

TEST_F(Cli, BatchPricesGoodRowsAndReportsBadOnesByLine) {
    std::ofstream(Path("policies.csv")) << "kind,policy,table,age,term,rate,amount,given\n"
                                           "insurance,term-life,1,60,5,5,10000,amount\n"
                                           "pension,9,1,60,5,5,10000,amount\n"
                                           "pension,2,national-male,60,5,5,10000,amount\n";
    const Result r = Run("batch " + Path("policies.csv"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("policies.csv:3:"), std::string::npos) << r.err;
    std::istringstream rows(r.out);
    std::string header, first, second, extra;
    std::getline(rows, header);
    std::getline(rows, first);
    std::getline(rows, second);
    EXPECT_FALSE(std::getline(rows, extra));
    EXPECT_EQ(first.rfind("2,insurance,2,1,60,5,5,10000,207.04499565617", 0), 0u) << first;
    EXPECT_EQ(second.rfind("4,pension,2,1,60,5,5,10000,2452.99", 0), 0u) << second;
}

TEST_F(Cli, HelpAndVersion) {
    const Result help = Run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--net-income"), std::string::npos);
    EXPECT_EQ(Run("--version").out, "tabulon-cli " TABULON_PROJECT_VERSION "\n");
    EXPECT_EQ(Run("").status, 2);
}

} // namespace
