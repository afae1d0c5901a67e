// SPDX-License-Identifier: GPL-3.0-or-later
// What the disk and the file can do to a journal, and what Tabulon does about it.
// A failed open or save names the file and the reason and changes nothing: the journal,
// its modified flag, its path and the file on disk stay as they were, and no temporary
// file is left behind. A file that is not text still opens, by the journal's rules.
// Permission faults run in a child that gives up root's privileges; the out-of-room
// faults run in a child with a file size limit or on a small private filesystem.
#include "FaultTestSupport.h"
#include "FileException.h"
#include "TestSupport.h"
#include "TextFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <sched.h>
#include <sys/mount.h>
#include <sys/sysmacros.h>

using fault_support::ChildLimits;
using fault_support::ChildResult;
using fault_support::CountLines;
using fault_support::ReadBytes;
using fault_support::RunInChild;
using fault_support::ScratchFolder;
using fault_support::WriteBytes;
using testing_support::LinesFrom;
using testing_support::Values;

namespace {

// The journal as a user would see it: lines, modified flag and path.
struct JournalState {
    std::vector<std::string> lines;
    bool modified;
    std::string path;
    bool operator==(const JournalState&) const = default;
};

JournalState StateOf(const CTabulonDoc& doc) {
    return {LinesFrom(doc), doc.IsModified(), doc.GetPathName()};
}

std::string Joined(const std::vector<std::string>& lines, const std::string& end) {
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

// A journal saved once to `earlier`, then grown by `runs` calculations and so modified.
void PrepareJournal(CTabulonDoc& doc, const std::string& earlier, int runs = 1) {
    doc.OnNewDocument();
    doc.SaveFile(earlier);
    PolicyDialogData values = Values(1, 0, 50);
    values.m_bMortality = 1;
    values.m_bNetIncome = 1;
    for (int i = 0; i < runs; ++i)
        doc.RunCalculation(PolicyKind::Insurance, values);
}

// Describes how an operation that had to fail went wrong; empty when it failed cleanly.
// It runs inside a child, so it reports in text rather than through assertions.
std::string CheckFailure(CTabulonDoc& doc, const std::function<void()>& operation,
                         const std::string& path, const std::string& reason) {
    const JournalState before = StateOf(doc);
    std::string problems;
    try {
        operation();
        problems += "the operation succeeded. ";
    } catch (const CFileException& error) {
        const std::string message = error.what();
        if (message.find('"' + path + '"') == std::string::npos)
            problems += "the message does not name the file: " + message + " ";
        if (message.find(reason) == std::string::npos)
            problems += "the message does not give the reason '" + reason + "': " + message + " ";
        if (message.find('\n') != std::string::npos)
            problems += "the message has more than one line. ";
    }
    const JournalState after = StateOf(doc);
    if (after.lines != before.lines)
        problems += "the journal changed. ";
    if (after.modified != before.modified)
        problems += "the modified flag changed. ";
    if (after.path != before.path)
        problems += "the path changed to '" + after.path + "'. ";
    return problems;
}

// Turns a child's report into test results.
void ExpectCleanFailure(const ChildResult& child) {
    if (child.status == fault_support::kSetupFailed)
        GTEST_SKIP() << "the child could not give up root's privileges or set its limits";
    if (child.text.rfind("SKIP: ", 0) == 0)
        GTEST_SKIP() << child.text.substr(6);
    EXPECT_EQ(child.status, 0) << "the child ended abnormally: " << child.text;
    EXPECT_EQ(child.text, "");
}

// ---- Opening --------------------------------------------------------------------------

struct OpenFault {
    const char* name;
    // Makes the fault inside the folder; returns the path to open.
    std::function<std::string(const ScratchFolder&)> make;
    const char* reason;
    bool unprivileged;
};

void PrintTo(const OpenFault& fault, std::ostream* out) {
    *out << fault.name;
}

class OpenFaults : public ::testing::TestWithParam<OpenFault> {};

TEST_P(OpenFaults, FailedOpenNamesFileAndReasonAndKeepsTheJournal) {
    const OpenFault& fault = GetParam();
    ScratchFolder scratch;
    const std::string path = fault.make(scratch);
    CTabulonDoc doc;
    PrepareJournal(doc, scratch.Path("earlier"));
    ChildLimits limits;
    limits.unprivileged = fault.unprivileged;
    ExpectCleanFailure(RunInChild(limits, [&] {
        return CheckFailure(
            doc, [&] { doc.OpenFile(path); }, path, fault.reason);
    }));
}

std::string Missing(const ScratchFolder& scratch) {
    return scratch.Path("missing");
}

std::string Folder(const ScratchFolder& scratch) {
    std::filesystem::create_directory(scratch.Path("folder"));
    return scratch.Path("folder");
}

std::string Unreadable(const ScratchFolder& scratch) {
    WriteBytes(scratch.Path("secret"), "a journal line\r\n");
    ::chmod(scratch.Path("secret").c_str(), 0200);
    return scratch.Path("secret");
}

std::string InsideAFile(const ScratchFolder& scratch) {
    WriteBytes(scratch.Path("plain"), "a journal line\r\n");
    return scratch.Path("plain/journal");
}

std::string NameTooLong(const ScratchFolder& scratch) {
    return scratch.Path(std::string(300, 'j'));
}

std::string EndlessDevice(const ScratchFolder&) {
    return "/dev/zero";
}

INSTANTIATE_TEST_SUITE_P(
    Journal, OpenFaults,
    ::testing::Values(OpenFault{"MissingFile", Missing, "No such file or directory", false},
                      OpenFault{"FolderGivenAsFile", Folder, "Is a directory", false},
                      OpenFault{"FileWithoutReadPermission", Unreadable, "Permission denied", true},
                      OpenFault{"FileUsedAsFolder", InsideAFile, "Not a directory", false},
                      OpenFault{"NameTooLong", NameTooLong, "File name too long", false},
                      OpenFault{"EndlessDevice", EndlessDevice, "it is not a plain file", false}),
    [](const auto& info) { return std::string(info.param.name); });

// A file larger than the memory left: the read fails before a line is added.
TEST(OpenFaultsOutOfMemory, FileLargerThanMemoryLeavesTheJournalAsItWas) {
    if (fault_support::kAddressSanitizer)
        GTEST_SKIP() << "an address-space limit cannot be set under the address sanitizer";
    ScratchFolder scratch;
    const std::string path = scratch.Path("huge");
    WriteBytes(path, "first line\r\n");
    std::filesystem::resize_file(path, 256 << 20); // the rest reads as NUL bytes
    CTabulonDoc doc;
    PrepareJournal(doc, scratch.Path("earlier"));
    ChildLimits limits;
    limits.addressSpace = 64 << 20;
    ExpectCleanFailure(RunInChild(limits, [&] {
        return CheckFailure(
            doc, [&] { doc.OpenFile(path); }, path, "not enough memory");
    }));
}

// ---- Saving ---------------------------------------------------------------------------

struct SaveFault {
    const char* name;
    // Makes the fault inside the folder; returns the path to save to.
    std::function<std::string(const ScratchFolder&)> make;
    const char* reason;
    ChildLimits limits;
    int runs; // calculations in the journal, enough to pass a size limit
};

void PrintTo(const SaveFault& fault, std::ostream* out) {
    *out << fault.name;
}

class SaveFaults : public ::testing::TestWithParam<SaveFault> {};

// Lists every name under the folder, with the bytes of each file.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        files[entry.path().string()] =
            entry.is_regular_file() ? ReadBytes(entry.path()) : "<not a plain file>";
    return files;
}

TEST_P(SaveFaults, FailedSaveNamesFileAndReasonAndLeavesTheOldFileWhole) {
    const SaveFault& fault = GetParam();
    ScratchFolder scratch;
    const std::string path = fault.make(scratch);
    if (path.empty())
        GTEST_SKIP() << "cannot make the file for this fault here (a device node needs root)";
    CTabulonDoc doc;
    PrepareJournal(doc, scratch.Path("earlier"), fault.runs);
    const auto before = Snapshot(scratch.Path());
    ExpectCleanFailure(RunInChild(fault.limits, [&] {
        return CheckFailure(
            doc, [&] { doc.SaveFile(path); }, path, fault.reason);
    }));
    // The old file is whole, nothing new appeared (no temporary file is left behind).
    EXPECT_TRUE(Snapshot(scratch.Path()) == before) << "a file in the folder changed";
}

// An older journal of two lines at the place of the save.
std::string OldJournal(const ScratchFolder& scratch, const std::string& folder) {
    std::filesystem::create_directories(scratch.Path(folder));
    const std::string path = scratch.Path(folder + "/journal");
    WriteBytes(path, " \r\n*** an older journal\r\n");
    ::chmod(path.c_str(), 0666);
    return path;
}

// A new journal in a folder the user may not write (a writable journal already there is
// rewritten in place instead: see KeptOnSave).
std::string ReadOnlyFolder(const ScratchFolder& scratch) {
    OldJournal(scratch, "locked");
    ::chmod(scratch.Path("locked").c_str(), 0555);
    return scratch.Path("locked/new journal");
}

std::string ReadOnlyFile(const ScratchFolder& scratch) {
    const std::string path = OldJournal(scratch, "open");
    ::chmod(scratch.Path("open").c_str(), 0777);
    ::chmod(path.c_str(), 0444);
    return path;
}

std::string MissingFolder(const ScratchFolder& scratch) {
    return scratch.Path("none/journal");
}

// A node of the null device (only root may make one; the test is skipped otherwise).
std::string NullDevice(const ScratchFolder& scratch) {
    const std::string path = scratch.Path("null");
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 ? path : "";
}

std::string NamedPipe(const ScratchFolder& scratch) {
    const std::string path = scratch.Path("pipe");
    return ::mkfifo(path.c_str(), 0666) == 0 ? path : "";
}

std::string SmallLimit(const ScratchFolder& scratch) {
    return OldJournal(scratch, "limited");
}

ChildLimits Unprivileged() {
    ChildLimits limits;
    limits.unprivileged = true;
    return limits;
}

ChildLimits FileSizeLimit(long long bytes) {
    ChildLimits limits;
    limits.fileSizeLimit = bytes;
    return limits;
}

// Each run at age 0 with both sections adds about 16 KB; 8 runs pass a 64 KB limit.
INSTANTIATE_TEST_SUITE_P(
    Journal, SaveFaults,
    ::testing::Values(SaveFault{"FolderGivenAsFile", Folder, "Is a directory", {}, 1},
                      SaveFault{"MissingFolder", MissingFolder, "No such file or directory", {}, 1},
                      SaveFault{"OverADevice", NullDevice, "it is not a plain file", {}, 1},
                      SaveFault{"OverANamedPipe", NamedPipe, "it is not a plain file", {}, 1},
                      SaveFault{"ReadOnlyFolder", ReadOnlyFolder, "Permission denied",
                                Unprivileged(), 1},
                      SaveFault{"ReadOnlyFileInWritableFolder", ReadOnlyFile, "Permission denied",
                                Unprivileged(), 1},
                      SaveFault{"OutOfRoomAtFileSizeLimit", SmallLimit, "File too large",
                                FileSizeLimit(64 * 1024), 8}),
    [](const auto& info) { return std::string(info.param.name); });

// A disk that fills up: a 64 KB filesystem mounted in a private mount namespace of the
// child (needs root; skipped elsewhere), holding an old journal, then a larger save.
TEST(SaveFaultsOnAFullDisk, FailedSaveNamesFileAndReasonAndLeavesTheOldFileWhole) {
    ScratchFolder scratch;
    std::filesystem::create_directory(scratch.Path("disk"));
    CTabulonDoc doc;
    PrepareJournal(doc, scratch.Path("earlier"), 8);
    const std::string path = scratch.Path("disk/journal");
    const std::string old = " \r\n*** an older journal\r\n";
    const ChildResult child = RunInChild({}, [&]() -> std::string {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tabulon-test", scratch.Path("disk").c_str(), "tmpfs", 0, "size=64k") != 0)
            return std::string("SKIP: cannot mount a small filesystem here: ") +
                   std::strerror(errno);
        WriteBytes(path, old);
        std::string problems = CheckFailure(
            doc, [&] { doc.SaveFile(path); }, path, "No space left on device");
        if (ReadBytes(path) != old)
            problems += "the old journal changed. ";
        const auto names = std::distance(std::filesystem::directory_iterator(scratch.Path("disk")),
                                         std::filesystem::directory_iterator());
        if (names != 1)
            problems += "a temporary file was left behind. ";
        return problems;
    });
    ExpectCleanFailure(child);
}

// Takes every byte the allocator can still give (under an address-space limit) but the
// spare ones, and gives it all back when it goes.
class MemoryHog {
public:
    explicit MemoryHog(std::size_t spare) {
        m_blocks.reserve(1 << 16);
        while (m_blocks.size() < m_blocks.capacity()) {
            void* block = std::malloc(kBlock);
            if (block == nullptr)
                break;
            m_blocks.push_back(block);
        }
        for (std::size_t freed = 0; freed < spare && !m_blocks.empty(); freed += kBlock) {
            std::free(m_blocks.back());
            m_blocks.pop_back();
        }
    }
    ~MemoryHog() {
        for (void* block : m_blocks)
            std::free(block);
    }
    MemoryHog(const MemoryHog&) = delete;
    MemoryHog& operator=(const MemoryHog&) = delete;

private:
    static constexpr std::size_t kBlock = 4096;
    std::vector<void*> m_blocks;
};

// Saving with 64 KB of memory left, too little for the write buffer: reported like any
// failed save (it used to escape as std::bad_alloc and end tabulon-cli without a word).
TEST(SaveFaultsOutOfMemory, FailedSaveNamesFileAndReasonAndLeavesTheOldFileWhole) {
    if (fault_support::kAddressSanitizer)
        GTEST_SKIP() << "an address-space limit cannot be set under the address sanitizer";
    ScratchFolder scratch;
    const std::string path = SmallLimit(scratch);
    CTabulonDoc doc;
    PrepareJournal(doc, scratch.Path("earlier"), 8);
    const auto before = Snapshot(scratch.Path());
    ChildLimits limits;
    limits.addressSpace = 16 << 20;
    ExpectCleanFailure(RunInChild(limits, [&] {
        return CheckFailure(
            doc,
            [&] {
                const MemoryHog hog(64 << 10);
                doc.SaveFile(path);
            },
            path, "not enough memory");
    }));
    EXPECT_TRUE(Snapshot(scratch.Path()) == before) << "a file in the folder changed";
}

// A save after a failed one writes the complete journal.
TEST(SaveFaultsRecovery, SaveAfterAFailedSaveWritesTheWholeJournal) {
    ScratchFolder scratch;
    const std::string path = SmallLimit(scratch);
    CTabulonDoc doc;
    PrepareJournal(doc, scratch.Path("earlier"), 8);
    ExpectCleanFailure(RunInChild(FileSizeLimit(64 * 1024), [&] {
        return CheckFailure(
            doc, [&] { doc.SaveFile(path); }, path, "File too large");
    }));
    doc.SaveFile(path);
    EXPECT_EQ(ReadBytes(path), Joined(LinesFrom(doc), "\r\n"));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), path);
}

// ---- Files that are not text ----------------------------------------------------------

// The lines a journal reads from bytes: a line feed ends a line, a last line without one is
// still a line, and trailing bytes 0-31 are dropped.
std::vector<std::string> LinesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        while (!line.empty() && static_cast<unsigned char>(line.back()) < 32)
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string RandomBytes() {
    std::mt19937 generator(20261208);
    std::string bytes(64 * 1024, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(generator() & 0xFF);
    return bytes;
}

struct NonTextFile {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines; // what the journal gains
};

void PrintTo(const NonTextFile& file, std::ostream* out) {
    *out << file.name;
}

class NonTextFileFaults : public ::testing::TestWithParam<NonTextFile> {};

// Opens the bytes after a saved and grown journal, checks the journal, saves it over the
// file and reopens it.
void ExpectOpenAppendsAndSaveWritesBack(const std::string& bytes,
                                        const std::vector<std::string>& lines) {
    ScratchFolder scratch;
    const std::string path = scratch.Path("odd");
    WriteBytes(path, bytes);
    CTabulonDoc doc;
    PrepareJournal(doc, scratch.Path("earlier"));
    const std::vector<std::string> before = LinesFrom(doc);

    doc.OpenFile(path);
    std::vector<std::string> expected = before;
    expected.insert(expected.end(), lines.begin(), lines.end());
    ASSERT_EQ(doc.GetLines()->GetCount(), expected.size());
    EXPECT_TRUE(LinesFrom(doc) == expected) << "the journal is not the old lines and the file's";
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), path);

    doc.SaveFile(path);
    EXPECT_TRUE(ReadBytes(path) == Joined(expected, "\r\n")) << "the saved file is not whole";
    CTabulonDoc reopened;
    reopened.OpenFile(path);
    EXPECT_TRUE(LinesFrom(reopened) == expected) << "the saved journal reads back differently";
}

TEST_P(NonTextFileFaults, OpenAppendsTheLinesAndSaveWritesThemBackWhole) {
    ExpectOpenAppendsAndSaveWritesBack(GetParam().bytes, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Journal, NonTextFileFaults,
    ::testing::Values(NonTextFile{"RandomBytes", RandomBytes(), LinesOf(RandomBytes())},
                      NonTextFile{"NulBytes",
                                  std::string("a\0b\r\n\0\0\r\n\0", 10),
                                  {std::string("a\0b", 3), "", ""}},
                      NonTextFile{"NoFinalLineEnd", "one\r\ntwo", {"one", "two"}},
                      NonTextFile{"CarriageReturnAlone", "a\rb\r\rc\r\n\r", {"a\rb\r\rc", ""}},
                      NonTextFile{"BareLineFeeds", "\n\nthird\n", {"", "", "third"}},
                      NonTextFile{"AccentedEndsKeptControlsDropped",
                                  "caf\xe9\t\r\n\x85\x01\x1f\r\n",
                                  {"caf\xe9", "\x85"}},
                      NonTextFile{"EmptyFile", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Made here rather than among the cases above, so that only this test builds 10 MB strings.
TEST(NonTextFileFaultsLongLine, TenMegabyteLineIsKeptWhole) {
    const std::string line(10 << 20, 'x');
    ExpectOpenAppendsAndSaveWritesBack("first\r\n" + line + "\r\nlast", {"first", line, "last"});
}

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
            const std::string bytes = RandomBytes().substr(0, 60000);
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

// ---- tabulon-cli --journal ------------------------------------------------------------

struct CliJournalFault {
    const char* name;
    // Makes the fault inside the folder "journals"; returns the journal path to pass.
    std::function<std::string(const ScratchFolder&)> make;
    const char* reason;
    ChildLimits limits;
};

void PrintTo(const CliJournalFault& fault, std::ostream* out) {
    *out << fault.name;
}

class CliJournalFaults : public ::testing::TestWithParam<CliJournalFault> {};

// Status 1, nothing on standard output, one line naming the file and the reason, and
// every file as it was.
TEST_P(CliJournalFaults, ExitWithStatusOneAndLeaveTheFileAlone) {
    const CliJournalFault& fault = GetParam();
    ScratchFolder scratch;
    std::filesystem::create_directory(scratch.Path("journals"));
    const std::string path = fault.make(scratch);
    if (path.empty())
        GTEST_SKIP() << "cannot make the file for this fault here (a device node needs root)";
    const auto before = Snapshot(scratch.Path("journals"));
    const fault_support::CliResult result = fault_support::RunProgram(
        fault_support::CopyOfCli(scratch), {"insurance", "--net-income", "--journal", path},
        scratch, fault.limits);
    if (result.status == fault_support::kSetupFailed)
        GTEST_SKIP() << "the child could not give up root's privileges or set its limits";
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(CountLines(result.err), 1u) << result.err;
    EXPECT_NE(result.err.find('"' + path + '"'), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(fault.reason), std::string::npos) << result.err;
    EXPECT_TRUE(Snapshot(scratch.Path("journals")) == before) << "a file in the folder changed";
}

std::string CliFolder(const ScratchFolder& scratch) {
    std::filesystem::create_directory(scratch.Path("journals/folder"));
    return scratch.Path("journals/folder");
}

std::string CliUnreadable(const ScratchFolder& scratch) {
    const std::string path = scratch.Path("journals/secret");
    WriteBytes(path, " \r\n*** an older journal\r\n");
    ::chmod(path.c_str(), 0200);
    return path;
}

std::string CliOldJournal(const ScratchFolder& scratch) {
    const std::string path = scratch.Path("journals/journal");
    WriteBytes(path, " \r\n*** an older journal\r\n");
    ::chmod(path.c_str(), 0644);
    return path;
}

std::string CliReadOnlyFolder(const ScratchFolder& scratch) {
    CliOldJournal(scratch);
    ::chmod(scratch.Path("journals").c_str(), 0555);
    return scratch.Path("journals/new journal");
}

std::string CliReadOnlyFile(const ScratchFolder& scratch) {
    const std::string path = CliOldJournal(scratch);
    ::chmod(scratch.Path("journals").c_str(), 0777);
    ::chmod(path.c_str(), 0444);
    return path;
}

std::string CliNullDevice(const ScratchFolder& scratch) {
    const std::string path = scratch.Path("journals/null");
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 ? path : "";
}

std::string CliMissingFolder(const ScratchFolder& scratch) {
    return scratch.Path("journals/none/journal");
}

// tabulon-cli itself must ignore SIGXFSZ, so the child keeps the default disposition.
ChildLimits CliFileSizeLimit() {
    ChildLimits limits;
    limits.fileSizeLimit = 512;
    limits.ignoreFileSizeSignal = false;
    return limits;
}

INSTANTIATE_TEST_SUITE_P(
    Journal, CliJournalFaults,
    ::testing::Values(
        CliJournalFault{"FolderGivenAsFile", CliFolder, "Is a directory", {}},
        CliJournalFault{"FileWithoutReadPermission", CliUnreadable, "Permission denied",
                        Unprivileged()},
        CliJournalFault{"ReadOnlyFolder", CliReadOnlyFolder, "Permission denied", Unprivileged()},
        CliJournalFault{"ReadOnlyFileInWritableFolder", CliReadOnlyFile, "Permission denied",
                        Unprivileged()},
        CliJournalFault{"MissingFolder", CliMissingFolder, "No such file or directory", {}},
        CliJournalFault{"Device", CliNullDevice, "it is not a plain file", {}},
        CliJournalFault{"OutOfRoomAtFileSizeLimit", CliOldJournal, "File too large",
                        CliFileSizeLimit()}),
    [](const auto& info) { return std::string(info.param.name); });

// The same through tabulon-cli: status 1, the file named, nothing printed, the file kept.
TEST(CliJournalFaultsOutOfMemory, FileLargerThanMemoryExitsWithStatusOne) {
    if (fault_support::kAddressSanitizer)
        GTEST_SKIP() << "an address-space limit cannot be set under the address sanitizer";
    ScratchFolder scratch;
    const std::string path = scratch.Path("huge");
    WriteBytes(path, "first line\r\n");
    std::filesystem::resize_file(path, 256 << 20);
    ChildLimits limits;
    limits.addressSpace = 64 << 20;
    const fault_support::CliResult result =
        fault_support::RunCli({"insurance", "--journal", path}, scratch, limits);
    if (result.status == fault_support::kSetupFailed)
        GTEST_SKIP() << "the child could not set its address-space limit";
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(CountLines(result.err), 1u) << result.err;
    EXPECT_NE(result.err.find('"' + path + '"'), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("not enough memory"), std::string::npos) << result.err;
    EXPECT_EQ(std::filesystem::file_size(path), std::uintmax_t{256} << 20);
}

// A journal name holding a line feed and an escape: the message stays one line, the name
// shown with \xNN for those bytes.
TEST(CliJournalFaultsControlBytesInName, MessageStaysOnOneLine) {
    ScratchFolder scratch;
    const std::string path = scratch.Path("new\nline\x1b[2J");
    std::filesystem::create_directory(path);
    const fault_support::CliResult result =
        fault_support::RunCli({"pension", "--journal", path}, scratch);
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(CountLines(result.err), 1u) << result.err;
    EXPECT_NE(result.err.find("new\\x0Aline\\x1B[2J\": Is a directory."), std::string::npos)
        << result.err;
}

// A journal file that is not text (but holds no NUL byte): its lines are kept by the
// journal's rules, the report follows them, and the whole is written back with CR LF.
TEST(CliJournalFaultsNonText, ReportIsAppendedAfterTheFilesLines) {
    ScratchFolder scratch;
    const std::string path = scratch.Path("odd");
    const std::string bytes("caf\xe9\t\r\na\x01"
                            "b\rc\r\n\x1b[2J",
                            17);
    WriteBytes(path, bytes);
    const fault_support::CliResult result =
        fault_support::RunCli({"pension", "--journal", path}, scratch);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadBytes(path),
              Joined(LinesOf(bytes), "\r\n") + Joined(LinesOf(result.out), "\r\n"));
}

} // namespace
