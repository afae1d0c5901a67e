// SPDX-License-Identifier: GPL-3.0-or-later
// tabulon-cli --journal with other writers and odd files: concurrent runs take turns and
// lose no report, a report that cannot be shown is not saved, pipes and devices are
// refused at once, names are bytes, and a file holding NUL bytes is not a journal.
#include "FaultTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/wait.h>

using fault_support::CountLines;
using fault_support::ReadBytes;
using fault_support::RunCli;
using fault_support::ScratchFolder;
using fault_support::WriteBytes;

namespace {

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
            for (int r = 0; r < 10; ++r) {
                const std::string command = std::string(TABULON_CLI) + " insurance --amount 1000" +
                                            std::to_string(w + 1) + " --journal '" + journal +
                                            "' >/dev/null 2>&1 </dev/null";
                failures += std::system(command.c_str()) != 0;
            }
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
    const std::string journal = scratch.Path("journal"), err = scratch.Path("err");
    const std::string old = "an older journal\r\n";
    WriteBytes(journal, old);
    const std::string command = std::string(TABULON_CLI) + " pension --journal " + journal +
                                " >/dev/full 2>" + err + " </dev/null";
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    const std::string message = ReadBytes(err);
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
        const fault_support::CliResult result =
            RunCli({"insurance", "--journal", c.journal}, scratch);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_EQ(result.status, 1) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(CountLines(result.err), 1u) << result.err;
        EXPECT_NE(result.err.find('"' + c.journal + "\": " + c.reason), std::string::npos)
            << result.err;
    }
    EXPECT_EQ(ReadBytes(binary), bytes);
    // Standard output a pipe, and the journal /dev/stdout: refused, the pipe gets nothing.
    const std::string command =
        std::string(TABULON_CLI) + " insurance --journal /dev/stdout 2>&1 </dev/null | cat";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[512] = {};
    const bool got = std::fgets(line, sizeof line, pipe) != nullptr;
    const int raw = ::pclose(pipe);
    EXPECT_TRUE(got);
    EXPECT_NE(std::string(line).find("\"/dev/stdout\": it is not a plain file"), std::string::npos)
        << line;
    EXPECT_TRUE(WIFEXITED(raw));
}

// A name that is not UTF-8 is bytes like any other: the journal is made and grows.
TEST(CliJournalNames, NameThatIsNotUtf8OpensAndSaves) {
    ScratchFolder scratch;
    const std::string journal = scratch.Path("journal-\xff\xfe-latin1-caf\xe9");
    for (int run = 0; run < 2; ++run) {
        const fault_support::CliResult result = RunCli({"pension", "--journal", journal}, scratch);
        EXPECT_EQ(result.status, 0) << result.err;
    }
    EXPECT_EQ(Occurrences(ReadBytes(journal), "LIFE INSURANCE AND PENSIONS"), 1u);
    EXPECT_EQ(Occurrences(ReadBytes(journal), "Policy type"), 2u);
}

} // namespace
