// SPDX-License-Identifier: GPL-3.0-or-later
// tabulon-cli --json stays valid JSON and valid UTF-8 whatever bytes a table's name holds
// (it comes from the user's file name or <TableName>): well-formed UTF-8 is kept, each
// other byte is written as the Latin-1 character of that byte, as the view shows it.
#include "JsonReport.h"

#include "FaultTestSupport.h"

#include <gtest/gtest.h>

using fault_support::CliResult;
using fault_support::RunCli;
using fault_support::ScratchFolder;
using fault_support::WriteBytes;

namespace {

struct JsonText {
    const char* name;
    std::string bytes;
    std::string json; // between the quotes
};

void PrintTo(const JsonText& text, std::ostream* out) {
    *out << text.name;
}

class JsonStrings : public ::testing::TestWithParam<JsonText> {};

TEST_P(JsonStrings, AreValidUtf8AndKeepWellFormedText) {
    EXPECT_EQ(JsonString(GetParam().bytes), "\"" + GetParam().json + "\"");
}

// The well-formed sequences are those of the Unicode Standard, chapter 3, table 3-7; the
// ill-formed ones are cases of Markus Kuhn's UTF-8 decoder stress test.
INSTANTIATE_TEST_SUITE_P(
    Names, JsonStrings,
    ::testing::Values(
        JsonText{"Ascii", "Table 1", "Table 1"},
        JsonText{"QuoteAndBackslash", "a\"b\\c", "a\\\"b\\\\c"},
        JsonText{"ControlBytes", "a\x01\x1f\x7f", "a\\u0001\\u001f\x7f"},
        JsonText{"TwoThreeAndFourByteCharacters", "\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80",
                 "\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
        JsonText{"LowestAndHighestOfEachLength",
                 "\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
                 "\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},
        JsonText{"Latin1Bytes", "Sterbetafel M\xE4nner \xFF", "Sterbetafel M\\u00e4nner \\u00ff"},
        JsonText{"LoneContinuationBytes", "\x80\xBF", "\\u0080\\u00bf"},
        JsonText{"CutSequenceKeepsTheNextCharacter",
                 "\xE2\x82"
                 "A",
                 "\\u00e2\\u0082A"},
        JsonText{"CutAtTheEnd", "x\xF0\x9F\x98", "x\\u00f0\\u009f\\u0098"},
        JsonText{"OverlongForms", "\xC0\xAF\xE0\x80\xAF\xF0\x80\x80\xAF",
                 "\\u00c0\\u00af\\u00e0\\u0080\\u00af\\u00f0\\u0080\\u0080\\u00af"},
        JsonText{"Surrogate", "\xED\xA0\x80", "\\u00ed\\u00a0\\u0080"},
        JsonText{"PastU10FFFF", "\xF4\x90\x80\x80\xF8", "\\u00f4\\u0090\\u0080\\u0080\\u00f8"}),
    [](const auto& info) { return std::string(info.param.name); });

// Through the program: a CSV file whose name, and an XTbML file whose <TableName>, hold
// bytes that are not UTF-8.
TEST(TableFile, NameWithBytesThatAreNotUtf8GivesValidJson) {
    ScratchFolder scratch;
    const std::string csv = scratch.Path("M\xE4nner\xFF.csv");
    WriteBytes(csv, "age,qx\n0,0.5\n1,1\n");
    const std::string xml = scratch.Path("t.xml");
    WriteBytes(xml, "<XTbML><ContentClassification><TableName>Caf\xE9 \xC3\xA9</TableName>"
                    "</ContentClassification><Table><MetaData><AxisDef id=\"Age\"/></MetaData>"
                    "<Values><Axis><Y t=\"0\">0.5</Y><Y t=\"1\">1</Y></Axis></Values></Table>"
                    "</XTbML>");
    for (const auto& [file, name] :
         {std::pair{csv, std::string("M\\u00e4nner\\u00ff")}, {xml, "Caf\\u00e9 \xC3\xA9"}}) {
        const CliResult result =
            RunCli({"insurance", "--table-file", file, "--age", "0", "--json"});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_NE(result.out.find("\"table_name\":\"" + name + "\","), std::string::npos)
            << result.out;
    }
}

} // namespace
