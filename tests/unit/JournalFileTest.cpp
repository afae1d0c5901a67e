// SPDX-License-Identifier: GPL-3.0-or-later
// Journal files: CR LF after every line, LF alone also ends a line, trailing control bytes
// removed and every other byte kept, and saving through a temporary file. What a save keeps
// of the file it replaces: owner, group, mode, extended attributes and hard links; a
// writable journal in a folder the user may not write; a name of the longest length; no
// debris after a save killed at any moment. A named pipe is refused at once.
#include "StringList.h"
#include "TextFile.h"

#include "FileException.h"

#include "FaultTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>

using fault_support::ChildLimits;
using fault_support::Joined;
using fault_support::RunInChild;
using fault_support::ScratchFolder;

namespace {

// The lines of text as a list.
CStringList ListOf(const std::vector<std::string>& lines) {
    CStringList list;
    for (const std::string& line : lines)
        list.AddTail(line);
    return list;
}

struct stat StatusOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path << ": " << std::strerror(errno);
    return st;
}

class JournalFile : public ::testing::Test {
protected:
    void WriteBytes(const std::string& bytes) { fault_support::WriteBytes(m_path, bytes); }
    std::string ReadBytes() const { return fault_support::ReadBytes(m_path); }
    std::vector<std::string> Read() const {
        CStringList list;
        ReadTextLines(m_path, list);
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < list.GetCount(); ++i)
            lines.emplace_back(list.GetAt(i));
        return lines;
    }
    std::vector<std::string> FolderEntries() const { return m_folder.Names(); }

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

const std::vector<std::string> kNew = {"the new journal", "    second line"};

// Run as root: a journal of another user and group, with an unusual mode, a user
// attribute and an access ACL, keeps them all after root saves it.
TEST(KeptOnSave, OwnerGroupModeAndExtendedAttributes) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    ScratchFolder scratch;
    const std::string path = scratch.Path("journal");
    fault_support::WriteBytes(path, "old\r\n");
    ASSERT_EQ(::chown(path.c_str(), 4321, 8765), 0);
    ASSERT_EQ(::chmod(path.c_str(), 02640), 0);
    // user::rw- user:1234:r-- group::r-- mask::r-- other::--- in the kernel's binary form.
    const std::uint32_t acl[] = {2,          1 | 6 << 16,    0xFFFFFFFF, 2 | 4 << 16,
                                 1234,       4 | 4 << 16,    0xFFFFFFFF, 0x10 | 4 << 16,
                                 0xFFFFFFFF, 0x20 | 0 << 16, 0xFFFFFFFF};
    const bool userAttributes = ::setxattr(path.c_str(), "user.tabulon", "kept", 4, 0) == 0;
    const bool acls = ::setxattr(path.c_str(), "system.posix_acl_access", acl, sizeof acl, 0) == 0;
    const struct stat before = StatusOf(path);

    WriteTextLines(path, ListOf(kNew));

    EXPECT_EQ(fault_support::ReadBytes(path), Joined(kNew, "\r\n"));
    const struct stat after = StatusOf(path);
    EXPECT_EQ(after.st_uid, 4321u);
    EXPECT_EQ(after.st_gid, 8765u);
    EXPECT_EQ(after.st_mode, before.st_mode);
    char value[256];
    if (userAttributes) {
        const ssize_t n = ::getxattr(path.c_str(), "user.tabulon", value, sizeof value);
        EXPECT_EQ(std::string(value, static_cast<std::size_t>(std::max<ssize_t>(n, 0))), "kept");
    }
    if (acls) {
        const ssize_t n = ::getxattr(path.c_str(), "system.posix_acl_access", value, sizeof value);
        EXPECT_EQ(n, static_cast<ssize_t>(sizeof acl));
        EXPECT_EQ(std::memcmp(value, acl, sizeof acl), 0) << "the ACL changed";
    }
    if (!userAttributes || !acls)
        GTEST_SKIP() << "this file system keeps no user attributes or ACLs: owner, group and "
                        "mode were checked";
}

// Every name of a journal with hard links shows the new text, still one file.
TEST(KeptOnSave, HardLinks) {
    ScratchFolder scratch;
    const std::string path = scratch.Path("journal"), other = scratch.Path("other name");
    fault_support::WriteBytes(path, "old\r\n");
    ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
    WriteTextLines(path, ListOf(kNew));
    EXPECT_EQ(fault_support::ReadBytes(path), Joined(kNew, "\r\n"));
    EXPECT_EQ(fault_support::ReadBytes(other), Joined(kNew, "\r\n"));
    EXPECT_EQ(StatusOf(path).st_ino, StatusOf(other).st_ino);
    EXPECT_EQ(StatusOf(path).st_nlink, 2u);
    // A shorter text leaves nothing of the longer one behind.
    WriteTextLines(other, ListOf({"x"}));
    EXPECT_EQ(fault_support::ReadBytes(path), "x\r\n");
    EXPECT_EQ(scratch.Names(), (std::vector<std::string>{"journal", "other name"}));
}

struct FolderCase {
    const char* name;
    mode_t folderMode;
};

void PrintTo(const FolderCase& folder, std::ostream* out) {
    *out << folder.name;
}

class KeptOnSaveInAFolder : public ::testing::TestWithParam<FolderCase> {};

// The user (nobody) may write the journal but not replace it in its folder: a read-only
// folder, or a sticky one like /tmp where the journal belongs to someone else. The save
// rewrites the file in place; past a file size limit it fails before writing anything.
TEST_P(KeptOnSaveInAFolder, WritableJournalIsRewrittenInPlace) {
    ScratchFolder scratch;
    const std::string folder = scratch.Path("shared");
    ASSERT_EQ(::mkdir(folder.c_str(), 0777), 0);
    const std::string path = folder + "/journal";
    const std::string old = "an older journal\r\n";
    fault_support::WriteBytes(path, old);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(folder.c_str(), GetParam().folderMode), 0);
    const struct stat before = StatusOf(path);

    ChildLimits limits;
    limits.unprivileged = true;
    limits.fileSizeLimit = 4096;
    const fault_support::ChildResult child = RunInChild(limits, [&]() -> std::string {
        if (::geteuid() == before.st_uid)
            return "SKIP: the journal must belong to another user than the one saving";
        std::string problems;
        try {
            WriteTextLines(path, ListOf({std::string(5000, 'x')}));
            problems += "a save past the size limit succeeded. ";
        } catch (const CFileException& error) {
            if (std::string(error.what()).find("File too large; the file is unchanged") ==
                std::string::npos)
                problems += std::string("unexpected message: ") + error.what() + " ";
        }
        if (fault_support::ReadBytes(path) != old)
            problems += "the refused save changed the file. ";
        try {
            WriteTextLines(path, ListOf(kNew));
        } catch (const CFileException& error) {
            problems += std::string("the save failed: ") + error.what();
        }
        return problems;
    });
    if (child.status == fault_support::kSetupFailed || child.text.rfind("SKIP: ", 0) == 0)
        GTEST_SKIP() << "cannot become another user here " << child.text;
    EXPECT_EQ(child.text, "");
    EXPECT_EQ(fault_support::ReadBytes(path), Joined(kNew, "\r\n"));
    const struct stat after = StatusOf(path);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_mode, before.st_mode);
    ::chmod(folder.c_str(), 0777);
    EXPECT_EQ(scratch.Names(), std::vector<std::string>{"shared"});
}

INSTANTIATE_TEST_SUITE_P(Journal, KeptOnSaveInAFolder,
                         ::testing::Values(FolderCase{"ReadOnlyFolder", 0555},
                                           FolderCase{"StickyFolderOfAnotherUser", 01777}),
                         [](const auto& info) { return std::string(info.param.name); });

// The longest name the file system takes saves, new and over itself.
TEST(KeptOnSave, NameOfTheLongestLength) {
    ScratchFolder scratch;
    const std::string path = scratch.Path(std::string(255, 'j'));
    WriteTextLines(path, ListOf({"first"}));
    WriteTextLines(path, ListOf(kNew));
    EXPECT_EQ(fault_support::ReadBytes(path), Joined(kNew, "\r\n"));
    EXPECT_EQ(scratch.Names(), std::vector<std::string>{std::string(255, 'j')});
}

// Another program holds the journal's lock (stopped, say, while it saved): a save waits for it
// a while, then gives up with a message and leaves the file as it was; once the lock is let
// go, the save that waits gets it.
TEST(KeptOnSave, SaveWaitsForAnotherProgramsLockOnlySoLong) {
    ScratchFolder scratch;
    const std::string path = scratch.Path("held.txt");
    WriteTextLines(path, ListOf({"first"}));
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        char byte = 0;
        if (fd < 0 || ::flock(fd, LOCK_EX) != 0 || ::write(ready[1], "x", 1) != 1)
            ::_exit(1);
        while (::read(release[0], &byte, 1) < 0 && errno == EINTR) {
        }
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);

    const auto start = std::chrono::steady_clock::now();
    try {
        WriteTextLines(path, ListOf(kNew), std::chrono::milliseconds(300));
        ADD_FAILURE() << "the save did not wait for the lock";
    } catch (const CFileException& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot save \"" + path + "\": another program holds it locked.");
    }
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    EXPECT_EQ(fault_support::ReadBytes(path), "first\r\n");

    std::thread letGo([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_EQ(::write(release[1], "x", 1), 1);
    });
    WriteTextLines(path, ListOf(kNew), std::chrono::seconds(60));
    letGo.join();
    int status = 0;
    ::waitpid(holder, &status, 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(fault_support::ReadBytes(path), Joined(kNew, "\r\n"));
    for (int fd : {ready[0], ready[1], release[0], release[1]})
        ::close(fd);
}

// Twelve saves of a large journal, each killed at a random moment: the folder holds only the
// journal, with either the text before or the text of the save.
TEST(KeptOnSave, SavesKilledAtRandomMomentsLeaveOnlyTheWholeJournal) {
    ScratchFolder scratch;
    const std::string path = scratch.Path("journal");
    std::vector<std::string> texts[2];
    for (int k = 0; k < 2; ++k)
        for (int i = 0; i < 200000; ++i)
            texts[k].push_back("journal " + std::to_string(k) + " line " + std::to_string(i) +
                               std::string(static_cast<std::size_t>(20 + i % 50), '.'));
    const CStringList lists[2] = {ListOf(texts[0]), ListOf(texts[1])};
    const std::string bytes[2] = {Joined(texts[0], "\r\n"), Joined(texts[1], "\r\n")};
    WriteTextLines(path, lists[0]);
    const auto start = std::chrono::steady_clock::now();
    WriteTextLines(path, lists[1]);
    const auto took = std::chrono::steady_clock::now() - start;
    std::mt19937 random(20261208);
    for (int round = 0; round < 12; ++round) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            WriteTextLines(path, lists[round % 2]);
            ::_exit(0);
        }
        std::this_thread::sleep_for(took * std::uniform_real_distribution<double>(0, 1.2)(random));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        EXPECT_EQ(scratch.Names(), std::vector<std::string>{"journal"}) << "round " << round;
        const std::string now = fault_support::ReadBytes(path);
        EXPECT_TRUE(now == bytes[0] || now == bytes[1]) << "round " << round << ": not whole";
    }
}

// A journal that only grew since it was read is appended to: the same file (inode, hard
// links) gains the new lines' bytes. An append that does not fit under the file size limit
// takes back what it wrote and leaves the journal as it was.
TEST(KeptOnSave, JournalThatOnlyGrewIsAppendedTo) {
    ScratchFolder scratch;
    const std::string path = scratch.Path("journal"), other = scratch.Path("other name");
    fault_support::WriteBytes(path, Joined(kNew, "\r\n"));
    ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
    CStringList lines;
    const JournalFileState read = ReadTextLines(path, lines);
    EXPECT_TRUE(read.exact);
    EXPECT_EQ(read.lineCount, kNew.size());
    const struct stat before = StatusOf(path);
    lines.AddTail("an appended report");
    const JournalSave saved = SaveJournal(path, lines, read, OtherChanges::KeepAppended);
    std::vector<std::string> expected = kNew;
    expected.push_back("an appended report");
    EXPECT_EQ(fault_support::ReadBytes(other), Joined(expected, "\r\n"));
    EXPECT_EQ(StatusOf(path).st_ino, before.st_ino);
    EXPECT_EQ(StatusOf(path).st_nlink, 2u);
    EXPECT_EQ(saved.state.lineCount, expected.size());

    lines.AddTail(std::string(5000, 'x'));
    ChildLimits limits;
    limits.fileSizeLimit = 4096;
    const fault_support::ChildResult child = RunInChild(limits, [&]() -> std::string {
        try {
            SaveJournal(path, lines, saved.state, OtherChanges::KeepAppended);
            return "an append past the size limit succeeded";
        } catch (const CFileException& error) {
            return error.what();
        }
    });
    EXPECT_EQ(child.text, "Cannot save \"" + path + "\": File too large; the file is unchanged.");
    EXPECT_EQ(fault_support::ReadBytes(path), Joined(expected, "\r\n"));
    EXPECT_EQ(scratch.Names(), (std::vector<std::string>{"journal", "other name"}));
}

// An in-place rewrite (a journal with hard links) killed at random moments, of a journal
// whose lines end in LF or in CR LF: once the journal is next read, it is the old text or
// the new one, never a mixture, and no recovery copy is left.
class KilledInPlaceSave : public ::testing::TestWithParam<const char*> {};

TEST_P(KilledInPlaceSave, LeavesTheOldOrTheNewJournal) {
    ScratchFolder scratch;
    const std::string path = scratch.Path("journal"), other = scratch.Path("other name");
    std::vector<std::string> texts[2];
    for (int k = 0; k < 2; ++k)
        for (int i = 0; i < 60000; ++i)
            texts[k].push_back("journal " + std::to_string(k) + " line " + std::to_string(i) +
                               std::string(static_cast<std::size_t>(10 + i % 40), '.'));
    const std::string oldBytes = Joined(texts[0], GetParam());
    const CStringList newLines = ListOf(texts[1]);
    const std::string newBytes = Joined(texts[1], "\r\n");
    fault_support::WriteBytes(path, oldBytes);
    ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
    const auto start = std::chrono::steady_clock::now();
    WriteTextLines(other, newLines);
    const auto took = std::chrono::steady_clock::now() - start;
    std::mt19937 random(20261209);
    int mixed = 0, completed = 0;
    for (int round = 0; round < 25; ++round) {
        fault_support::WriteBytes(path, oldBytes); // in place: the link stays
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            WriteTextLines(path, newLines);
            ::_exit(0);
        }
        std::this_thread::sleep_for(took * std::uniform_real_distribution<double>(0, 1.2)(random));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        CStringList lines;
        ReadTextLines(path, lines);
        const std::string now = fault_support::ReadBytes(path);
        mixed += now != oldBytes && now != newBytes;
        completed += now == newBytes;
        EXPECT_EQ(scratch.Names(), (std::vector<std::string>{"journal", "other name"}))
            << "round " << round;
    }
    EXPECT_EQ(mixed, 0);
    RecordProperty("completed", completed);
}

INSTANTIATE_TEST_SUITE_P(Journal, KilledInPlaceSave, ::testing::Values("\n", "\r\n"),
                         [](const auto& info) {
                             return std::string(info.param[0] == '\n' ? "LineFeeds"
                                                                      : "CarriageReturnLineFeeds");
                         });

// A named pipe may never deliver, or never end: it is refused at once, also when a writer
// has put 60 KB of random bytes into it, and the journal keeps exactly the lines it held.
TEST(NonTextFileFaultsThroughAPipe, RefusedAtOnceLeavingTheLinesAsTheyWere) {
    ScratchFolder scratch;
    const std::string pipe = scratch.Path("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0) << std::strerror(errno);
    for (const bool delivering : {false, true}) {
        // Opened for reading and writing, the pipe holds bytes without blocking anyone.
        const int fd = delivering ? ::open(pipe.c_str(), O_RDWR | O_NONBLOCK) : -1;
        if (delivering) {
            const std::string bytes = fault_support::RandomBytes().substr(0, 60000);
            ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        }
        CStringList lines;
        lines.AddTail("held before");
        try {
            ReadTextLines(pipe, lines);
            ADD_FAILURE() << "a named pipe was read";
        } catch (const CFileException& error) {
            EXPECT_NE(std::string(error.what()).find("it is not a plain file"), std::string::npos)
                << error.what();
        }
        const std::vector<std::string> expected = {"held before"};
        ASSERT_EQ(lines.GetCount(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(lines.GetAt(i), expected[i]) << "line " << i;
        if (fd >= 0)
            ::close(fd);
    }
}

} // namespace
