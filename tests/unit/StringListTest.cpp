// SPDX-License-Identifier: GPL-3.0-or-later
// The journal's line list: lines read straight into its buffer agree byte for byte with a
// plain line-by-line reading, whatever the line lengths, and the list stays consistent
// through growth, copies, moves and truncation.
#include "StringList.h"
#include "TextFile.h"

#include "FaultTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The reading rule spelled out plainly: a line ends at LF, a last line without one still
// counts, and each line loses its trailing bytes 0-31.
std::vector<std::string> ReferenceLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < bytes.size()) {
        std::size_t end = bytes.find('\n', begin);
        const bool last = end == std::string::npos;
        if (last)
            end = bytes.size();
        std::string line = bytes.substr(begin, end - begin);
        while (!line.empty() && static_cast<unsigned char>(line.back()) < 32)
            line.pop_back();
        lines.push_back(line);
        if (last)
            break;
        begin = end + 1;
    }
    return lines;
}

std::vector<std::string> Contents(const CStringList& list) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < list.GetCount(); ++i)
        lines.emplace_back(list.GetAt(i));
    return lines;
}

// Lines of every length around the 16- and 64-byte blocks the reader scans in, with line
// ends, control bytes, high bytes and carriage returns anywhere.
std::string MixedText(unsigned seed, std::size_t lines, bool finalLineEnd) {
    std::mt19937 random(seed);
    const char alphabet[] = {'a', ' ', '\t', '\r', '\x01', '\x1f', '\x7f', '\xe9', '\0', 'Z'};
    std::string text;
    for (std::size_t i = 0; i < lines; ++i) {
        const std::size_t length = random() % 140;
        for (std::size_t k = 0; k < length; ++k)
            text.push_back(alphabet[random() % sizeof alphabet]);
        if (i + 1 < lines || finalLineEnd)
            text += random() % 3 == 0 ? "\n" : "\r\n";
    }
    return text;
}

class ListFile : public ::testing::Test {
protected:
    void Write(const std::string& bytes) const {
        const int fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        ::close(fd);
    }
    fault_support::ScratchFolder m_folder;
    std::string m_path = m_folder.Path("journal");
};

struct MixedCase {
    unsigned seed;
    std::size_t lines;
    bool finalLineEnd;
};

void PrintTo(const MixedCase& c, std::ostream* out) {
    *out << c.lines << " lines from seed " << c.seed
         << (c.finalLineEnd ? ", the last ended" : ", the last without an end");
}

class ReadingMixedText : public ListFile, public ::testing::WithParamInterface<MixedCase> {};

TEST_P(ReadingMixedText, AgreesWithPlainLineByLineReading) {
    const std::string text = MixedText(GetParam().seed, GetParam().lines, GetParam().finalLineEnd);
    Write(text);
    CStringList list;
    list.AddTail("held before");
    ReadTextLines(m_path, list);
    std::vector<std::string> expected = ReferenceLines(text);
    expected.insert(expected.begin(), "held before");
    EXPECT_EQ(Contents(list), expected);
    // Lines added after a file's lines follow them, and the file's lines stay intact.
    list.AddTail("added after");
    expected.push_back("added after");
    EXPECT_EQ(Contents(list), expected);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ReadingMixedText,
                         ::testing::Values(MixedCase{1, 1, false}, MixedCase{2, 3, true},
                                           MixedCase{3, 50, true}, MixedCase{4, 50, false},
                                           MixedCase{5, 3000, true}, MixedCase{6, 3000, false}),
                         [](const auto& info) {
                             return std::to_string(info.param.lines) + "LinesSeed" +
                                    std::to_string(info.param.seed) +
                                    (info.param.finalLineEnd ? "LastEnded" : "LastUnended");
                         });

// Files under /proc give no size ahead: the room grows as the bytes come, from one byte.
TEST(StringList, AFileThatGivesNoSizeIsReadWhole) {
    std::ifstream in("/proc/self/environ", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.empty())
        GTEST_SKIP() << "no /proc/self/environ here";
    CStringList list;
    ReadTextLines("/proc/self/environ", list);
    EXPECT_EQ(Contents(list), ReferenceLines(text));
}

TEST(StringList, AddingOneOfItsOwnLinesWhileTheBufferGrowsCopiesTheRightBytes) {
    CStringList list;
    list.AddTail("first line of the list");
    for (int i = 0; i < 200; ++i)
        list.AddTail(list.GetAt(static_cast<std::size_t>(i)));
    ASSERT_EQ(list.GetCount(), 201u);
    for (std::size_t i = 0; i < list.GetCount(); ++i)
        EXPECT_EQ(list.GetAt(i), "first line of the list") << "line " << i;
}

TEST(StringList, CopiesAreIndependentAndAMovedFromListIsEmptyAndUsable) {
    CStringList list;
    list.AddTail("a");
    list.AddTail("");
    list.AddTail("ccc");
    CStringList copy = list;
    copy.AddTail("only in the copy");
    EXPECT_EQ(Contents(list), (std::vector<std::string>{"a", "", "ccc"}));
    EXPECT_EQ(Contents(copy), (std::vector<std::string>{"a", "", "ccc", "only in the copy"}));

    CStringList moved = std::move(list);
    EXPECT_EQ(Contents(moved), (std::vector<std::string>{"a", "", "ccc"}));
    EXPECT_TRUE(
        list.IsEmpty()); // NOLINT(bugprone-use-after-move): the moved-from state is specified
    list.AddTail("again");
    EXPECT_EQ(Contents(list), std::vector<std::string>{"again"});

    copy = moved;
    EXPECT_EQ(Contents(copy), Contents(moved));
}

TEST_F(ListFile, TruncatingAfterAFileReadDropsItsLinesAndLaterLinesFollowTheKeptOnes) {
    Write("one\r\ntwo\r\n");
    CStringList list;
    list.AddTail("kept");
    ReadTextLines(m_path, list);
    list.Truncate(1);
    list.AddTail("next");
    EXPECT_EQ(Contents(list), (std::vector<std::string>{"kept", "next"}));
    EXPECT_EQ(list.GetTextBytes(), 8u);
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetTextBytes(), 0u);
}

} // namespace
