// SPDX-License-Identifier: GPL-3.0-or-later
// Mortality tables from CSV text: what is accepted, what each refusal says, and the l(x)
// a table gives. Each refusal is one line naming the file and the first problem with its
// line number.
#include "CsvTable.h"
#include "TableFormatError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kPath = "tables/my table.csv";

struct CsvRefusal {
    const char* name;
    std::string text;
    const char* problem; // what the message says after the file's name
};

void PrintTo(const CsvRefusal& refusal, std::ostream* out) {
    *out << refusal.name;
}

class CsvRefusals : public ::testing::TestWithParam<CsvRefusal> {};

TEST_P(CsvRefusals, RefusedWithOneLineNamingFileLineAndProblem) {
    const CsvRefusal& refusal = GetParam();
    try {
        const MortalityTableData table = ParseCsvTable(refusal.text, kPath);
        ADD_FAILURE() << "accepted a table of " << table.values.size() << " ages";
    } catch (const TableFormatError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot use \"" + kPath + "\" as a mortality table: " + refusal.problem + ".");
        EXPECT_EQ(error.GetFileName(), kPath);
        EXPECT_EQ(error.GetProblem(), refusal.problem);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CsvRefusals,
    ::testing::Values(
        CsvRefusal{"QAboveOne", "age,qx\n20,0.5\n21,1.0000001\n",
                   "line 3: qx \"1.0000001\" lies outside 0 to 1"},
        CsvRefusal{"QNegative", "age,qx\n20,-0.01\n", "line 2: qx \"-0.01\" lies outside 0 to 1"},
        CsvRefusal{"GapInAges", "age,qx\n20,0.1\n21,0.2\n23,0.3\n",
                   "line 4: age 23 follows age 21; ages must be consecutive"},
        CsvRefusal{"AgesGoingDown", "age,lx\n5,100\n4,90\n",
                   "line 3: age 4 follows age 5; ages must be consecutive"},
        CsvRefusal{"NoHeader", "20,0.1\n21,0.2\n",
                   "line 1: the header must be age,qx or age,lx, not \"20,0.1\""},
        CsvRefusal{"OtherColumnName", "# my table\nage,px\n",
                   "line 2: the header must be age,qx or age,lx, not \"age,px\""},
        CsvRefusal{"RisingL", "age,lx\n0,100000\n1,99000\n2,99001\n",
                   "line 4: lx \"99001\" rises above lx at age 1"},
        CsvRefusal{"TextInANumber", "age,qx\n20,0.0x1\n", "line 2: qx \"0.0x1\" is not a number"},
        CsvRefusal{"DecimalComma", "age,qx\n20,\"0,1\"\n",
                   "line 2: a row holds 2 fields, age and qx, not 3 or more"},
        CsvRefusal{"BlankInsideANumber", "age,lx\n20,100 000\n",
                   "line 2: lx \"100 000\" is not a number"},
        CsvRefusal{"NotANumberWord", "age,qx\n20,nan\n", "line 2: qx \"nan\" is not a number"},
        CsvRefusal{"Infinity", "age,lx\n20,inf\n", "line 2: lx \"inf\" is not a number"},
        CsvRefusal{"Overflow", "age,lx\n20,1e999\n", "line 2: lx \"1e999\" is not a number"},
        CsvRefusal{"Hexadecimal", "age,qx\n20,0x0.1p0\n", "line 2: qx \"0x0.1p0\" is not a number"},
        CsvRefusal{"EmptyValue", "age,qx\n20,\n", "line 2: qx \"\" is not a number"},
        CsvRefusal{"AgeWithDecimals", "age,qx\n20.5,0.1\n",
                   "line 2: the age \"20.5\" is not a whole number"},
        CsvRefusal{"AgeAboveRange", "age,qx\n150,0.5\n151,1\n",
                   "line 3: age 151 lies outside 0 to 150"},
        CsvRefusal{"NegativeAge", "age,qx\n-1,0.5\n", "line 2: age -1 lies outside 0 to 150"},
        CsvRefusal{"OneField", "age,qx\n20\n", "line 2: a row holds 2 fields, age and qx, not 1"},
        CsvRefusal{"ThirdField", "age,lx\n20,100,\n",
                   "line 2: a row holds 2 fields, age and lx, not 3 or more"},
        CsvRefusal{"NegativeL", "age,lx\n20,-5\n", "line 2: lx \"-5\" is negative"},
        CsvRefusal{"ZeroLAtFirstAge", "age,lx\n20,0\n", "line 2: lx is 0 at the first age"},
        CsvRefusal{"ZeroLBeforeTheLastAge", "age,lx\n20,10\n21,0\n\n# end?\n22,0\n",
                   "line 3: lx is 0 before the last age"},
        CsvRefusal{"HeaderOnly", "\xEF\xBB\xBF# nothing yet\nage,qx\n\n",
                   "line 2: no ages follow the header"},
        CsvRefusal{"EmptyFile", "", "no header line age,qx or age,lx"},
        CsvRefusal{"CommentsOnly", "# a\n\n   # b\r\n", "no header line age,qx or age,lx"},
        CsvRefusal{"ControlBytesShownEscaped", "age,qx\n20,0.1\x1b[2J\n",
                   "line 2: qx \"0.1\\x1B[2J\" is not a number"},
        CsvRefusal{"LongTextCut", "age,qx\n20," + std::string(100, '9') + "x\n",
                   "line 2: qx \"9999999999999999999999999999999999999999...\" is not a number"},
        CsvRefusal{"ByteOrderMarkOnlyAtTheStart",
                   "age,qx\n\xEF\xBB\xBF"
                   "20,0.1\n",
                   "line 2: the age \"\xEF\xBB\xBF"
                   "20\" is not a whole number"}),
    [](const auto& info) { return std::string(info.param.name); });

struct CsvAccepted {
    const char* name;
    std::string text;
    MortalityTableData::Kind kind;
    int firstAge;
    std::vector<double> values;
};

void PrintTo(const CsvAccepted& accepted, std::ostream* out) {
    *out << accepted.name;
}

class CsvAcceptedForms : public ::testing::TestWithParam<CsvAccepted> {};

TEST_P(CsvAcceptedForms, ReadAgeByAge) {
    const CsvAccepted& accepted = GetParam();
    const MortalityTableData table = ParseCsvTable(accepted.text, kPath);
    EXPECT_EQ(table.name, "my table");
    EXPECT_EQ(table.kind, accepted.kind);
    EXPECT_EQ(table.firstAge, accepted.firstAge);
    EXPECT_EQ(table.values, accepted.values);
    EXPECT_EQ(table.LastAge(), accepted.firstAge + static_cast<int>(accepted.values.size()) - 1);
}

using Kind = MortalityTableData::Kind;

INSTANTIATE_TEST_SUITE_P(
    Tables, CsvAcceptedForms,
    ::testing::Values(
        CsvAccepted{"PlainQ", "age,qx\n40,0.001\n41,0.5\n42,1\n", Kind::Q, 40, {0.001, 0.5, 1}},
        CsvAccepted{"HeaderCaseAndBlanks", " AGE , Qx \n0 , 0.25\t\n", Kind::Q, 0, {0.25}},
        CsvAccepted{"ByteOrderMarkAndCrLf",
                    "\xEF\xBB\xBF"
                    "age,lx\r\n7,1000\r\n8,999.5\r\n",
                    Kind::L,
                    7,
                    {1000, 999.5}},
        CsvAccepted{"CommentsAndBlankLines",
                    "# Standard table\n\n  # ages 0-1\nage,qx\n# first\n0,0.1\n\n1,0.2\n# end",
                    Kind::Q,
                    0,
                    {0.1, 0.2}},
        CsvAccepted{"NumberSpellings",
                    "age,qx\n0,.5\n1,5e-1\n2,0.50\n3,1.\n4,-0\n",
                    Kind::Q,
                    0,
                    {0.5, 0.5, 0.5, 1, 0}},
        CsvAccepted{"LastLZeroAndEqualL", "age,lx\n149,10\n150,0\n", Kind::L, 149, {10, 0}},
        CsvAccepted{"FlatL", "age,lx\n3,5\n4,5\n", Kind::L, 3, {5, 5}},
        CsvAccepted{"NoFinalLineEnd", "age,qx\n150,1", Kind::Q, 150, {1}}),
    [](const auto& info) { return std::string(info.param.name); });

// The name is the file's own, without folder and extension.
TEST(CsvTableName, IsTheFileNameWithoutFolderAndExtension) {
    EXPECT_EQ(ParseCsvTable("age,qx\n0,1\n", "/a/b/SULT.csv").name, "SULT");
    EXPECT_EQ(ParseCsvTable("age,qx\n0,1\n", "ILT").name, "ILT");
    EXPECT_EQ(ParseCsvTable("age,qx\n0,1\n", "x/.hidden").name, ".hidden");
}

// l(x) from the first age to one past the last: from q, from 100000 by the product of
// the p(x); from l, the file's numbers; both closed by l = 0 after the last age.
TEST(LivingByAge, FromQStartsAtTheRadixAndClosesAfterTheLastAge) {
    const MortalityTableData fromQ = ParseCsvTable("age,qx\n60,0.5\n61,0.25\n62,0.1\n", kPath);
    EXPECT_EQ(LivingByAge(fromQ), (std::vector<double>{100000, 50000, 37500, 0}));
    const MortalityTableData fromL = ParseCsvTable("age,lx\n0,98000\n1,97000.5\n", kPath);
    EXPECT_EQ(LivingByAge(fromL), (std::vector<double>{98000, 97000.5, 0}));
    const MortalityTableData endsAtZero = ParseCsvTable("age,lx\n0,10\n1,0\n", kPath);
    EXPECT_EQ(LivingByAge(endsAtZero), (std::vector<double>{10, 0, 0}));
    const MortalityTableData certainDeath = ParseCsvTable("age,qx\n0,1\n1,0\n", kPath);
    EXPECT_EQ(LivingByAge(certainDeath), (std::vector<double>{100000, 0, 0}));
}

} // namespace
