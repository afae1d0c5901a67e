// SPDX-License-Identifier: GPL-3.0-or-later
// Select-and-ultimate tables in: the select CSV (what it accepts, each refusal with its line
// and column), the select part of an XTbML file, and the Standard Select Survival Model that
// ships with Tabulon, held against its published l.
#include "MortalityTableData.h"
#include "TableFile.h"
#include "TableFormatError.h"

#include "CaseNames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

const std::string kPath = "tables/select.csv";
const std::string kStandard = std::string(TABULON_STANDARD_TABLES) + "/";
const std::string kTables = std::string(TABULON_TEST_DATA) + "/tables/";

struct SelectRefusal {
    const char* name;
    std::string text;
    const char* problem; // what the message says after the file's name
};

void PrintTo(const SelectRefusal& refusal, std::ostream* out) {
    *out << refusal.name;
}

class SelectCsvRefusals : public ::testing::TestWithParam<SelectRefusal> {};

TEST_P(SelectCsvRefusals, RefusedNamingFileLineColumnAndProblem) {
    try {
        const MortalityTableData table = ParseMortalityTable(GetParam().text, kPath);
        ADD_FAILURE() << "accepted " << table.select.rows.size() << " issue ages";
    } catch (const TableFormatError& error) {
        EXPECT_EQ(error.GetFileName(), kPath);
        EXPECT_EQ(error.GetProblem(), GetParam().problem);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, SelectCsvRefusals,
    ::testing::Values(
        SelectRefusal{"DurationsOutOfOrder", "age,1,3,ultimate\n",
                      "line 1: the header of a select table must be age,1,2,...,k,ultimate, "
                      "not \"age,1,3,ultimate\""},
        SelectRefusal{"NoUltimateColumn", "age,1,2\n20,0.1,0.2\n",
                      "line 1: the header of a select table must be age,1,2,...,k,ultimate, "
                      "not \"age,1,2\""},
        SelectRefusal{"ShortRow", "age,1,2,ultimate\n20,0.1,0.2\n",
                      "line 2: a row holds 4 fields, as the header, not 3"},
        SelectRefusal{"RateAboveOne", "age,1,2,ultimate\n20,0.1,0.2,0.3\n21,0.1,1.5,0.3\n",
                      "line 3, column 3: \"1.5\" lies outside 0 to 1"},
        SelectRefusal{"TextInARate", "age,1,2,ultimate\n20,0.1,x,0.3\n",
                      "line 2, column 3: \"x\" is not a number"},
        SelectRefusal{"FirstRateEmpty", "age,1,2,ultimate\n20,,0.2,0.3\n",
                      "line 2, column 2: q[x] is empty; a row needs its first rate"},
        SelectRefusal{"RateAfterAnEmptyCell", "age,1,2,3,ultimate\n20,0.1,,0.2,\n",
                      "line 2, column 4: q[x]+2 follows the empty column 3; only the end of a "
                      "row may be empty"},
        SelectRefusal{"UltimateAfterAnEmptySelectCell", "age,1,2,ultimate\n20,0.1,,0.3\n",
                      "line 2, column 4: ultimate follows the empty column 3; only the end of "
                      "a row may be empty"},
        SelectRefusal{"GapInIssueAges", "age,1,2,ultimate\n20,0.1,0.2,0.3\n22,0.1,0.2,0.3\n",
                      "line 3, column 1: age 22 follows age 20; ages must be consecutive"},
        SelectRefusal{"UltimateAfterAnEmptyOne",
                      "age,1,ultimate\n20,0.1,0.2\n21,0.1,\n22,0.1,0.3\n",
                      "line 4, column 3: an ultimate rate after a row that left it empty; the "
                      "ultimate ages must be consecutive"},
        SelectRefusal{"NoUltimateRate", "# none\nage,1,ultimate\n20,0.1,\n",
                      "line 2: no row gives an ultimate rate"},
        SelectRefusal{"NoRows", "age,1,ultimate\n", "line 1: no ages follow the header"},
        SelectRefusal{"UltimatePastTheLastAge", "age,1,2,ultimate\n149,0.1,0.2,0.3\n",
                      "line 1: the ultimate rates run to age 151, past 150"}),
    [](const auto& info) { return testing_support::CaseName(info.param.name); });

// A row may end early: the table ends before its select period does.
TEST(SelectCsv, ReadsRatesByIssueAgeAndTheUltimateColumnFromAgePlusK) {
    const MortalityTableData table =
        ParseMortalityTable("\xEF\xBB\xBF# two years\r\nAge,1,2,Ultimate\r\n"
                            "30,0.001,0.002,0.003\r\n31,0.0015,0.0025,0.0035\r\n32,0.5,,\r\n",
                            kPath);
    EXPECT_EQ(table.name, "select");
    EXPECT_EQ(table.kind, MortalityTableData::Kind::Q);
    EXPECT_EQ(table.firstAge, 32);
    EXPECT_EQ(table.values, (std::vector<double>{0.003, 0.0035}));
    EXPECT_EQ(table.select.period, 2);
    EXPECT_EQ(table.select.firstAge, 30);
    EXPECT_EQ(table.select.rows,
              (std::vector<std::vector<double>>{{0.001, 0.002}, {0.0015, 0.0025}, {0.5}}));
    EXPECT_EQ(table.selectProblem, "");
}

TEST(SelectXtbml, SelectAndUltimateFileIsReadWhole) {
    const MortalityTableData vbt =
        ReadMortalityTableFile(kTables + "soa-3224-2015-vbt-female-nonsmoker-rr100-anb.xml");
    EXPECT_EQ(vbt.name, "2015 VBT Female Non-Smoker RR100 ANB (ultimate)");
    EXPECT_EQ(vbt.firstAge, 18); // the ultimate part as before
    EXPECT_EQ(vbt.LastAge(), 120);
    EXPECT_EQ(vbt.selectProblem, "");
    ASSERT_EQ(vbt.select.period, 25);
    EXPECT_EQ(vbt.select.firstAge, 18);
    EXPECT_EQ(vbt.select.LastAge(), 95);
    EXPECT_EQ(vbt.select.rows[40 - 18][0], 0.00013);
    EXPECT_EQ(vbt.select.rows[95 - 18][0], 0.09379);
    EXPECT_EQ(vbt.select.rows[95 - 18][1], 0.19155);
    EXPECT_EQ(vbt.select.rows[95 - 18][24], 0.5);

    const MortalityTableData cso =
        ReadMortalityTableFile(kTables + "soa-17-1980-cso-basic-female-anb.xml");
    EXPECT_EQ(cso.select.period, 0);
}

// A select table that cannot be used leaves the ultimate table as it is, and says why.
TEST(SelectXtbml, UnusableSelectTableLeavesTheUltimateOne) {
    const auto file = [](const std::string& select) {
        return "<XTbML><ContentClassification><TableName>T</TableName></ContentClassification>"
               "<Table><MetaData><AxisDef id=\"Age\"/><AxisDef id=\"Duration\"/></MetaData>"
               "<Values>" +
               select +
               "</Values></Table><Table><MetaData><AxisDef id=\"Age\"/></MetaData><Values>"
               "<Axis><Y t=\"20\">0.1</Y><Y t=\"21\">0.2</Y><Y t=\"22\">0.3</Y></Axis>"
               "</Values></Table></XTbML>";
    };
    const struct {
        std::string select;
        const char* problem;
    } cases[] = {
        {"<Axis t=\"20\"><Axis><Y t=\"1\">0.05</Y><Y t=\"2\"/><Y t=\"3\">0.1</Y></Axis></Axis>",
         "<Table> 1: <Axis t=\"20\"> <Y t=\"3\">: a rate follows an empty cell"},
        {"<Axis t=\"20\"><Axis><Y t=\"1\">0.05</Y><Y t=\"3\">0.1</Y></Axis></Axis>",
         "<Table> 1: <Axis t=\"20\"> <Y t=\"3\">: duration 3 where 2 is due"},
        {"<Axis t=\"20\"><Axis><Y t=\"1\">2</Y></Axis></Axis>",
         "<Table> 1: <Axis t=\"20\"> <Y t=\"1\">: q \"2\" lies outside 0 to 1"},
        {"<Axis t=\"20\"><Axis><Y t=\"1\">0.1</Y></Axis></Axis>"
         "<Axis t=\"22\"><Axis><Y t=\"1\">0.1</Y></Axis></Axis>",
         "<Table> 1: <Axis t=\"22\">: issue age 22 follows 20; issue ages must be consecutive"},
        {"<Axis t=\"18\"><Axis><Y t=\"1\">0.1</Y></Axis></Axis>",
         "<Table> 1: issue age 18 reaches age 19, before the ultimate rates (from age 20)"},
        {"", "<Table> 1: the select table holds no rates"},
    };
    for (const auto& c : cases) {
        const MortalityTableData table = ParseMortalityTable(file(c.select), "t.xml");
        EXPECT_EQ(table.selectProblem, c.problem);
        EXPECT_EQ(table.select.period, 0);
        EXPECT_EQ(table.values, (std::vector<double>{0.1, 0.2, 0.3}));
    }
    const MortalityTableData good = ParseMortalityTable(
        file("<Axis t=\"19\"><Axis><Y t=\"1\">0.01</Y><Y t=\"2\">0.02</Y></Axis></Axis>"
             "<Axis t=\"20\"><Axis><Y t=\"1\">0.03</Y><Y t=\"2\"> </Y></Axis></Axis>"),
        "t.xml");
    EXPECT_EQ(good.selectProblem, "");
    EXPECT_EQ(good.select.rows, (std::vector<std::vector<double>>{{0.01, 0.02}, {0.03}}));
}

// Dickson, Hardy and Waters, Actuarial Mathematics for Life Contingent Risks, 2nd ed.,
// Appendix D, Table D.1 (the Standard Select Survival Model): l[x], l[x]+1 and l(x+2) from
// l(20) = 100000, printed to two decimals. l[x]+1 = l(x+2) / p[x]+1, l[x] = l[x]+1 / p[x].
TEST(StandardTables, SelectSurvivalModelHoldsThePublishedLivingNumbers) {
    const MortalityTableData sssm = ReadMortalityTableFile(kStandard + "SSSM.csv");
    ASSERT_EQ(sssm.select.period, 2);
    EXPECT_EQ(sssm.select.firstAge, 18);
    EXPECT_EQ(sssm.select.LastAge(), 128);
    EXPECT_EQ(sssm.firstAge, 20);
    EXPECT_EQ(sssm.LastAge(), 130);
    const std::vector<double> living = LivingByAge(sssm); // l(20) = 100000
    const struct {
        int x;
        double select, selectPlusOne, ultimate;
    } rows[] = {
        {20, 99995.08, 99973.75, 99949.71}, {21, 99970.04, 99948.40, 99923.98},
        {30, 99721.06, 99694.18, 99663.20}, {35, 99549.01, 99515.73, 99476.75},
        {60, 96568.13, 96287.48, 95940.60}, {65, 94467.11, 93989.16, 93398.05},
        {70, 90891.07, 90081.15, 89082.09}, {75, 84885.49, 83545.75, 81904.34},
        {77, 81519.30, 79901.17, 77927.35},
    };
    for (const auto& row : rows) {
        const std::vector<double>& q = sssm.select.rows[row.x - 18];
        const double ultimate = living[row.x + 2 - 20];
        const double plusOne = ultimate / (1.0 - q[1]);
        EXPECT_NEAR(ultimate, row.ultimate, 0.005) << row.x;
        EXPECT_NEAR(plusOne, row.selectPlusOne, 0.005) << row.x;
        EXPECT_NEAR(plusOne / (1.0 - q[0]), row.select, 0.005) << row.x;
    }
    // The SULT that ships beside it is the same ultimate table.
    const MortalityTableData sult = ReadMortalityTableFile(kStandard + "SULT.csv");
    EXPECT_EQ(sult.firstAge, 20);
    EXPECT_EQ(sult.values, sssm.values);
    EXPECT_EQ(sult.select.period, 0);
}

} // namespace
