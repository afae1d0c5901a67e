// SPDX-License-Identifier: GPL-3.0-or-later
// tabulon-cli price as scripts call it: refusals, the JSON object, the report lines and
// --batch.
#include "CaseNames.h"
#include "Pricing.h"
#include "ProductReport.h"
#include "ProductTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using fault_support::RunCli;
using namespace product_support;

struct RefusalCase {
    const char* name;
    std::vector<std::string> args; // after "price"
    const char* says;              // the option and value the one line names
};

void PrintTo(const RefusalCase& c, std::ostream* out) {
    *out << c.name;
}

class PriceRefusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(PriceRefusals, ExitWithStatusTwoAndOneLineNamingTheOptionAndValue) {
    std::vector<std::string> args = {"price"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const fault_support::CliResult cli = RunCli(args);
    EXPECT_EQ(cli.status, 2) << cli.err;
    EXPECT_EQ(cli.out, "");
    EXPECT_EQ(fault_support::CountLines(cli.err), 1u) << cli.err;
    EXPECT_NE(cli.err.find(GetParam().says), std::string::npos) << cli.err;
}

// Table 1 runs from age 0 to 106; l is 0 at 106 in table 3.
const RefusalCase kRefusals[] = {
    {"unknown kind", {"--age", "40", "--benefit", "annuities"}, "--benefit: 'annuities'"},
    {"unknown key", {"--age", "40", "--benefit", "term,term=5,size=3"}, "'term,term=5,size=3'"},
    {"term without a term", {"--age", "40", "--benefit", "term"}, "--benefit: 'term'"},
    {"endowment without a term",
     {"--age", "40", "--benefit", "endowment,amount=5"},
     "'endowment,amount=5'"},
    {"pure endowment without a term",
     {"--age", "40", "--benefit", "pure-endowment"},
     "'pure-endowment'"},
    {"frequency three",
     {"--age", "40", "--benefit", "annuity,frequency=3"},
     "'annuity,frequency=3'"},
    {"premium frequency six",
     {"--age", "40", "--benefit", "whole-life", "--premium-frequency", "6"},
     "--premium-frequency: '6'"},
    {"negative amount",
     {"--age", "40", "--benefit", "whole-life,amount=-5"},
     "'whole-life,amount=-5'"},
    {"infinite amount",
     {"--age", "40", "--benefit", "whole-life,amount=1e999"},
     "'whole-life,amount=1e999'"},
    {"rate over 100",
     {"--age", "40", "--benefit", "whole-life", "--rate", "100.5"},
     "--rate: '100.5'"},
    {"negative rate", {"--age", "40", "--benefit", "whole-life", "--rate", "-1"}, "--rate: '-1'"},
    {"rate with five decimals",
     {"--age", "40", "--benefit", "whole-life", "--rate", "3.25001"},
     "--rate: '3.25001'"},
    {"age past the table", {"--age", "107", "--benefit", "whole-life"}, "--age: '107'"},
    {"age where nobody lives",
     {"--age", "106", "--table", "3", "--benefit", "whole-life"},
     "--age: '106'"},
    {"term past the table",
     {"--age", "100", "--benefit", "term,term=8"},
     "--benefit: 'term,term=8'"},
    {"deferral and term past the table",
     {"--age", "90", "--benefit", "annuity,term=10,deferral=8"},
     "'annuity,term=10,deferral=8'"},
    {"premiums longer than the product",
     {"--age", "40", "--benefit", "term,term=10", "--premium-term", "11"},
     "--premium-term: '11'"},
    {"unknown convention",
     {"--age", "40", "--benefit", "whole-life", "--fractional", "linear"},
     "--fractional: 'linear'"},
    {"no benefit", {"--age", "40"}, "--benefit"},
    {"no age", {"--benefit", "whole-life"}, "--age"},
    {"an option as a value", {"--age", "--json", "--benefit", "whole-life"}, "--age needs a value"},
    {"no threads", {"--batch", "-", "--jobs", "0"}, "--jobs: '0'"},
    {"threads without a batch",
     {"--age", "40", "--benefit", "whole-life", "--jobs", "2"},
     "--jobs"},
    {"unknown option", {"--age", "40", "--benefit", "whole-life", "--colour"}, "'--colour'"},
    {"select on a table by age alone",
     {"--age", "40", "--table-file", std::string(TABULON_STANDARD_TABLES) + "/SULT.csv",
      "--benefit", "whole-life", "--select"},
     "/SULT.csv' has no select rates."},
    {"select on a built-in table",
     {"--age", "40", "--benefit", "whole-life", "--select"},
     "--select: "},
    {"select life past the select table's issue ages",
     {"--age", "129", "--table-file", std::string(TABULON_STANDARD_TABLES) + "/SSSM.csv",
      "--benefit", "whole-life", "--select"},
     "--age: '129' is not accepted; use an age from 18 to 128, the select table's issue ages"},
    {"second age past the table",
     {"--age", "40", "--benefit", "whole-life", "--second-age", "107"},
     "--second-age: '107'"},
    {"second age where nobody lives",
     {"--age", "40", "--benefit", "whole-life", "--second-age", "106", "--second-table", "3"},
     "--second-age: '106'"},
    {"unknown second table",
     {"--age", "40", "--benefit", "whole-life", "--second-age", "30", "--second-table", "9"},
     "--second-table: '9'"},
    {"two second tables",
     {"--age", "40", "--benefit", "whole-life", "--second-age", "30", "--second-table", "2",
      "--second-table-file", "x.csv"},
     "--second-table and --second-table-file"},
    {"unknown status",
     {"--age", "40", "--benefit", "whole-life", "--second-age", "30", "--lives", "both"},
     "--lives: 'both'"},
    {"status without a second life",
     {"--age", "40", "--benefit", "whole-life", "--lives", "joint"},
     "--lives: a second life needs --second-age"},
    {"reversionary cover",
     {"--age", "40", "--benefit", "term,term=10", "--second-age", "30", "--lives", "reversionary"},
     "--lives: 'reversionary'"},
    {"unknown premium status",
     {"--age", "40", "--benefit", "whole-life", "--second-age", "30", "--premium-status", "first"},
     "--premium-status: 'first'"},
    {"negative expense",
     {"--age", "40", "--benefit", "whole-life", "--expenses", "initial=-5"},
     "--expenses: 'initial=-5'"},
    {"whole premium to expenses",
     {"--age", "40", "--benefit", "whole-life", "--expenses", "initial-premium=100"},
     "--expenses: 'initial-premium=100'"},
    {"unknown expense",
     {"--age", "40", "--benefit", "whole-life", "--expenses", "admin=5"},
     "--expenses: 'admin=5'"},
    {"expense twice",
     {"--age", "40", "--benefit", "whole-life", "--expenses", "claim=5,claim=6"},
     "--expenses: 'claim=5,claim=6'"},
    {"joint term past the older life's table",
     {"--age", "90", "--benefit", "term,term=20", "--second-age", "30"},
     "--benefit: 'term,term=20'"},
};

INSTANTIATE_TEST_SUITE_P(Price, PriceRefusals, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) {
                             return testing_support::CaseName(info.param.name);
                         });

// Accepted at the table's end: a 7-year term at 100 on a table whose last age is 106.
TEST(PriceCommand, TermEndingAtTheTablesEndIsAccepted) {
    const fault_support::CliResult cli =
        RunCli({"price", "--age", "100", "--benefit", "term,term=7", "--json"});
    EXPECT_EQ(cli.status, 0) << cli.err;
}

// Spellings of one rate and one amount: blanks, a plus sign, trailing zeros, an exponent.
// Each prints the JSON of the plain form, byte for byte.
TEST(PriceCommand, AcceptedSpellingsPrintThePlainFormsJson) {
    const auto json = [](const std::string& rate, const std::string& amount) {
        return RunCli({"price", "--age", "50", "--rate", rate, "--benefit",
                       "endowment,term=10,amount=" + amount, "--json"});
    };
    const fault_support::CliResult plain = json("3.25", "1500");
    ASSERT_EQ(plain.status, 0) << plain.err;
    for (const auto& [rate, amount] : {std::pair<std::string, std::string>{" 3.25 ", "1500."},
                                       {"+3.2500", "1.5e3"},
                                       {"325e-2", "+1500"},
                                       {"0.0325e2", " 1500.000 "}}) {
        const fault_support::CliResult spelt = json(rate, amount);
        EXPECT_EQ(spelt.status, 0) << spelt.err;
        EXPECT_EQ(spelt.out, plain.out) << "rate '" << rate << "', amount '" << amount << "'";
    }
}

double JsonNumber(const std::string& json, const std::string& name) {
    const std::size_t at = json.find("\"" + name + "\":");
    return at == std::string::npos ? std::nan("")
                                   : std::strtod(json.c_str() + at + name.size() + 3, nullptr);
}

// The worked example: 1,000 of cover for 20 years and 2,500 a year from 65 on (45), SULT at
// 5%, premiums for 20 years: P = 944.16. The JSON numbers read back as the engine's own.
TEST(PriceCommand, TwoLegProductPrintsTheEnginesValuesAtFullPrecision) {
    fault_support::ScratchFolder scratch;
    published_tables::WriteTableFiles(scratch.Path());
    const fault_support::CliResult cli =
        RunCli({"price", "--age", "45", "--table-file", scratch.Path("SULT.csv"), "--benefit",
                "term,amount=1000,term=20", "--benefit", "annuity,amount=2500,deferral=20",
                "--premium-term", "20", "--policy-values", "--json"});
    ASSERT_EQ(cli.status, 0) << cli.err;
    const Product product = WithPremiums(
        Of({Leg(LegKind::Term, 1000, 20), Annuity(0, 1, Timing::Advance, 20, 2500)}), 20);
    const Valuation engine =
        ValueProduct(Published().tables, {Published().sult, 45}, {}, product, true);
    EXPECT_EQ(JsonNumber(cli.out, "net_premium"), engine.netPremium) << cli.out;
    EXPECT_EQ(JsonNumber(cli.out, "benefit_epv"), engine.benefitEpv);
    EXPECT_EQ(JsonNumber(cli.out, "premium_annuity_epv"), engine.premiumAnnuityEpv);
    EXPECT_EQ(JsonNumber(cli.out, "loss_sd"), engine.lossSd);
    EXPECT_NEAR(engine.netPremium, 944.16, 5e-3);
    EXPECT_NE(cli.out.find("\"fractional\":\"udd\""), std::string::npos);
    EXPECT_NE(cli.out.find("\"table_name\":\"SULT\""), std::string::npos);
    // The SULT ends at 130: the schedule runs to duration 86, where nobody is left.
    EXPECT_NE(cli.out.find("{\"duration\":86,\"net\":0,\"gross\":0}]"), std::string::npos)
        << cli.out;
    EXPECT_EQ(cli.out.find("-0,"), std::string::npos) << cli.out;
    EXPECT_EQ(cli.out.back(), '\n');
    EXPECT_EQ(fault_support::CountLines(cli.out), 1u);
}

// Two lives and expenses reach the JSON object with the engine's values, and the report
// names both lives and the status.
TEST(PriceCommand, TwoLivesWithExpensesPrintTheEnginesNetAndGrossValues) {
    fault_support::ScratchFolder scratch;
    published_tables::WriteTableFiles(scratch.Path());
    const std::vector<std::string> args = {"price",
                                           "--age",
                                           "60",
                                           "--table-file",
                                           scratch.Path("ILT.csv"),
                                           "--second-age",
                                           "55",
                                           "--lives",
                                           "last-survivor",
                                           "--benefit",
                                           "endowment,amount=1000,term=20",
                                           "--premium-term",
                                           "20",
                                           "--rate",
                                           "6",
                                           "--expenses",
                                           "initial=50,initial-premium=30,renewal=5,claim=10",
                                           "--policy-values"};
    std::vector<std::string> json = args;
    json.push_back("--json");
    const fault_support::CliResult cli = RunCli(json);
    ASSERT_EQ(cli.status, 0) << cli.err;
    const int ilt = Published().ilt;
    const PricedProduct engine = PriceProduct(
        Published().tables, {ilt, 60}, SecondLife{{ilt, 55}, LifeStatus::LastSurvivor, false},
        {6.0, FractionalAge::Udd}, WithPremiums(Of({Leg(LegKind::Endowment, 1000, 20)}), 20),
        {50, 30, 5, 0, 10}, true);
    EXPECT_EQ(JsonNumber(cli.out, "net_premium"), engine.net.netPremium) << cli.out;
    EXPECT_EQ(JsonNumber(cli.out, "gross_premium"), engine.gross.premium);
    EXPECT_GT(engine.gross.premium, engine.net.netPremium);
    EXPECT_NE(cli.out.find("\"lives\":\"last-survivor\",\"premium_status\":\"joint\""),
              std::string::npos);
    EXPECT_NE(cli.out.find("{\"duration\":20,\"net\":1000,\"gross\":1000}]"), std::string::npos)
        << cli.out;
    const fault_support::CliResult text = RunCli(args);
    ASSERT_EQ(text.status, 0) << text.err;
    for (const char* shown :
         {"First life                  age 60, table ILT",
          "Second life                 age 55, table ILT", "last-survivor: while either is alive",
          "Gross premium", "Gross policy value"})
        EXPECT_NE(text.out.find(shown), std::string::npos) << shown << "\n" << text.out;
}

// Moments over the curtate time of death need yearly legs: null for a monthly annuity.
TEST(PriceCommand, UndefinedMomentsAreNullAndTheConventionIsNamed) {
    const fault_support::CliResult json =
        RunCli({"price", "--age", "60", "--benefit", "annuity,frequency=12", "--fractional",
                "woolhouse3", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    for (const char* name : {"benefit_second_moment", "benefit_sd", "loss_sd"})
        EXPECT_NE(json.out.find(std::string("\"") + name + "\":null"), std::string::npos) << name;
    EXPECT_NE(json.out.find("\"fractional\":\"woolhouse3\""), std::string::npos);
    const fault_support::CliResult text =
        RunCli({"price", "--age", "60", "--benefit", "annuity,frequency=12", "--fractional",
                "woolhouse3"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("woolhouse3 (Woolhouse, three terms)"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("undefined"), std::string::npos) << text.out;
}

// The report lines are one writer's, shared with the desktop journal: a rate prints as
// typed (3.1 printed as 3.1000000000000001 while it went through 17 significant digits),
// and the spread of the present values is left out only when the caller asks.
TEST(PriceCommand, ReportPrintsTheRateAsTypedAndTheSpreadOnRequest) {
    struct Case {
        const char* rate;
        const char* shown;
    };
    for (const Case& c :
         {Case{"3.1", "3.1% a year"}, Case{"5", "5% a year"}, Case{"0.0001", "0.0001% a year"},
          Case{"99.9999", "99.9999% a year"}, Case{"0", "0% a year"}}) {
        const fault_support::CliResult text =
            RunCli({"price", "--age", "45", "--rate", c.rate, "--benefit", "whole-life"});
        ASSERT_EQ(text.status, 0) << text.err;
        EXPECT_NE(text.out.find(std::string("Interest rate               ") + c.shown + "\n"),
                  std::string::npos)
            << text.out;
    }
    TableRegistry tables;
    Product product;
    product.benefits.push_back(BenefitLeg());
    const Life life{1, 45};
    const Valuation value = ValueProduct(tables, life, Basis(), product, true);
    const std::string full = ProductReportText(life, Basis(), product, "T", value, true, true);
    const std::string bare = ProductReportText(life, Basis(), product, "T", value, false, false);
    EXPECT_NE(full.find("Loss at issue, sd"), std::string::npos);
    EXPECT_NE(full.find("Policy values, just before"), std::string::npos);
    EXPECT_EQ(bare.find("second moment"), std::string::npos);
    EXPECT_EQ(bare.find("Policy values"), std::string::npos);
    EXPECT_EQ(full.substr(0, bare.size()), bare); // the same lines up to the net premium
}

// Rows in input order, a refused row named by its line on standard error (status 2), the same
// results from a file and through standard input.
TEST(PriceBatch, PricesRowsInOrderAndNamesTheLineOfARefusedRow) {
    fault_support::ScratchFolder scratch;
    published_tables::WriteTableFiles(scratch.Path());
    const std::string rows =
        "age,table,rate,benefit,premium-term,policy-values\n"
        "45," +
        scratch.Path("SULT.csv") +
        ",5,\"term,amount=1000,term=20;annuity,amount=2500,deferral=20\",20,no\n"
        "60,1,3.25,whole-life,life,yes\n"
        "70,2,5,\"term,term=50\",,\n"
        "30,national-female,,endowment,,\n";
    fault_support::WriteBytes(scratch.Path("rows.csv"), rows);
    const fault_support::CliResult fromFile =
        RunCli({"price", "--batch", scratch.Path("rows.csv")});
    const fault_support::CliResult fromPipe = RunCli({"price", "--batch", "-"}, {}, rows);
    EXPECT_EQ(fromFile.status, 2);
    EXPECT_EQ(fromPipe.status, 2);
    EXPECT_EQ(fromFile.out, fromPipe.out);
    EXPECT_EQ(fault_support::CountLines(fromFile.out), 2u) << fromFile.out;
    EXPECT_EQ(fromFile.out.rfind("{\"line\":2,", 0), 0u) << fromFile.out;
    EXPECT_NE(fromFile.out.find("\n{\"line\":3,"), std::string::npos) << fromFile.out;
    EXPECT_NEAR(JsonNumber(fromFile.out, "net_premium"), 944.16, 5e-3);
    EXPECT_EQ(fault_support::CountLines(fromFile.err), 2u) << fromFile.err;
    EXPECT_NE(fromFile.err.find("rows.csv:4: benefit: 'term,term=50'"), std::string::npos)
        << fromFile.err;
    EXPECT_NE(fromFile.err.find("rows.csv:5: benefit: 'endowment'"), std::string::npos)
        << fromFile.err;
}

// Thousands of rows, every 97th refused, every 5th on one of 100 table files (more than are
// kept at once) and every 7th on two lives, the second on a table file too: priced on one
// thread and on three, the same lines in the same order, the same messages.
TEST(PriceBatch, SeveralThreadsWriteWhatOneWritesInTheSameOrder) {
    fault_support::ScratchFolder scratch;
    const std::string ilt = published_tables::IllustrativeLifeTableCsv();
    const auto file = [&](int i) { return scratch.Path("ILT" + std::to_string(i % 100) + ".csv"); };
    for (int i = 0; i < 100; ++i)
        fault_support::WriteBytes(file(i), ilt);
    std::string rows = "benefit,age,table,premium-term,rate,second-age,second-table\n";
    for (int i = 0; i < 5000; ++i) {
        const std::string table = i % 5 == 0 ? file(i / 5) : std::to_string(1 + i % 4);
        const std::string benefit =
            i % 97 == 0 ? "term"
                        : "\"endowment,term=" + std::to_string(1 + i % 30) + ",frequency=4\"";
        const std::string second =
            i % 7 == 0 ? std::to_string(25 + i % 40) + "," + file(i / 7 + 50) : ",";
        rows += benefit + "," + std::to_string(20 + i % 50) + "," + table + "," +
                std::to_string(i % 10) + "," + std::to_string(i % 7) + "," + second + "\n";
    }
    fault_support::WriteBytes(scratch.Path("rows.csv"), rows);
    const fault_support::CliResult one =
        RunCli({"price", "--batch", scratch.Path("rows.csv"), "--jobs", "1"});
    const fault_support::CliResult three =
        RunCli({"price", "--batch", scratch.Path("rows.csv"), "--jobs=3"});
    EXPECT_EQ(one.status, 2);
    EXPECT_EQ(three.status, 2);
    EXPECT_EQ(fault_support::CountLines(one.err), 52u);
    EXPECT_EQ(fault_support::CountLines(one.out), 5000u - 52u);
    EXPECT_TRUE(one.out == three.out);
    EXPECT_EQ(one.err, three.err);
    // Each row was priced on the tables it names, read again after they were let go.
    std::size_t rowsChecked = 0;
    for (std::size_t at = 0; at < three.out.size(); at = three.out.find('\n', at) + 1) {
        const int i = std::atoi(three.out.c_str() + at + 8) - 2; // {"line":N,
        const std::string row = three.out.substr(at, three.out.find('\n', at) - at);
        if (i % 5 == 0) {
            EXPECT_NE(row.find("\"table_name\":\"ILT" + std::to_string(i / 5 % 100) + "\""),
                      std::string::npos)
                << row;
        }
        if (i % 7 == 0) {
            EXPECT_NE(
                row.find("\"second_table_name\":\"ILT" + std::to_string((i / 7 + 50) % 100) + "\""),
                std::string::npos)
                << row;
        }
        ++rowsChecked;
    }
    EXPECT_EQ(rowsChecked, 5000u - 52u);
}

// Each column of a batch row prices as its option does: the row's JSON line is the single
// command's --json object with the row's line in front, bit for bit.
TEST(PriceBatch, EveryColumnPricesAsItsOption) {
    const std::string sssm = std::string(TABULON_STANDARD_TABLES) + "/SSSM.csv";
    struct Case {
        const char* what;
        std::string header, row;
        std::vector<std::string> options;
    };
    const Case cases[] = {
        {"AMLCR Example 7.1: 20-year endowment on the select life [50], SSSM 5%",
         "age,table,benefit,premium-term,select",
         "50," + sssm + ",\"endowment,amount=500000,term=20\",20,yes",
         {"--age", "50", "--table-file", sssm, "--benefit", "endowment,amount=500000,term=20",
          "--premium-term", "20", "--select"}},
        {"last-survivor annuity with expenses",
         "age,table,benefit,second-age,second-table,lives,premium-status,expenses,policy-values",
         "60,1,\"annuity,frequency=12\",70,national-female,last-survivor,last-survivor,"
         "\"initial=100,renewal=5,renewal-premium=3\",yes",
         {"--age", "60", "--benefit", "annuity,frequency=12", "--second-age", "70",
          "--second-table", "national-female", "--lives", "last-survivor", "--premium-status",
          "last-survivor", "--expenses", "initial=100,renewal=5,renewal-premium=3",
          "--policy-values"}},
        {"reversionary annuity, second table from a file, rate and premium term",
         "age,rate,benefit,second-age,second-table,lives,premium-term,select",
         "55,3.5,annuity,52," + sssm + ",reversionary,10,no",
         {"--age", "55", "--rate", "3.5", "--benefit", "annuity", "--second-age", "52",
          "--second-table-file", sssm, "--lives", "reversionary", "--premium-term", "10"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fault_support::CliResult row =
            RunCli({"price", "--batch", "-"}, {}, c.header + "\n" + c.row + "\n");
        std::vector<std::string> single = {"price"};
        single.insert(single.end(), c.options.begin(), c.options.end());
        single.push_back("--json");
        const fault_support::CliResult alone = RunCli(single);
        ASSERT_EQ(row.status, 0) << row.err;
        ASSERT_EQ(alone.status, 0) << alone.err;
        EXPECT_EQ(row.out, "{\"line\":2," + alone.out.substr(1));
    }
    const fault_support::CliResult refused =
        RunCli({"price", "--batch", "-"}, {}, "age,benefit,select\n50,whole-life,maybe\n");
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find(":2: select: 'maybe' is not accepted; use yes or no."),
              std::string::npos)
        << refused.err;
}

} // namespace
