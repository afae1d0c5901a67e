// SPDX-License-Identifier: GPL-3.0-or-later
// The journal document: new journals, the calculation commands with scripted answers,
// check marks, what the views are told, the modified flag and the record surviving New
// and Open; and what the disk and the file can do to a journal. A failed open or save names
// the file and the reason and changes nothing: the journal, its modified flag, its path and
// the file on disk stay as they were, and no temporary file is left behind. A file that is
// not text still opens, by the journal's rules. Permission faults run in a child that gives
// up root's privileges; the out-of-room faults run in a child with a file size limit or on
// a small private filesystem.
#include "TestSupport.h"

#include "FileException.h"

#include "FaultTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

using fault_support::ChildLimits;
using fault_support::ChildResult;
using fault_support::FileFault;
using fault_support::FileSizeLimit;
using fault_support::Folder;
using fault_support::InsideAFile;
using fault_support::Joined;
using fault_support::LinesOf;
using fault_support::MissingFolder;
using fault_support::NamedPipe;
using fault_support::NameTooLong;
using fault_support::NullDevice;
using fault_support::OldJournal;
using fault_support::RandomBytes;
using fault_support::ReadBytes;
using fault_support::ReadOnlyFile;
using fault_support::ReadOnlyFolder;
using fault_support::RunInChild;
using fault_support::ScratchFolder;
using fault_support::Snapshot;
using fault_support::Unprivileged;
using fault_support::WriteBytes;
using testing_support::LinesFrom;
using testing_support::ScriptedPrompt;
using testing_support::Sections;
using testing_support::Values;
using testing_support::With;

namespace {

class CheckRecorder : public CCmdUI {
public:
    void SetCheck(int check) override { m_check = check; }
    void Enable(bool enabled) override { m_enabled = enabled; }
    int m_check = -1;
    bool m_enabled = true;
};

// Remembers every change it is told of, as "appended 2+121", "calculation 2+121" or
// "replaced".
class RecordingView : public CView {
public:
    void OnUpdate(const DocumentEvent& event) override {
        switch (event.kind) {
        case DocumentEvent::Kind::LinesAppended:
            m_events.push_back("appended " + Span(event));
            break;
        case DocumentEvent::Kind::CalculationAppended:
            m_events.push_back("calculation " + Span(event));
            break;
        case DocumentEvent::Kind::Replaced:
            m_events.push_back("replaced");
            break;
        }
    }
    std::vector<std::string> m_events;

private:
    static std::string Span(const DocumentEvent& event) {
        return std::to_string(event.from) + "+" + std::to_string(event.count);
    }
};

int InsuranceCheck(const CTabulonDoc& doc) {
    CheckRecorder ui;
    doc.OnUpdateTypeInsurance(&ui);
    return ui.m_check;
}

int PensionCheck(const CTabulonDoc& doc) {
    CheckRecorder ui;
    doc.OnUpdateTypePension(&ui);
    return ui.m_check;
}

// Scripts every answer the document asks for, remembering the last opening values.
void Script(CTabulonDoc& doc, std::optional<PolicyDialogData> answer,
            PolicyDialogData* seen = nullptr) {
    doc.SetValuesPrompt(ScriptedPrompt(answer, seen));
}

const std::vector<std::string> kOpeningLines = {
    "LIFE INSURANCE AND PENSIONS, journal of calculations.",
    "    To start program, click on `Type of policy'.",
};

TEST(Document, NewJournalHoldsTheTwoOpeningLinesUnmodified) {
    CTabulonDoc doc;
    RecordingView view;
    doc.AddView(&view);
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(LinesFrom(doc), kOpeningLines);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "Untitled");
    EXPECT_EQ(view.m_events, std::vector<std::string>{"replaced"});
    EXPECT_EQ(InsuranceCheck(doc), 1);
    EXPECT_EQ(PensionCheck(doc), 0);
}

TEST(Document, FirstDialogOpensWithTheRecordDefaults) {
    CTabulonDoc doc;
    doc.OnNewDocument();
    PolicyDialogData seen;
    Script(doc, std::nullopt, &seen);
    doc.OnTypeInsurance();
    EXPECT_EQ(seen.m_nAge, 60);
    EXPECT_EQ(seen.m_nTerm, 5);
    EXPECT_EQ(seen.m_fAmount, 10000.0f);
    EXPECT_EQ(seen.m_nRate, 5);
    EXPECT_EQ(seen.m_nInputKind, 1);
    EXPECT_EQ(seen.m_bMortality, 0);
    EXPECT_EQ(seen.m_bNetIncome, 0);
    EXPECT_EQ(seen.m_nTableIndex, -1);
    EXPECT_EQ(seen.m_nPolicyIndex, -1);
}

TEST(Document, CancelledDialogOnlyMovesTheCheckMark) {
    CTabulonDoc doc;
    doc.OnNewDocument();
    RecordingView view;
    doc.AddView(&view);
    Script(doc, std::nullopt);
    doc.OnTypePension();
    EXPECT_EQ(LinesFrom(doc), kOpeningLines);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(view.m_events.empty());
    EXPECT_EQ(InsuranceCheck(doc), 0);
    EXPECT_EQ(PensionCheck(doc), 1);
    doc.OnTypeInsurance();
    EXPECT_EQ(InsuranceCheck(doc), 1);
    EXPECT_EQ(PensionCheck(doc), 0);
}

TEST(Document, AcceptedRunAppendsUpdatesViewsAndMarksModified) {
    CTabulonDoc doc;
    doc.OnNewDocument();
    RecordingView view;
    doc.AddView(&view);
    PolicyDialogData answer = Values(2, 45, 20, 3, 50000, 1);
    answer.m_bNetIncome = 1;
    Script(doc, answer);
    doc.OnTypeInsurance();
    EXPECT_TRUE(doc.IsModified());
    std::vector<std::string> expected = kOpeningLines;
    for (const std::string& line : testing_support::Report(PolicyKind::Insurance, answer))
        expected.push_back(line);
    EXPECT_EQ(LinesFrom(doc), expected);
    EXPECT_EQ(view.m_events,
              std::vector<std::string>{"calculation 2+" + std::to_string(expected.size() - 2)});
    EXPECT_EQ(doc.m_nTable, 2);
    EXPECT_EQ(doc.m_nPolicyType, 3);
}

TEST(Document, NextDialogIsPreloadedFromTheLastRunEvenAfterNew) {
    CTabulonDoc doc;
    doc.OnNewDocument();
    PolicyDialogData answer = Values(1, 33, 12, 7, 2500.5f);
    answer.m_nInputKind = 2;
    answer.m_bMortality = 1;
    Script(doc, answer);
    doc.OnTypePension();
    doc.OnNewDocument();
    EXPECT_EQ(LinesFrom(doc), kOpeningLines);
    EXPECT_FALSE(doc.IsModified());

    PolicyDialogData seen;
    Script(doc, std::nullopt, &seen);
    doc.OnTypeInsurance();
    EXPECT_EQ(seen.m_nAge, 33);
    EXPECT_EQ(seen.m_nTerm, 12);
    EXPECT_EQ(seen.m_nRate, 7);
    EXPECT_EQ(seen.m_fAmount, 2500.5f);
    // Input kind and sections always start afresh.
    EXPECT_EQ(seen.m_nInputKind, 1);
    EXPECT_EQ(seen.m_bMortality, 0);
}

class DocumentFiles : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return m_folder.Path(name); }
    fault_support::ScratchFolder m_folder;
};

TEST_F(DocumentFiles, RecordSurvivesOpenAndOpenAppendsToTheJournal) {
    CTabulonDoc doc;
    doc.OnNewDocument();
    doc.SaveFile(Path("opening"));
    Script(doc, Values(0, 70, 5, 6));
    doc.OnTypeInsurance();
    const std::size_t before = doc.GetLines()->GetCount();
    RecordingView view;
    doc.AddView(&view);
    doc.OpenFile(Path("opening"));
    EXPECT_EQ(view.m_events, std::vector<std::string>{"appended " + std::to_string(before) + "+2"});
    EXPECT_EQ(doc.GetLines()->GetCount(), before + 2);
    EXPECT_EQ(LinesFrom(doc, before), kOpeningLines);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "opening");
    EXPECT_EQ(doc.m_nAge, 70);
    EXPECT_EQ(doc.m_dRate, 6.0);
    EXPECT_EQ(InsuranceCheck(doc), 1);
}

TEST_F(DocumentFiles, FailedOpenKeepsJournalPathAndFlag) {
    CTabulonDoc doc;
    doc.OnNewDocument();
    Script(doc, Values(1));
    doc.OnTypeInsurance();
    const std::vector<std::string> before = LinesFrom(doc);
    RecordingView view;
    doc.AddView(&view);
    try {
        doc.OpenFile(Path("missing"));
        FAIL() << "opening a missing file succeeded";
    } catch (const CFileException& error) {
        EXPECT_NE(std::string(error.what()).find(Path("missing")), std::string::npos)
            << error.what();
        EXPECT_NE(std::string(error.what()).find("No such file"), std::string::npos)
            << error.what();
    }
    EXPECT_EQ(LinesFrom(doc), before);
    EXPECT_TRUE(view.m_events.empty());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), "");
}

TEST_F(DocumentFiles, FailedSaveKeepsTheJournalModifiedAndTheOldPath) {
    CTabulonDoc doc;
    doc.OnNewDocument();
    doc.SaveFile(Path("journal"));
    Script(doc, Values(1));
    doc.OnTypeInsurance();
    EXPECT_THROW(doc.SaveFile(Path("no-such-folder/journal")), CFileException);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), Path("journal"));
}

// What another program does to the journal between the document's open and its save, and
// what the save makes of it: lines appended by another program (tabulon-cli --journal) are
// kept, after those the file held and before the document's own; any other change is
// refused with FileProblem::ChangedByAnotherProgram and the file left as it was, unless the
// user chose to overwrite.
struct OtherProgramCase {
    const char* name;
    std::string theirs; // what the other program leaves in the file ("" : nothing)
    bool appended;      // whether theirs is the file with lines appended
};

void PrintTo(const OtherProgramCase& c, std::ostream* out) {
    *out << c.name;
}

class KeptOnSaveAfterAnotherProgram : public ::testing::TestWithParam<OtherProgramCase> {};

TEST_P(KeptOnSaveAfterAnotherProgram, AppendedLinesJoinAnyOtherChangeIsRefused) {
    const OtherProgramCase& c = GetParam();
    ScratchFolder scratch;
    const std::string path = scratch.Path("journal");
    CTabulonDoc doc;
    doc.OnNewDocument();
    doc.SaveFile(path);
    const std::string saved = ReadBytes(path);
    RecordingView view;
    doc.AddView(&view);
    Script(doc, Values(1));
    doc.OnTypeInsurance();
    const std::vector<std::string> mine = LinesFrom(doc);
    if (!c.theirs.empty()) {
        WriteBytes(path, c.theirs);
        // A later modification time, whatever the file system's clock resolution.
        struct stat status {};
        ASSERT_EQ(::stat(path.c_str(), &status), 0);
        struct timespec later[2] = {{0, UTIME_OMIT}, {status.st_mtim.tv_sec + 5, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), later, 0), 0);
    }
    if (!c.theirs.empty() && !c.appended) {
        try {
            doc.SaveFile(path);
            ADD_FAILURE() << "another program's change was overwritten without asking";
        } catch (const CFileException& error) {
            EXPECT_EQ(error.GetProblem(), FileProblem::ChangedByAnotherProgram);
            EXPECT_EQ(std::string(error.what()),
                      "Cannot save \"" + path + "\": another program changed it.");
        }
        EXPECT_EQ(ReadBytes(path), c.theirs);
        EXPECT_TRUE(doc.IsModified());
        doc.SaveFile(path, OtherChanges::Overwrite);
        EXPECT_EQ(ReadBytes(path), Joined(mine, "\r\n"));
        return;
    }
    doc.SaveFile(path);
    std::vector<std::string> expected(mine.begin(), mine.begin() + 2);
    const std::vector<std::string> added = LinesOf(c.theirs.empty() ? saved : c.theirs);
    expected.insert(expected.end(), added.begin() + 2, added.end());
    expected.insert(expected.end(), mine.begin() + 2, mine.end());
    EXPECT_EQ(LinesFrom(doc), expected) << "the journal does not show the other program's lines";
    EXPECT_EQ(ReadBytes(path), Joined(expected, "\r\n"));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(view.m_events.back(),
              added.size() > 2 ? "replaced" : "calculation 2+" + std::to_string(mine.size() - 2));
    doc.RemoveView(&view);
}

const std::string kOpening = Joined(kOpeningLines, "\r\n");

INSTANTIATE_TEST_SUITE_P(
    Journal, KeptOnSaveAfterAnotherProgram,
    ::testing::Values(
        OtherProgramCase{"Untouched", "", true},
        OtherProgramCase{"LinesAppended", kOpening + "their report\r\nsecond line\r\n", true},
        OtherProgramCase{"LinesAppendedWithLineFeeds", kOpening + "their report\n", true},
        OtherProgramCase{"SameSizeOtherBytes", "l" + kOpening.substr(1), false},
        OtherProgramCase{"ShortenedByALine", kOpeningLines[0] + "\r\n", false},
        OtherProgramCase{"ReplacedWhole", "another program's journal\r\n", false}),
    [](const auto& info) { return std::string(info.param.name); });

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

// A journal saved once to `earlier`, then grown by `runs` calculations and so modified.
void PrepareJournal(CTabulonDoc& doc, const std::string& earlier, int runs = 1) {
    doc.OnNewDocument();
    doc.SaveFile(earlier);
    for (int i = 0; i < runs; ++i)
        doc.RunCalculation(PolicyKind::Insurance, With(Sections::Both, Values(1, 0, 50)));
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

// Makes the fault, then opens or saves the journal at its path in a child under its limits:
// the operation fails cleanly and every file in the folder stays as it was (no temporary
// file is left behind).
void ExpectFailedOperation(const FileFault& fault,
                           void (*operation)(CTabulonDoc&, const std::string&)) {
    ScratchFolder scratch;
    const std::string path = fault.make(scratch);
    if (path.empty())
        GTEST_SKIP() << "cannot make the file for this fault here (a device node needs root)";
    CTabulonDoc doc;
    PrepareJournal(doc, scratch.Path("earlier"), fault.runs);
    const auto before = Snapshot(scratch.Path());
    ExpectCleanFailure(RunInChild(fault.limits, [&] {
        return CheckFailure(
            doc, [&] { operation(doc, path); }, path, fault.reason);
    }));
    EXPECT_TRUE(Snapshot(scratch.Path()) == before) << "a file in the folder changed";
}

// ---- Opening --------------------------------------------------------------------------

class OpenFaults : public ::testing::TestWithParam<FileFault> {};

TEST_P(OpenFaults, FailedOpenNamesFileAndReasonAndKeepsTheJournal) {
    ExpectFailedOperation(GetParam(),
                          [](CTabulonDoc& doc, const std::string& path) { doc.OpenFile(path); });
}

INSTANTIATE_TEST_SUITE_P(Journal, OpenFaults,
                         ::testing::ValuesIn(fault_support::UnreadableFiles(
                             {FileFault{"FileUsedAsFolder", InsideAFile, "Not a directory"},
                              FileFault{"NameTooLong", NameTooLong, "File name too long"}})),
                         [](const auto& info) { return std::string(info.param.name); });

// A file larger than the memory left: the read fails before a line is added.
TEST(OpenFaultsOutOfMemory, FileLargerThanMemoryLeavesTheJournalAsItWas) {
    if (fault_support::kAddressSanitizer)
        GTEST_SKIP() << "an address-space limit cannot be set under the address sanitizer";
    ScratchFolder scratch;
    const std::string path = fault_support::LargerThanMemory(scratch);
    CTabulonDoc doc;
    PrepareJournal(doc, scratch.Path("earlier"));
    ExpectCleanFailure(RunInChild(fault_support::AddressSpaceLimit(64 << 20), [&] {
        return CheckFailure(
            doc, [&] { doc.OpenFile(path); }, path, "not enough memory");
    }));
}

// ---- Saving ---------------------------------------------------------------------------

class SaveFaults : public ::testing::TestWithParam<FileFault> {};

TEST_P(SaveFaults, FailedSaveNamesFileAndReasonAndLeavesTheOldFileWhole) {
    ExpectFailedOperation(GetParam(),
                          [](CTabulonDoc& doc, const std::string& path) { doc.SaveFile(path); });
}

// Each run at age 0 with both sections adds about 16 KB; 8 runs pass a 64 KB limit.
INSTANTIATE_TEST_SUITE_P(
    Journal, SaveFaults,
    ::testing::Values(FileFault{"FolderGivenAsFile", Folder, "Is a directory", {}, 1},
                      FileFault{"MissingFolder", MissingFolder, "No such file or directory", {}, 1},
                      FileFault{"OverADevice", NullDevice, "it is not a plain file", {}, 1},
                      FileFault{"OverANamedPipe", NamedPipe, "it is not a plain file", {}, 1},
                      FileFault{"ReadOnlyFolder", ReadOnlyFolder, "Permission denied",
                                Unprivileged(), 1},
                      FileFault{"ReadOnlyFileInWritableFolder", ReadOnlyFile, "Permission denied",
                                Unprivileged(), 1},
                      FileFault{"OutOfRoomAtFileSizeLimit", OldJournal, "File too large",
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
    const std::string old = fault_support::kOldJournal;
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
    const std::string path = OldJournal(scratch);
    CTabulonDoc doc;
    PrepareJournal(doc, scratch.Path("earlier"), 8);
    const auto before = Snapshot(scratch.Path());
    ExpectCleanFailure(RunInChild(fault_support::AddressSpaceLimit(16 << 20), [&] {
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
    const std::string path = OldJournal(scratch);
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

} // namespace
