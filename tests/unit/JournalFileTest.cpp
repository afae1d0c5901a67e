// SPDX-License-Identifier: GPL-3.0-or-later
// Journal files: CR LF after every line, LF alone also ends a line, trailing control bytes
// removed and every other byte kept, and saving through a temporary file.
#include "StringList.h"
#include "TextFile.h"

#include "FaultTestSupport.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class JournalFile : public ::testing::Test {
protected:
    void WriteBytes(const std::string& bytes) { std::ofstream(m_path, std::ios::binary) << bytes; }
    std::string ReadBytes() const {
        std::ifstream in(m_path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::vector<std::string> Read() const {
        CStringList list;
        ReadTextLines(m_path, list);
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < list.GetCount(); ++i)
            lines.emplace_back(list.GetAt(i));
        return lines;
    }
    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        DIR* dir = ::opendir(m_folder.Path().c_str());
        while (const dirent* entry = ::readdir(dir))
            if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
                names.emplace_back(entry->d_name);
        ::closedir(dir);
        return names;
    }

    fault_support::ScratchFolder m_folder;
    std::string m_path = m_folder.Path("journal");
};

TEST_F(JournalFile, SavedLinesEndInCarriageReturnLineFeed) {
    CStringList lines;
    lines.AddTail("LIFE INSURANCE AND PENSIONS, journal of calculations.");
    lines.AddTail("    To start program, click on `Type of policy'.");
    WriteTextLines(m_path, lines);
    EXPECT_EQ(ReadBytes(), "LIFE INSURANCE AND PENSIONS, journal of calculations.\r\n"
                           "    To start program, click on `Type of policy'.\r\n");
}

TEST_F(JournalFile, EmptyJournalSavesAnEmptyFileAndReadsBackEmpty) {
    WriteTextLines(m_path, CStringList());
    EXPECT_EQ(ReadBytes(), "");
    EXPECT_TRUE(Read().empty());
}

struct ReadCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

void PrintTo(const ReadCase& c, std::ostream* out) {
    *out << c.name;
}

class ReadingLines : public JournalFile, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadingLines, SplitAndStripAsAJournalReads) {
    WriteBytes(GetParam().bytes);
    EXPECT_EQ(Read(), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Journal, ReadingLines,
    ::testing::Values(
        ReadCase{"CrLf", "a\r\nb\r\n", {"a", "b"}}, ReadCase{"LfAlone", "a\nb\n", {"a", "b"}},
        ReadCase{"NoFinalLineEnd", "a\r\nb", {"a", "b"}},
        ReadCase{"EmptyLinesKept", "\r\n\r\nx\r\n", {"", "", "x"}},
        ReadCase{"TrailingTabAndBlanksBelowSpace", "Policy\t\r\nx \x01\x1f\r\n", {"Policy", "x "}},
        ReadCase{"TrailingBlanksKept", " \r\n   \r\n", {" ", "   "}},
        // Accented letters at the end of a line are text, not control bytes.
        ReadCase{
            "TrailingHighBytesKept", "caf\xe9\r\nna\xc3\xafve\r\n", {"caf\xe9", "na\xc3\xafve"}},
        ReadCase{"CarriageReturnInsideALineKept", "a\rb\r\n", {"a\rb"}},
        ReadCase{"NulInsideALineKept", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
        ReadCase{"OnlyControlsBecomeEmpty", "\x01\x02\r\n", {""}}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST_F(JournalFile, EveryByteOfALineSurvivesASaveAndReopen) {
    CStringList lines;
    std::string all;
    for (int b = 32; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    lines.AddTail(all);
    lines.AddTail(std::string(3'000'000, 'x') + "end");
    lines.AddTail("");
    WriteTextLines(m_path, lines);
    const std::vector<std::string> back = Read();
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0], all);
    EXPECT_EQ(back[1].size(), 3'000'003u);
    EXPECT_EQ(back[1].substr(back[1].size() - 3), "end");
    EXPECT_EQ(back[2], "");
}

TEST_F(JournalFile, ReadingAppendsAfterTheLinesAlreadyHeld) {
    WriteBytes("from file\r\n");
    CStringList lines;
    lines.AddTail("held");
    ReadTextLines(m_path, lines);
    ASSERT_EQ(lines.GetCount(), 2u);
    EXPECT_EQ(lines.GetAt(0), "held");
    EXPECT_EQ(lines.GetAt(1), "from file");
}

TEST_F(JournalFile, SaveReplacesTheFileKeepsItsPermissionsAndLeavesNoTemporaryFile) {
    WriteBytes("old\r\n");
    ::chmod(m_path.c_str(), 0640);
    CStringList lines;
    lines.AddTail("new");
    WriteTextLines(m_path, lines);
    EXPECT_EQ(ReadBytes(), "new\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(m_path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"journal"});
}

TEST_F(JournalFile, SaveThroughASymbolicLinkReplacesTheFileItPointsTo) {
    WriteBytes("old\r\n");
    const std::string link = m_folder.Path("link");
    ASSERT_EQ(::symlink("journal", link.c_str()), 0);
    CStringList lines;
    lines.AddTail("through the link");
    WriteTextLines(link, lines);
    EXPECT_EQ(ReadBytes(), "through the link\r\n");
    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST_F(JournalFile, SavingOverAFolderFailsAndLeavesItAlone) {
    const std::string folder = m_folder.Path("folder");
    ::mkdir(folder.c_str(), 0755);
    CStringList lines;
    lines.AddTail("x");
    EXPECT_THROW(WriteTextLines(folder, lines), std::exception);
    struct stat st {};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"folder"});
}

} // namespace
