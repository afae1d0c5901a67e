// SPDX-License-Identifier: GPL-3.0-or-later
// tabulon-cli as scripts use it: the printed lines are the journal's, options and checks,
// the journal file, JSON and batch output. tabulon-cli --journal with other writers and odd
// files: concurrent runs take turns and lose no report, a report that cannot be shown is not
// saved, pipes and devices are refused at once, names are bytes, a file holding NUL bytes is
// not a journal, and a journal that cannot be read or saved ends the run with status 1, one
// line naming the file and the reason, and every file unchanged. Pricing on the user's own
// mortality tables with --table-file, up to age 150.
#include "TestSupport.h"

#include "FaultTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using fault_support::ChildLimits;
using fault_support::CliResult;
using fault_support::CountLines;
using fault_support::FileFault;
using fault_support::Joined;
using fault_support::LinesOf;
using fault_support::ReadBytes;
using fault_support::RunCli;
using fault_support::ScratchFolder;
using fault_support::Snapshot;
using fault_support::Unprivileged;
using fault_support::WriteBytes;
using testing_support::Report;
using testing_support::Sections;
using testing_support::Values;
using testing_support::With;

namespace {

class Cli : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return m_folder.Path(name); }

    ScratchFolder m_folder;
};

TEST_F(Cli, PrintsExactlyTheLinesARunAppends) {
    const PolicyDialogData values = With(Sections::Both, Values(2, 0, 30, 4, 25000, 3));
    const CliResult r =
        RunCli({"insurance", "--policy", "endowment", "--table", "regional-female", "--age", "0",
                "--term", "30", "--rate", "4", "--amount", "25000", "--mortality", "--net-income"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, Joined(Report(PolicyKind::Insurance, values), "\n"));
}

TEST_F(Cli, DefaultsAreTheDialogsOpeningValues) {
    const CliResult r = RunCli({"pension"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Joined(Report(PolicyKind::Pension, Values(1)), "\n"));
    PolicyDialogData payment = Values(0, 60, 5, 5, 973.01f);
    payment.m_nInputKind = 2;
    EXPECT_EQ(RunCli({"pension", "--policy=1", "--given", "payment", "--amount=973.01"}).out,
              Joined(Report(PolicyKind::Pension, payment), "\n"));
}

TEST_F(Cli, BadValuesPrintOneLineNamingTheOptionAndNothingElse) {
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"insurance", "--age", "107"},
                                               {"insurance", "--term", "0"},
                                               {"pension", "--policy", "3"},
                                               {"insurance", "--amount", "1,000"},
                                               {"insurance", "--rate", "5.5"},
                                               {"insurance", "--table", "mars"},
                                               {"insurance", "--given", "payment"},
                                               {"insurance", "--age"},
                                               {"insurance", "--bogus"},
                                               {"annuity"}}) {
        std::vector<std::string> args = bad;
        args.insert(args.end(), {"--journal", Path("untouched")});
        const CliResult r = RunCli(args);
        EXPECT_EQ(r.status, 2) << bad[1];
        EXPECT_EQ(r.out, "") << bad[1];
        EXPECT_EQ(CountLines(r.err), 1u) << bad[1] << ": " << r.err;
        EXPECT_NE(::access(Path("untouched").c_str(), F_OK), 0) << bad[1];
    }
    EXPECT_NE(RunCli({"insurance", "--age", "107"}).err.find("--age"), std::string::npos);
    EXPECT_NE(RunCli({"insurance", "--policy", "2", "--term", "0"}).err.find("--term"),
              std::string::npos);
    // Whole life does not use the term, so 0 is fine there.
    EXPECT_EQ(RunCli({"insurance", "--policy", "whole-life", "--term", "0"}).status, 0);
}

TEST_F(Cli, JournalFileStartsNewAndThenGrowsRunByRun) {
    const std::string journal = Path("my journal");
    const CliResult first = RunCli({"insurance", "--journal", journal});
    ASSERT_EQ(first.status, 0) << first.err;
    const std::vector<std::string> report = Report(PolicyKind::Insurance, Values(1));
    const std::string opening = "LIFE INSURANCE AND PENSIONS, journal of calculations.\r\n"
                                "    To start program, click on `Type of policy'.\r\n";
    EXPECT_EQ(ReadBytes(journal), opening + Joined(report, "\r\n"));
    ASSERT_EQ(RunCli({"insurance", "--journal", journal}).status, 0);
    EXPECT_EQ(ReadBytes(journal), opening + Joined(report, "\r\n") + Joined(report, "\r\n"));
}

TEST_F(Cli, UnreadableJournalExitsWithStatusOneAndTheReason) {
    const CliResult r = RunCli({"insurance", "--journal", m_folder.Path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(m_folder.Path()), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Is a directory"), std::string::npos) << r.err;
}

TEST_F(Cli, JsonCarriesTheResultsAtFullPrecision) {
    const CliResult r = RunCli({"insurance", "--policy", "2", "--json"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out.front(), '{');
    EXPECT_EQ(r.out.substr(r.out.size() - 2), "}\n");
    EXPECT_NE(r.out.find("\"premium\":207.04499565617"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"unit_annual_pv\":4.375607001961"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"edni\":"), std::string::npos);
    // Nobody alive on table 3 at 106: non-finite results become null.
    EXPECT_NE(RunCli({"insurance", "--table", "3", "--age", "106", "--json"})
                  .out.find("\"premium\":null"),
              std::string::npos);
}

TEST_F(Cli, BatchPricesGoodRowsAndReportsBadOnesByLine) {
    WriteBytes(Path("policies.csv"), "kind,policy,table,age,term,rate,amount,given\n"
                                     "insurance,term-life,1,60,5,5,10000,amount\n"
                                     "pension,9,1,60,5,5,10000,amount\n"
                                     "pension,2,national-male,60,5,5,10000,amount\n");
    const CliResult r = RunCli({"batch", Path("policies.csv")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("policies.csv:3:"), std::string::npos) << r.err;
    std::istringstream rows(r.out);
    std::string header, first, second, extra;
    std::getline(rows, header);
    std::getline(rows, first);
    std::getline(rows, second);
    EXPECT_FALSE(std::getline(rows, extra));
    EXPECT_EQ(first.rfind("2,insurance,2,1,60,5,5,10000,207.04499565617", 0), 0u) << first;
    EXPECT_EQ(second.rfind("4,pension,2,1,60,5,5,10000,2452.99", 0), 0u) << second;
}

TEST_F(Cli, HelpAndVersion) {
    const CliResult help = RunCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--net-income"), std::string::npos);
    EXPECT_EQ(RunCli({"--version"}).out, "tabulon-cli " TABULON_PROJECT_VERSION "\n");
    EXPECT_EQ(RunCli({}).status, 2);
}

std::size_t Occurrences(const std::string& text, const std::string& word) {
    std::size_t count = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++count;
    return count;
}

// Eight runs at a time, ten reports each, on one journal that does not exist yet.
TEST(CliJournalLock, ConcurrentWritersLoseNoReport) {
    ScratchFolder scratch;
    const std::string journal = scratch.Path("journal");
    std::vector<pid_t> writers;
    for (int w = 0; w < 8; ++w) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failures = 0;
            for (int r = 0; r < 10; ++r)
                failures += RunCli({"insurance", "--amount", "1000" + std::to_string(w + 1),
                                    "--journal", journal})
                                .status != 0;
            ::_exit(failures);
        }
        writers.push_back(pid);
    }
    for (const pid_t pid : writers) {
        int raw = 0;
        ::waitpid(pid, &raw, 0);
        EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << "a run failed";
    }
    const std::string text = ReadBytes(journal);
    EXPECT_EQ(Occurrences(text, "LIFE INSURANCE AND PENSIONS"), 1u);
    for (int w = 0; w < 8; ++w)
        EXPECT_EQ(Occurrences(text, " 1000" + std::to_string(w + 1) + ".00 "), 10u)
            << "reports of writer " << w;
}

// Standard output that cannot be written: one line on standard error, status 1, and the
// journal as it was, so that running again adds the report once.
TEST(CliJournalStandardOutput, FailedReportLeavesTheJournalUntouched) {
    ScratchFolder scratch;
    const std::string journal = scratch.Path("journal");
    const std::string old = "an older journal\r\n";
    WriteBytes(journal, old);
    ChildLimits full;
    full.standardOutput = "/dev/full";
    const CliResult result = RunCli({"pension", "--journal", journal}, full);
    EXPECT_EQ(result.status, 1);
    const std::string message = result.err;
    EXPECT_EQ(CountLines(message), 1u) << message;
    EXPECT_NE(message.find("standard output: No space left on device"), std::string::npos)
        << message;
    EXPECT_EQ(ReadBytes(journal), old);
}

// A named pipe without a writer, a pipe reached through /dev/stdout, a file holding NUL
// bytes: status 1 at once, one line naming the file and the reason, the file untouched.
TEST(CliJournalRefused, PipesDevicesAndFilesHoldingNulBytes) {
    ScratchFolder scratch;
    const std::string fifo = scratch.Path("fifo"), binary = scratch.Path("binary");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string bytes("journal line\r\n\0\x01\x02\r\n", 19);
    WriteBytes(binary, bytes);
    struct Case {
        std::string journal;
        std::string reason;
    };
    for (const Case& c : {Case{fifo, "it is not a plain file"},
                          Case{binary, "it is not a journal (it holds NUL bytes)"}}) {
        const auto start = std::chrono::steady_clock::now();
        const CliResult result = RunCli({"insurance", "--journal", c.journal});
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(result.status, 1) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(CountLines(result.err), 1u) << result.err;
        EXPECT_NE(result.err.find('"' + c.journal + "\": " + c.reason), std::string::npos)
            << result.err;
    }
    EXPECT_EQ(ReadBytes(binary), bytes);
    // Standard output a pipe, and the journal /dev/stdout: refused, the pipe gets nothing.
    const CliResult result = RunCli({"insurance", "--journal", "/dev/stdout"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("\"/dev/stdout\": it is not a plain file"), std::string::npos)
        << result.err;
}

// A name that is not UTF-8 is bytes like any other: the journal is made and grows.
TEST(CliJournalNames, NameThatIsNotUtf8OpensAndSaves) {
    ScratchFolder scratch;
    const std::string journal = scratch.Path("journal-\xff\xfe-latin1-caf\xe9");
    for (int run = 0; run < 2; ++run) {
        const CliResult result = RunCli({"pension", "--journal", journal});
        EXPECT_EQ(result.status, 0) << result.err;
    }
    EXPECT_EQ(Occurrences(ReadBytes(journal), "LIFE INSURANCE AND PENSIONS"), 1u);
    EXPECT_EQ(Occurrences(ReadBytes(journal), "Policy type"), 2u);
}

// ---- tabulon-cli --journal ------------------------------------------------------------

// Status 1, nothing on standard output, and one line naming the journal and the reason.
void ExpectRefusedJournal(const CliResult& result, const std::string& path,
                          const std::string& reason) {
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(CountLines(result.err), 1u) << result.err;
    EXPECT_NE(result.err.find('"' + path + "\": " + reason), std::string::npos) << result.err;
}

class CliJournalFaults : public ::testing::TestWithParam<FileFault> {};

// Status 1, nothing on standard output, one line naming the file and the reason, and
// every file as it was.
TEST_P(CliJournalFaults, ExitWithStatusOneAndLeaveTheFileAlone) {
    const FileFault& fault = GetParam();
    ScratchFolder scratch;
    const std::string path = fault.make(scratch);
    if (path.empty())
        GTEST_SKIP() << "cannot make the file for this fault here (a device node needs root)";
    const auto before = Snapshot(scratch.Path());
    const CliResult result = RunCli({"insurance", "--net-income", "--journal", path}, fault.limits);
    if (result.status == fault_support::kSetupFailed)
        GTEST_SKIP() << "the child could not give up root's privileges or set its limits";
    ExpectRefusedJournal(result, path, fault.reason);
    EXPECT_TRUE(Snapshot(scratch.Path()) == before) << "a file in the folder changed";
}

INSTANTIATE_TEST_SUITE_P(
    Journal, CliJournalFaults,
    ::testing::Values(
        FileFault{"FolderGivenAsFile", fault_support::Folder, "Is a directory", {}},
        FileFault{"FileWithoutReadPermission", fault_support::Unreadable, "Permission denied",
                  Unprivileged()},
        FileFault{"ReadOnlyFolder", fault_support::ReadOnlyFolder, "Permission denied",
                  Unprivileged()},
        FileFault{"ReadOnlyFileInWritableFolder", fault_support::ReadOnlyFile, "Permission denied",
                  Unprivileged()},
        FileFault{"MissingFolder", fault_support::MissingFolder, "No such file or directory", {}},
        FileFault{"Device", fault_support::NullDevice, "it is not a plain file", {}},
        FileFault{"OutOfRoomAtFileSizeLimit", fault_support::OldJournal, "File too large",
                  fault_support::FileSizeLimit(512, false)}),
    [](const auto& info) { return std::string(info.param.name); });

// A journal name holding a line feed and an escape: the message stays one line, the name
// shown with \xNN for those bytes.
TEST(CliJournalFaultsControlBytesInName, MessageStaysOnOneLine) {
    ScratchFolder scratch;
    const std::string path = scratch.Path("new\nline\x1b[2J");
    std::filesystem::create_directory(path);
    const CliResult result = RunCli({"pension", "--journal", path});
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
    const CliResult result = RunCli({"pension", "--journal", path});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadBytes(path),
              Joined(LinesOf(bytes), "\r\n") + Joined(LinesOf(result.out), "\r\n"));
}

// A journal larger than the memory left: status 1, the file named, nothing printed, the file kept.
TEST(CliJournalFaultsOutOfMemory, FileLargerThanMemoryExitsWithStatusOne) {
    if (fault_support::kAddressSanitizer)
        GTEST_SKIP() << "an address-space limit cannot be set under the address sanitizer";
    ScratchFolder scratch;
    const std::string path = fault_support::LargerThanMemory(scratch);
    const CliResult result =
        RunCli({"insurance", "--journal", path}, fault_support::AddressSpaceLimit(64 << 20));
    if (result.status == fault_support::kSetupFailed)
        GTEST_SKIP() << "the child could not set its address-space limit";
    ExpectRefusedJournal(result, path, "not enough memory");
    EXPECT_EQ(std::filesystem::file_size(path), std::uintmax_t{256} << 20);
}

// q = 0.05 at ages 0..149; everybody dies in the year of age 150.
std::string TableToAge150() {
    std::string text = "age,qx\n";
    for (int x = 0; x <= 150; ++x)
        text += std::to_string(x) + (x < 150 ? ",0.05\n" : ",1\n");
    return text;
}

// A table to age 150: every per-age column takes it, the mortality section lists the ages
// from the applicant's on, and a term past the table's end ends with the table.
TEST(TableFile, ReachesAge150) {
    ScratchFolder scratch;
    fault_support::WriteBytes(scratch.Path("old.csv"), TableToAge150());
    const CliResult whole = RunCli({"insurance", "--policy", "whole-life", "--table-file",
                                    scratch.Path("old.csv"), "--age", "140", "--mortality"});
    ASSERT_EQ(whole.status, 0) << whole.err;
    EXPECT_NE(whole.out.find("based on the old mortality table."), std::string::npos);
    EXPECT_NE(whole.out.find("\n  140 "), std::string::npos);
    EXPECT_NE(whole.out.find("\n  150 "), std::string::npos);
    EXPECT_EQ(whole.out.find("\n  139 "), std::string::npos);
    EXPECT_EQ(whole.out.find("\n  151 "), std::string::npos);

    const CliResult term =
        RunCli({"pension", "--policy", "term-annuity", "--table-file", scratch.Path("old.csv"),
                "--age", "150", "--term", "10", "--net-income"});
    ASSERT_EQ(term.status, 0) << term.err;
    EXPECT_NE(term.out.find("     151+"), std::string::npos) << term.out;
}

// The published SOA files load and price; no value the report defines is nan.
TEST(TableFile, PublishedXtbmlFilesPrice) {
    ScratchFolder scratch;
    for (const char* file : {"soa-17-1980-cso-basic-female-anb.xml",
                             "soa-3224-2015-vbt-female-nonsmoker-rr100-anb.xml"}) {
        for (const char* kind : {"insurance", "pension"}) {
            const CliResult result =
                RunCli({kind, "--table-file", std::string(TABULON_TEST_DATA) + "/tables/" + file,
                        "--age", "60", "--mortality", "--net-income"});
            EXPECT_EQ(result.status, 0) << file << ": " << result.err;
            EXPECT_EQ(result.out.find("nan"), std::string::npos) << file << "\n" << result.out;
            EXPECT_NE(result.out.find("EDNI="), std::string::npos) << file;
        }
    }
}

// The table's name comes from the user's file and must break neither the JSON object nor
// the journal's lines.
TEST(TableFile, NameFromTheFileStaysOneLineAndValidJson) {
    ScratchFolder scratch;
    const std::string path = scratch.Path("a\"b\\c\nd.csv");
    fault_support::WriteBytes(path, TableToAge150());
    const CliResult result = RunCli({"insurance", "--table-file", path, "--json"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("\"table_name\":\"a\\\"b\\\\c d\""), std::string::npos) << result.out;
    const CliResult report = RunCli({"insurance", "--table-file", path});
    EXPECT_NE(report.out.find("based on the a\"b\\c d mortality table.\n"), std::string::npos)
        << report.out;
}

} // namespace
