// SPDX-License-Identifier: GPL-3.0-or-later
// What a save keeps of the file it replaces: owner, group, mode, extended attributes and
// hard links; a writable journal in a folder the user may not write; a name of the longest
// length; no debris after a save killed at any moment; and the document telling when
// another program changed the file since it was read or saved.
#include "FaultTestSupport.h"
#include "FileException.h"
#include "TestSupport.h"
#include "TextFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <sys/xattr.h>
#include <thread>

using fault_support::ChildLimits;
using fault_support::ReadBytes;
using fault_support::RunInChild;
using fault_support::ScratchFolder;
using fault_support::WriteBytes;

namespace {

// The lines of text as a list, and the bytes a save writes for them.
CStringList ListOf(const std::vector<std::string>& lines) {
    CStringList list;
    for (const std::string& line : lines)
        list.AddTail(line);
    return list;
}

std::string Saved(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

struct stat StatusOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path << ": " << std::strerror(errno);
    return st;
}

const std::vector<std::string> kNew = {"the new journal", "    second line"};

// Run as root: a journal of another user and group, with an unusual mode, a user
// attribute and an access ACL, keeps them all after root saves it.
TEST(KeptOnSave, OwnerGroupModeAndExtendedAttributes) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    ScratchFolder scratch;
    const std::string path = scratch.Path("journal");
    WriteBytes(path, "old\r\n");
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

    EXPECT_EQ(ReadBytes(path), Saved(kNew));
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
    WriteBytes(path, "old\r\n");
    ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
    WriteTextLines(path, ListOf(kNew));
    EXPECT_EQ(ReadBytes(path), Saved(kNew));
    EXPECT_EQ(ReadBytes(other), Saved(kNew));
    EXPECT_EQ(StatusOf(path).st_ino, StatusOf(other).st_ino);
    EXPECT_EQ(StatusOf(path).st_nlink, 2u);
    // A shorter text leaves nothing of the longer one behind.
    WriteTextLines(other, ListOf({"x"}));
    EXPECT_EQ(ReadBytes(path), "x\r\n");
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
    WriteBytes(path, old);
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
        if (ReadBytes(path) != old)
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
    EXPECT_EQ(ReadBytes(path), Saved(kNew));
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
    EXPECT_EQ(ReadBytes(path), Saved(kNew));
    EXPECT_EQ(scratch.Names(), std::vector<std::string>{std::string(255, 'j')});
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
    const std::string bytes[2] = {Saved(texts[0]), Saved(texts[1])};
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
        const std::string now = ReadBytes(path);
        EXPECT_TRUE(now == bytes[0] || now == bytes[1]) << "round " << round << ": not whole";
    }
}

// The document tells when the file at its path is no longer what it read or wrote there.
TEST(KeptOnSave, DocumentTellsWhenAnotherProgramChangedItsFile) {
    ScratchFolder scratch;
    const std::string path = scratch.Path("journal");
    CTabulonDoc doc;
    doc.OnNewDocument();
    EXPECT_FALSE(doc.ChangedOnDiskSinceOpenOrSave()) << "untitled";
    doc.SaveFile(path);
    EXPECT_FALSE(doc.ChangedOnDiskSinceOpenOrSave()) << "just saved";
    // Same size, other bytes, a later modification time.
    const std::string saved = ReadBytes(path);
    std::string changed = saved;
    changed[0] = 'l';
    WriteBytes(path, changed);
    struct timespec later[2] = {{0, UTIME_OMIT}, {StatusOf(path).st_mtim.tv_sec + 5, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), later, 0), 0);
    EXPECT_TRUE(doc.ChangedOnDiskSinceOpenOrSave()) << "changed in place";
    doc.OpenFile(path);
    EXPECT_FALSE(doc.ChangedOnDiskSinceOpenOrSave()) << "just read";
    // Another program's save renames a new file over it.
    CTabulonDoc other;
    other.OpenFile(path);
    other.SaveFile(path);
    EXPECT_TRUE(doc.ChangedOnDiskSinceOpenOrSave()) << "replaced by another save";
    doc.SaveFile(path);
    EXPECT_FALSE(doc.ChangedOnDiskSinceOpenOrSave()) << "overwritten";
    ::unlink(path.c_str());
    EXPECT_FALSE(doc.ChangedOnDiskSinceOpenOrSave()) << "removed: nothing to lose";
}

} // namespace
