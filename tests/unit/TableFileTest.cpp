// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a table file from disk: a file that cannot be read is a file error naming the
// file and the reason; one that is read but holds no table is refused as a table; the
// format is told by the content. Nothing waits on a named pipe or reads a device.
#include "TableFile.h"
#include "FaultTestSupport.h"
#include "FileException.h"
#include "TableFormatError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/stat.h>

using fault_support::ChildLimits;
using fault_support::RunInChild;
using fault_support::ScratchFolder;
using fault_support::WriteBytes;

namespace {

struct TableFileFault {
    const char* name;
    // Makes the fault inside the folder; returns the path to read.
    std::function<std::string(const ScratchFolder&)> make;
    const char* message; // after `Cannot open "PATH": `
    bool unprivileged;
};

void PrintTo(const TableFileFault& fault, std::ostream* out) {
    *out << fault.name;
}

class TableFileFaults : public ::testing::TestWithParam<TableFileFault> {};

// Runs in a child, which gives up root's privileges where the fault needs it, and reports
// what went wrong in text.
TEST_P(TableFileFaults, FileErrorNamesTheFileAndTheReason) {
    const TableFileFault& fault = GetParam();
    ScratchFolder scratch;
    const std::string path = fault.make(scratch);
    ChildLimits limits;
    limits.unprivileged = fault.unprivileged;
    const fault_support::ChildResult child = RunInChild(limits, [&]() -> std::string {
        try {
            ReadMortalityTableFile(path);
            return "the file was read";
        } catch (const CFileException& error) {
            const std::string expected = "Cannot open \"" + path + "\": " + fault.message + ".";
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

std::string Missing(const ScratchFolder& scratch) {
    return scratch.Path("missing.csv");
}

std::string Folder(const ScratchFolder& scratch) {
    std::filesystem::create_directory(scratch.Path("folder.csv"));
    return scratch.Path("folder.csv");
}

std::string Unreadable(const ScratchFolder& scratch) {
    WriteBytes(scratch.Path("secret.csv"), "age,qx\n0,1\n");
    ::chmod(scratch.Path("secret.csv").c_str(), 0200);
    return scratch.Path("secret.csv");
}

std::string PipeWithoutWriter(const ScratchFolder& scratch) {
    ::mkfifo(scratch.Path("pipe.csv").c_str(), 0666);
    return scratch.Path("pipe.csv");
}

std::string EndlessDevice(const ScratchFolder&) {
    return "/dev/zero";
}

// One byte over the limit, as a sparse file that takes no room on disk.
std::string HugeFile(const ScratchFolder& scratch) {
    WriteBytes(scratch.Path("huge.csv"), "age,qx\n0,1\n");
    std::filesystem::resize_file(scratch.Path("huge.csv"), kTableFileMaxBytes + 1);
    return scratch.Path("huge.csv");
}

INSTANTIATE_TEST_SUITE_P(
    Tables, TableFileFaults,
    ::testing::Values(
        TableFileFault{"MissingFile", Missing, "No such file or directory", false},
        TableFileFault{"FolderGivenAsFile", Folder, "Is a directory", false},
        TableFileFault{"FileWithoutReadPermission", Unreadable, "Permission denied", true},
        TableFileFault{"NamedPipeWithoutWriter", PipeWithoutWriter, "it is not a plain file",
                       false},
        TableFileFault{"EndlessDevice", EndlessDevice, "it is not a plain file", false},
        TableFileFault{"LargerThanTheLimit", HugeFile,
                       "it is larger than 16 MB, more than a table file holds", false}),
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

} // namespace
