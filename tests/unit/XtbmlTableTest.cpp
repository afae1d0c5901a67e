// SPDX-License-Identifier: GPL-3.0-or-later
// Mortality tables from XTbML, the Society of Actuaries' XML format: the two published
// files as they come from mort.soa.org, the rules for scaling and empty cells, and what
// each refusal says (the element and the age where the problem lies).
#include "XtbmlTable.h"
#include "TableFile.h"
#include "TableFormatError.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kTables = std::string(TABULON_TEST_DATA) + "/tables/";

// One table document: a name, then the given <Table> elements.
std::string Document(const std::string& tables, const std::string& name = "Test Table") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<XTbML><ContentClassification>"
           "<TableName>" +
           name + "</TableName></ContentClassification>" + tables + "</XTbML>";
}

// A <Table> by age alone with the given cells and, when scaling is not empty, a
// <ScalingFactor>.
std::string AgeTable(const std::string& cells, const std::string& scaling = "0") {
    return "<Table><MetaData>" +
           (scaling.empty() ? std::string() : "<ScalingFactor>" + scaling + "</ScalingFactor>") +
           "<AxisDef id=\"Age\"><MinScaleValue>0</MinScaleValue></AxisDef></MetaData>"
           "<Values><Axis>" +
           cells + "</Axis></Values></Table>";
}

// A select <Table> by age and duration (its cells are never read).
const std::string kSelectTable =
    "<Table><MetaData><AxisDef id=\"Age\"/><AxisDef id=\"Duration\"/></MetaData><Values>"
    "<Axis t=\"30\"><Axis><Y t=\"1\">0.2</Y></Axis></Axis></Values></Table>";

// Everything a reading gives, each number in hexadecimal (bit for bit), or the refusal.
std::string Outcome(const std::string& text, const XtbmlPieces& pieces) {
    const auto hex = [](double value) {
        char digits[40];
        std::snprintf(digits, sizeof digits, " %a", value);
        return std::string(digits);
    };
    try {
        const MortalityTableData table = ParseXtbmlTable(text, "dir/t.xml", pieces);
        std::string shown = table.name + " kind " + std::to_string(static_cast<int>(table.kind)) +
                            " from " + std::to_string(table.firstAge) + ":";
        for (const double q : table.values)
            shown += hex(q);
        shown += "\nselect " + std::to_string(table.select.period) + " from " +
                 std::to_string(table.select.firstAge) + " [" + table.selectProblem + "]";
        for (const std::vector<double>& row : table.select.rows) {
            shown += "\n";
            for (const double q : row)
                shown += hex(q);
        }
        return shown;
    } catch (const TableFormatError& error) {
        return std::string("refused: ") + error.what();
    }
}

// The whole document at once, and the <Values> contents in pieces of one <Axis> each and of
// some hundred bytes, whatever the file's size.
const XtbmlPieces kWhole{std::numeric_limits<std::size_t>::max()};
const XtbmlPieces kPiecesOfOneAxis{0, 0, 0.0};
const XtbmlPieces kSmallPieces{0, 300, 0.0};

void ExpectSameInPieces(const std::string& text) {
    const std::string whole = Outcome(text, kWhole);
    EXPECT_EQ(Outcome(text, kPiecesOfOneAxis), whole);
    EXPECT_EQ(Outcome(text, kSmallPieces), whole);
}

// The two published files: names, ages and values as the files print them.
TEST(PublishedXtbmlFiles, UltimateTableLoadsWithItsOwnNumbers) {
    const MortalityTableData cso =
        ReadMortalityTableFile(kTables + "soa-17-1980-cso-basic-female-anb.xml");
    EXPECT_EQ(cso.name, "1980 CSO Basic Table \u2013 Female, ANB");
    EXPECT_EQ(cso.kind, MortalityTableData::Kind::Q);
    EXPECT_EQ(cso.firstAge, 0);
    EXPECT_EQ(cso.LastAge(), 100);
    EXPECT_EQ(cso.values[0], 0.00245);
    EXPECT_EQ(cso.values[40], 0.00144);
    EXPECT_EQ(cso.values[80], 0.05656);
    EXPECT_EQ(cso.values[100], 1.0);
}

TEST(PublishedXtbmlFiles, SelectAndUltimateFileGivesItsUltimateTable) {
    const MortalityTableData vbt =
        ReadMortalityTableFile(kTables + "soa-3224-2015-vbt-female-nonsmoker-rr100-anb.xml");
    EXPECT_EQ(vbt.name, "2015 VBT Female Non-Smoker RR100 ANB (ultimate)");
    EXPECT_EQ(vbt.firstAge, 18);
    EXPECT_EQ(vbt.LastAge(), 120);
    // The ultimate column, not the select one (whose age 18 starts 0.00027 as well, but
    // whose age 40 row starts 0.00013).
    EXPECT_EQ(vbt.values[18 - 18], 0.00027);
    EXPECT_EQ(vbt.values[40 - 18], 0.00086);
    EXPECT_EQ(vbt.values[59 - 18], 0.00279);
    EXPECT_EQ(vbt.values[120 - 18], 0.5); // the table is closed after it all the same
}

struct XtbmlAccepted {
    const char* name;
    std::string text;
    const char* tableName;
    int firstAge;
    std::vector<double> values;
};

void PrintTo(const XtbmlAccepted& accepted, std::ostream* out) {
    *out << accepted.name;
}

class XtbmlAcceptedForms : public ::testing::TestWithParam<XtbmlAccepted> {};

TEST_P(XtbmlAcceptedForms, ReadAgeByAge) {
    const XtbmlAccepted& accepted = GetParam();
    const MortalityTableData table = ParseXtbmlTable(accepted.text, "t.xml");
    EXPECT_EQ(table.name, accepted.tableName);
    EXPECT_EQ(table.kind, MortalityTableData::Kind::Q);
    EXPECT_EQ(table.firstAge, accepted.firstAge);
    EXPECT_EQ(table.values, accepted.values);
    ExpectSameInPieces(accepted.text);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, XtbmlAcceptedForms,
    ::testing::Values(
        XtbmlAccepted{"EmptyCellsBeforeTheFirstValueSkipped",
                      Document(AgeTable("<Y t=\"0\"/><Y t=\"1\"> </Y><Y t=\"2\">0.1</Y>"
                                        "<Y t=\"3\">\n 0.2 \n</Y>")),
                      "Test Table",
                      2,
                      {0.1, 0.2}},
        // Divided by the exact power of ten, each value is rounded once: 1.125 per thousand
        // is the double nearest 0.001125 (multiplying by 0.001 would miss it by one unit).
        XtbmlAccepted{"ScalingFactorDividesByPowerOfTen",
                      Document(AgeTable("<Y t=\"5\">1.125</Y><Y t=\"6\">1000</Y>", " 3 ")),
                      "Test Table",
                      5,
                      {0.001125, 1}},
        XtbmlAccepted{"NoScalingFactor",
                      Document(AgeTable("<Y t=\"0\">0.5</Y>", "")),
                      "Test Table",
                      0,
                      {0.5}},
        XtbmlAccepted{"SelectBesideUltimateEitherOrder",
                      Document(AgeTable("<Y t=\"30\">0.3</Y>") + kSelectTable),
                      "Test Table (ultimate)",
                      30,
                      {0.3}},
        XtbmlAccepted{"NameMadeOneLine",
                      Document(AgeTable("<Y t=\"0\">1</Y>"), "\n  My\r\n\ttable  &#1;x\n"),
                      "My table x",
                      0,
                      {1}},
        XtbmlAccepted{"Utf16Document",
                      [] {
                          const std::string utf8 = Document(AgeTable("<Y t=\"9\">0.25</Y>"));
                          std::string utf16 = "\xFF\xFE";
                          for (std::size_t i = utf8.find("<XTbML>"); i < utf8.size(); ++i)
                              utf16 += std::string{utf8[i], '\0'};
                          return utf16;
                      }(),
                      "Test Table",
                      9,
                      {0.25}}),
    [](const auto& info) { return std::string(info.param.name); });

struct XtbmlRefusal {
    const char* name;
    std::string text;
    const char* problem;
};

void PrintTo(const XtbmlRefusal& refusal, std::ostream* out) {
    *out << refusal.name;
}

class XtbmlRefusals : public ::testing::TestWithParam<XtbmlRefusal> {};

TEST_P(XtbmlRefusals, RefusedWithOneLineNamingFileElementAndAge) {
    const XtbmlRefusal& refusal = GetParam();
    try {
        const MortalityTableData table = ParseXtbmlTable(refusal.text, "dir/t.xml");
        ADD_FAILURE() << "accepted a table of " << table.values.size() << " ages";
    } catch (const TableFormatError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot use \"dir/t.xml\" as a mortality table: " +
                                                 std::string(refusal.problem) + ".");
    }
    ExpectSameInPieces(refusal.text);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, XtbmlRefusals,
    ::testing::Values(
        XtbmlRefusal{"QAboveOne", Document(AgeTable("<Y t=\"1\">0.5</Y><Y t=\"2\">1.5</Y>")),
                     "<Y t=\"2\">: q \"1.5\" lies outside 0 to 1"},
        XtbmlRefusal{"ScaledQAboveOne", Document(AgeTable("<Y t=\"1\">1001</Y>", "3")),
                     "<Y t=\"1\">: q \"1001\" / 10^3 lies outside 0 to 1"},
        XtbmlRefusal{"GapInAges", Document(AgeTable("<Y t=\"1\">0.5</Y><Y t=\"3\">0.5</Y>")),
                     "<Y t=\"3\">: age 3 follows age 1; ages must be consecutive"},
        XtbmlRefusal{"EmptyCellAfterAValue",
                     Document(AgeTable("<Y t=\"1\">0.5</Y><Y t=\"2\"></Y><Y t=\"3\">0.5</Y>")),
                     "<Y t=\"2\">: no value at age 2"},
        XtbmlRefusal{"TextInANumber", Document(AgeTable("<Y t=\"7\">0,5</Y>")),
                     "<Y t=\"7\">: \"0,5\" is not a number"},
        XtbmlRefusal{"AgeNotAWholeNumber", Document(AgeTable("<Y t=\"7.5\">0.5</Y>")),
                     "<Y t=\"7.5\">: the age is not a whole number"},
        XtbmlRefusal{"CellWithoutAge", Document(AgeTable("<Y>0.5</Y>")),
                     "<Y t=\"\">: the age is not a whole number"},
        XtbmlRefusal{"AgeAboveRange", Document(AgeTable("<Y t=\"151\">0.5</Y>")),
                     "<Y t=\"151\">: age 151 lies outside 0 to 150"},
        XtbmlRefusal{"NoValues", Document(AgeTable("<Y t=\"1\"/>")),
                     "the table by age holds no values (<Values><Axis><Y>)"},
        XtbmlRefusal{"ScalingFactorNotAWholeNumber", Document(AgeTable("<Y t=\"1\">1</Y>", "0.5")),
                     "<ScalingFactor> \"0.5\" is not a whole number from 0 to 9"},
        XtbmlRefusal{"ScalingFactorTooLarge", Document(AgeTable("<Y t=\"1\">1</Y>", "10")),
                     "<ScalingFactor> \"10\" is not a whole number from 0 to 9"},
        XtbmlRefusal{"NoTableName", Document(AgeTable("<Y t=\"1\">1</Y>"), " "),
                     "<ContentClassification> has no <TableName>"},
        XtbmlRefusal{"NoTable", Document(""), "<XTbML> holds no <Table>"},
        XtbmlRefusal{"SelectTableAlone", Document(kSelectTable),
                     "<Table> 1: its axes are \"Age\", \"Duration\"; a table by age alone is "
                     "needed"},
        XtbmlRefusal{"SelectTablesWithoutUltimate", Document(kSelectTable + kSelectTable),
                     "no <Table> by age alone (the ultimate table)"},
        XtbmlRefusal{"TwoUltimateTables",
                     Document(AgeTable("<Y t=\"1\">1</Y>") + AgeTable("<Y t=\"1\">1</Y>")),
                     "<Table> 2: a second table by age alone"},
        XtbmlRefusal{"TableByDuration",
                     Document("<Table><MetaData><AxisDef id=\"Duration\"/></MetaData></Table>"),
                     "<Table> 1: its axes are \"Duration\"; a table by age alone is needed"},
        XtbmlRefusal{"OtherRootElement", "<html><body/></html>",
                     "the root element is \"html\", not <XTbML>"},
        XtbmlRefusal{"NotWellFormed", "<XTbML>\n<Table>\n</XTbML>",
                     "line 3: the XML is not well formed (Start-end tags mismatch)"},
        // The parser reads the file in place and overwrites line ends that end a name or
        // stand in a value; the line is counted on the file as it was.
        XtbmlRefusal{"LineCountedOnTheFileAsItWas",
                     "<XTbML\n><Table\nt=\"a\r\nb\">x&amp;\r\n\r\ny</Table>\n<Y>\n</XTbML>",
                     "line 8: the XML is not well formed (Start-end tags mismatch)"},
        XtbmlRefusal{"CutShort", Document(AgeTable("<Y t=\"1\">1</Y>")).substr(0, 60),
                     "line 2: the XML is not well formed (Error parsing start element tag)"}),
    [](const auto& info) { return std::string(info.param.name); });

// A select-and-ultimate document laid out as the SOA's files (indented, one cell a line)
// or without line breaks; rates from issue age 20 for `durations` years.
std::string SelectDocument(int durations, bool lineBreaks) {
    const std::string nl = lineBreaks ? "\r\n" : "", pad = lineBreaks ? "      " : "";
    std::string select = "<Table><MetaData><ScalingFactor>3</ScalingFactor><AxisDef id=\"Age\"/>"
                         "<AxisDef id=\"Duration\"/></MetaData>" +
                         nl + "<Values>" + nl;
    for (int age = 20; age <= 60; ++age) {
        select += "  <Axis t=\"" + std::to_string(age) + "\">" + nl + "    <Axis>" + nl;
        for (int d = 1; d <= durations; ++d)
            select += pad + "<Y t=\"" + std::to_string(d) + "\">" +
                      std::to_string((age * 37 + d * 11) % 997) + "." + std::to_string(d % 10) +
                      "</Y>" + nl;
        select += "    </Axis>" + nl + "  </Axis>" + nl;
    }
    select += "</Values></Table>" + nl;
    std::string cells;
    for (int age = 20; age <= 150; ++age)
        cells += "<Y t=\"" + std::to_string(age) + "\">0.0" + std::to_string(age) + "1</Y>" + nl;
    return Document(select + AgeTable(cells), "Select &amp; Ultimate");
}

// text with the first `from` made `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Reading a large file's <Values> in pieces keeps nothing but memory apart: every table,
// number and refusal is the same as the whole document's, also where text only looks like
// the pieces' bounds (in a comment, CDATA or an attribute), where the XML breaks after a
// refused cell, and where the document is not UTF-8.
TEST(XtbmlInPieces, SameTableOrRefusalAsTheWholeDocument) {
    const std::string ok = "<Y t=\"20\">0.1</Y><Y t=\"21\">0.2</Y>";
    const std::string select = "<Table><MetaData><AxisDef id=\"Age\"/><AxisDef id=\"Duration\"/>"
                               "</MetaData><Values><Axis t=\"20\"><Axis><Y t=\"1\">0.05</Y>"
                               "<Y t=\"2\">0.06</Y></Axis></Axis><Axis t=\"21\"><Axis>"
                               "<Y t=\"1\">0.07</Y></Axis></Axis></Values></Table>";
    const std::string rows[] = {
        SelectDocument(30, true),
        SelectDocument(30, false),
        ReadText(kTables + "soa-3224-2015-vbt-female-nonsmoker-rr100-anb.xml"),
        ReadText(kTables + "soa-17-1980-cso-basic-female-anb.xml"),
        Document(select + AgeTable(ok)),
        Document(AgeTable(ok) + select),
        // Text that reads as a <Values> element but is none.
        Document(AgeTable(ok), "<![CDATA[a<Values>b</Values>c]]>"),
        Document("<!-- <Values>x</Values> -->" + AgeTable(ok)),
        Document("<Table x=\"<Values>\"/>" + AgeTable(ok) + "<Z y=\"</Values>\"/>"),
        // An end tag that is none, where the pieces are cut.
        Document(AgeTable("<Y t=\"20\">0.1</Y><!-- </Axis> --><Y t=\"21\">0.2</Y>")),
        Document(AgeTable("<Y t=\"20\"><![CDATA[0.1</Axis>]]></Y>")),
        // <Values> written otherwise is read with the rest.
        Document(Replaced(AgeTable(ok), "<Values>", "<Values >")),
        // Only the first <Axis> and the first <Values> of the ultimate table count.
        Document(AgeTable(ok + "</Axis><Axis><Y t=\"22\">0.3</Y>")),
        Document(Replaced(AgeTable(ok), "</Table>",
                          "<Values><Axis><Y t=\"5\">1</Y></Axis></Values></Table>")),
        // Axes nested deeper than the table's: pieces cut inside them do not parse.
        Document(AgeTable("<Axis><Axis>" + ok + "</Axis></Axis>")),
        // Refused cells and broken XML: the XML is refused first, wherever it breaks.
        Document(AgeTable("<Y t=\"20\">2</Y>") + "<Table><Values><Axis></Y></Values></Table>"),
        Document(AgeTable("<Y t=\"x\">0.1</Y></Axis><Axis><Y>")),
        Document(AgeTable(ok)) + "<",
        Document(select + AgeTable("<Y t=\"19\">0.1</Y>")),
        Document(select + select + AgeTable(ok)),
        Document(Replaced(select, "0.06", "") + AgeTable(ok)),
        Document(Replaced(select, "t=\"21\"", "t=\"9\"") + AgeTable(ok)),
        "<Values><Axis><Y t=\"1\">0.1</Y></Axis></Values>",
        // An end tag written otherwise closes a <Values> where its content seemed to go on;
        // a zero byte ends the parser's text (found by fuzz_table_xtbml).
        Document("<Table><MetaData><AxisDef id=\"Age\"/><AxisDef id=\"Duration\"/></MetaData>"
                 "<Values><Axis t=\"20\"><Axis><Y t=\"1\">0.05</Y></Axis></Axis></Values >"
                 "<Values><Axis t=\"21\"><Axis><Y t=\"1\">0.06</Y></Axis></Axis>"
                 "<Axis t=\"22\"><Axis><Y t=\"1\">0.07</Y></Axis></Axis></Values></Table>" +
                 AgeTable(ok)),
        Document(Replaced(select, "</Values>", std::string("</Values\0>", 10)) + AgeTable(ok)),
        Document(AgeTable(ok) + std::string("<Z>\0</Z>", 9)),
        Document("<Values><!DOCTYPE x></Values>" + AgeTable(ok)),
        // A document in another encoding is converted before it is read.
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" +
            Document(AgeTable(ok), "Tafel \xE4").substr(Document("").find("<XTbML>")),
    };
    for (const std::string& text : rows) {
        SCOPED_TRACE(text.substr(0, 300));
        ExpectSameInPieces(text);
    }
    // The select table laid out as the SOA's is read whole, in pieces as at once.
    EXPECT_EQ(ParseXtbmlTable(rows[0], "t.xml", kSmallPieces).select.rows.size(), 41u);
}

} // namespace
