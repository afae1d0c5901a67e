// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a table file from disk: a file that cannot be read is a file error naming the
// file and the reason; one that is read but holds no table is refused as a table; the
// format is told by the content. Nothing waits on a named pipe or reads a device.
// The Standard Ultimate Life Table and the Illustrative Life Table, derived from their
// formulas, written as table files and read back through the reader: whole-life values
// computed on what was read meet the published figures to their decimals. A small
// independent pricing (a = sum v^k kpx, A = sum v^(k+1) kpx q(x+k)) checks the files
// and the reader before any calculation of the program relies on them.
#include "TableFile.h"

#include "CalculationRecord.h"
#include "CliOptions.h"
#include "FaultTestSupport.h"
#include "FileException.h"
#include "PublishedTables.h"
#include "TableFormatError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iomanip>
#include <sys/stat.h>

using fault_support::FileFault;
using fault_support::NamedPipe;
using fault_support::RunInChild;
using fault_support::ScratchFolder;
using fault_support::WriteBytes;

namespace {

class TableFileFaults : public ::testing::TestWithParam<FileFault> {};

// Runs in a child, which gives up root's privileges where the fault needs it, and reports
// what went wrong in text.
TEST_P(TableFileFaults, FileErrorNamesTheFileAndTheReason) {
    const FileFault& fault = GetParam();
    ScratchFolder scratch;
    const std::string path = fault.make(scratch);
    const fault_support::ChildResult child = RunInChild(fault.limits, [&]() -> std::string {
        try {
            ReadMortalityTableFile(path);
            return "the file was read";
        } catch (const CFileException& error) {
            const std::string expected = "Cannot open \"" + path + "\": " + fault.reason + ".";
            return error.what() == expected ? "" : std::string("message: ") + error.what();
        } catch (const TableFormatError& error) {
            return std::string("refused as a table: ") + error.what();
        }
    });
    if (child.status == fault_support::kSetupFailed)
        GTEST_SKIP() << "the child could not give up root's privileges";
    EXPECT_EQ(child.status, 0);
    EXPECT_EQ(child.text, "");
}

// One byte over the limit, as a sparse file that takes no room on disk.
std::string HugeFile(const ScratchFolder& scratch) {
    WriteBytes(scratch.Path("huge.csv"), "age,qx\n0,1\n");
    std::filesystem::resize_file(scratch.Path("huge.csv"), kTableFileMaxBytes + 1);
    return scratch.Path("huge.csv");
}

INSTANTIATE_TEST_SUITE_P(Tables, TableFileFaults,
                         ::testing::ValuesIn(fault_support::UnreadableFiles(
                             {FileFault{"NamedPipeWithoutWriter", NamedPipe,
                                        "it is not a plain file"},
                              FileFault{"LargerThanTheLimit", HugeFile,
                                        "it is larger than 16 MB, more than a table file holds"}})),
                         [](const auto& info) { return std::string(info.param.name); });

// A file at the limit is read, and judged as a table: here a CSV row after the table that
// is all NUL bytes.
TEST(TableFileSize, FileAtTheLimitIsReadAndJudgedAsATable) {
    ScratchFolder scratch;
    const std::string path = scratch.Path("padded.csv");
    WriteBytes(path, "age,qx\n0,1\n");
    std::filesystem::resize_file(path, kTableFileMaxBytes);
    try {
        ReadMortalityTableFile(path);
        ADD_FAILURE() << "the padded file was accepted";
    } catch (const TableFormatError& error) {
        EXPECT_EQ(error.GetProblem(), "line 3: a row holds 2 fields, age and qx, not 1");
    }
}

// The content decides the format, whatever the name: XTbML begins with '<' after an
// optional byte-order mark and blanks.
TEST(TableFileFormat, ToldByTheContentNotTheName) {
    ScratchFolder scratch;
    WriteBytes(scratch.Path("table.xml"), "age,lx\n1,5\n");
    EXPECT_EQ(ReadMortalityTableFile(scratch.Path("table.xml")).values, std::vector<double>{5});
    WriteBytes(scratch.Path("table.csv"),
               "\xEF\xBB\xBF \r\n<XTbML><ContentClassification><TableName>T</TableName>"
               "</ContentClassification><Table><MetaData><AxisDef id=\"Age\"/></MetaData>"
               "<Values><Axis><Y t=\"3\">0.5</Y></Axis></Values></Table></XTbML>");
    const MortalityTableData xtbml = ReadMortalityTableFile(scratch.Path("table.csv"));
    EXPECT_EQ(xtbml.name, "T");
    EXPECT_EQ(xtbml.firstAge, 3);
    WriteBytes(scratch.Path("notes.txt"), "<p>not a table</p>");
    try {
        ReadMortalityTableFile(scratch.Path("notes.txt"));
        ADD_FAILURE() << "an HTML file was accepted";
    } catch (const TableFormatError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot use \"" + scratch.Path("notes.txt") +
                                                 "\" as a mortality table: the root element is "
                                                 "\"p\", not <XTbML>.");
    }
}

// XTbML in UTF-16 with a byte-order mark, in either byte order, and in UTF-8 with one, is
// told from CSV and read through the entry that --table-file and Import Table use (a
// UTF-16 file used to be judged as CSV and refused).
TEST(TableFileFormat, XmlIsFoundAfterAnyByteOrderMark) {
    const std::string xml = " \r\n<XTbML><ContentClassification><TableName>Wide</TableName>"
                            "</ContentClassification><Table><MetaData><AxisDef id=\"Age\"/>"
                            "</MetaData><Values><Axis><Y t=\"7\">0.5</Y></Axis></Values></Table>"
                            "</XTbML>";
    const auto utf16 = [&xml](const char* mark, bool littleEndian) {
        std::string bytes(mark, 2);
        for (const char c : xml)
            bytes += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
        return bytes;
    };
    ScratchFolder scratch;
    for (const auto& [name, bytes] : {std::pair{"utf8.csv", "\xEF\xBB\xBF" + xml},
                                      {"le.csv", utf16("\xFF\xFE", true)},
                                      {"be.csv", utf16("\xFE\xFF", false)}}) {
        SCOPED_TRACE(name);
        WriteBytes(scratch.Path(name), bytes);
        try {
            const MortalityTableData table = ReadMortalityTableFile(scratch.Path(name));
            EXPECT_EQ(table.name, "Wide");
            EXPECT_EQ(table.firstAge, 7);
            EXPECT_EQ(table.values, std::vector<double>{0.5});
        } catch (const TableFormatError& error) {
            ADD_FAILURE() << error.what();
        }
        const fault_support::CliResult cli =
            fault_support::RunCli({"insurance", "--table-file", scratch.Path(name), "--age", "7",
                                   "--term", "1", "--json"});
        EXPECT_EQ(cli.status, 0) << cli.err;
        EXPECT_NE(cli.out.find("\"table_name\":\"Wide\""), std::string::npos) << cli.out;
    }
    // A byte-order mark before CSV leaves it CSV.
    WriteBytes(scratch.Path("wide-csv.txt"), utf16("\xFF\xFE", true).substr(0, 2) + "age,qx");
    EXPECT_THROW(ReadMortalityTableFile(scratch.Path("wide-csv.txt")), TableFormatError);
}

struct WholeLife {
    double annuityDue; // annual payments of 1 in advance while alive
    double assurance;  // 1 at the end of the year of death
};

WholeLife WholeLifeValues(const MortalityTableData& table, int age, double rate) {
    const std::vector<double> living = LivingByAge(table);
    const double v = 1.0 / (1.0 + rate);
    const auto l = [&](int x) { return living[static_cast<std::size_t>(x - table.firstAge)]; };
    WholeLife values{0, 0};
    for (int k = 0; age + k <= table.LastAge(); ++k) {
        values.annuityDue += std::pow(v, k) * l(age + k) / l(age);
        values.assurance += std::pow(v, k + 1) * (l(age + k) - l(age + k + 1)) / l(age);
    }
    return values;
}

struct PublishedCase {
    const char* file;
    double rate;
    int age;
    double annuityDue;                // published to 4 decimals
    double assurance, assuranceScale; // published A times assuranceScale
    int assuranceDecimals;
};

void PrintTo(const PublishedCase& c, std::ostream* out) {
    *out << c.file << " at " << c.rate << ", age " << c.age;
}

class PublishedValues : public ::testing::TestWithParam<PublishedCase> {};

TEST_P(PublishedValues, WholeLifeOnTheTableReadBackMeetsThePublishedFigures) {
    fault_support::ScratchFolder scratch;
    const PublishedCase& c = GetParam();
    published_tables::WriteTableFiles(scratch.Path());
    const MortalityTableData table = ReadMortalityTableFile(scratch.Path(c.file));
    const WholeLife values = WholeLifeValues(table, c.age, c.rate);
    EXPECT_NEAR(values.annuityDue, c.annuityDue, 0.5e-4)
        << std::setprecision(17) << "annuity-due " << values.annuityDue;
    EXPECT_NEAR(values.assurance * c.assuranceScale, c.assurance,
                0.5 * std::pow(10.0, -c.assuranceDecimals))
        << std::setprecision(17) << "assurance " << values.assurance;
}

// A number of the one-line JSON report.
double JsonNumber(const std::string& json, const std::string& name) {
    const std::size_t at = json.find("\"" + name + "\":");
    if (at == std::string::npos)
        return std::nan("");
    return std::strtod(json.c_str() + at + name.size() + 3, nullptr);
}

// Whole life priced by the program on the table read from the file, through the one
// calculation entry and through tabulon-cli --table-file --json.
TEST_P(PublishedValues, TheCalculationAndTheCommandLineMeetThePublishedFigures) {
    const PublishedCase& c = GetParam();
    fault_support::ScratchFolder scratch;
    published_tables::WriteTableFiles(scratch.Path());
    const double annuityTolerance = 0.5e-4;
    const double assuranceTolerance = 0.5 * std::pow(10.0, -c.assuranceDecimals);
    const int rate = static_cast<int>(std::lround(c.rate * 100));

    CCalculationRecord record;
    record.m_nTable = ImportTableFile(scratch.Path(c.file));
    record.m_nPolicyType = 1;
    record.m_nAge = c.age;
    record.m_dRate = rate;
    record.m_nInputKind = 1;
    record.Calculate(PolicyKind::Insurance);
    EXPECT_NEAR(record.m_dUnitAnnualPV, c.annuityDue, annuityTolerance);
    EXPECT_NEAR(record.m_dUnitAmountPV * c.assuranceScale, c.assurance, assuranceTolerance);

    const fault_support::CliResult cli = fault_support::RunCli(
        {"insurance", "--policy", "whole-life", "--table-file", scratch.Path(c.file), "--age",
         std::to_string(c.age), "--rate", std::to_string(rate), "--json"});
    ASSERT_EQ(cli.status, 0) << cli.err;
    EXPECT_NE(cli.out.find(std::string("\"table_name\":\"") +
                           std::string(c.file).substr(0, std::string(c.file).find('.')) + "\""),
              std::string::npos)
        << cli.out;
    EXPECT_NEAR(JsonNumber(cli.out, "unit_annual_pv"), c.annuityDue, annuityTolerance) << cli.out;
    EXPECT_NEAR(JsonNumber(cli.out, "unit_amount_pv") * c.assuranceScale, c.assurance,
                assuranceTolerance)
        << cli.out;
}

// SULT at 5%: Dickson, Hardy and Waters, Actuarial Mathematics for Life Contingent Risks,
// Appendix D (a-due and A, 5 decimals). ILT at 6%: Bowers et al., Actuarial Mathematics,
// the Illustrative Life Table (a-due and 1000 A, 2 decimals).
INSTANTIATE_TEST_SUITE_P(
    Tables, PublishedValues,
    ::testing::Values(PublishedCase{"SULT.csv", 0.05, 40, 18.4578, 0.12106, 1, 5},
                      PublishedCase{"SULT.csv", 0.05, 60, 14.9041, 0.29028, 1, 5},
                      PublishedCase{"SULT.csv", 0.05, 80, 8.5484, 0.59293, 1, 5},
                      PublishedCase{"ILT.csv", 0.06, 20, 16.5133, 65.28, 1000, 2},
                      PublishedCase{"ILT.csv", 0.06, 40, 14.8166, 161.32, 1000, 2},
                      PublishedCase{"ILT.csv", 0.06, 60, 11.1454, 369.13, 1000, 2},
                      PublishedCase{"ILT.csv", 0.06, 80, 5.9050, 665.75, 1000, 2}),
    [](const auto& info) {
        return std::string(info.param.file).substr(0, std::string(info.param.file).find('.')) +
               "_" + std::to_string(info.param.age);
    });

// What the files hold: the tables' ages, names and kinds, and l at the first age.
TEST(PublishedTableFiles, HoldTheirAgesAsLxAndQx) {
    fault_support::ScratchFolder scratch;
    published_tables::WriteTableFiles(scratch.Path());
    const MortalityTableData sult = ReadMortalityTableFile(scratch.Path("SULT.csv"));
    EXPECT_EQ(sult.name, "SULT");
    EXPECT_EQ(sult.kind, MortalityTableData::Kind::L);
    EXPECT_EQ(sult.firstAge, 20);
    EXPECT_EQ(sult.LastAge(), 130);
    EXPECT_EQ(sult.values.front(), 100000.0);
    const MortalityTableData ilt = ReadMortalityTableFile(scratch.Path("ILT.csv"));
    EXPECT_EQ(ilt.name, "ILT");
    EXPECT_EQ(ilt.kind, MortalityTableData::Kind::Q);
    EXPECT_EQ(ilt.firstAge, 0);
    EXPECT_EQ(ilt.LastAge(), 130);
    EXPECT_EQ(LivingByAge(ilt).front(), 100000.0);
}

} // namespace
