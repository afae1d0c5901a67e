// SPDX-License-Identifier: GPL-3.0-or-later
// Shared helpers of the benchmark programs: typical journal text, files, child processes.
#pragma once

#include "PolicyDialog.h"
#include "StringList.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The five policy types a report can be made for.
struct PolicyCase {
    PolicyKind kind;
    int policyIndex;
    const char* name;
};
extern const PolicyCase kPolicies[5];

// Dialog values of a full report: both sections, table 1, rate 5 percent, amount 10000
// given, and the longest term the dialog admits (so the term types cover the whole table).
PolicyDialogData FullReportValues(const PolicyCase& policy, int age);

// The lines of a mix of real reports (every policy type, several ages and tables, both
// sections): what a journal that has been used for a while consists of.
const CStringList& ReportSample();

// The first count lines of a journal made of ReportSample() repeated.
void FillJournal(CStringList& lines, std::size_t count);

// The bytes of such a journal as a file: every line followed by CR LF.
std::string JournalFileText(std::size_t lines);

// Writes bytes to path with plain write() calls and no fsync; throws std::runtime_error.
void WriteWholeFile(const std::string& path, const std::string& bytes);

// The folder for the benchmarks' files (TABULON_BENCH_DIR, or the build folder's bench-data).
std::string DataFolder();

// A child process's end: wall time from start to exit, and its CPU time.
struct ChildResult {
    int status = -1; // exit status, or -1 when it did not exit normally
    double wallSeconds = 0;
    double cpuSeconds = 0; // user + system
};

// Runs a program with the given arguments, environment additions ("NAME=value"),
// standard input from /dev/null and standard output (and error, unless keepStderr) to
// /dev/null, and waits for it.
ChildResult RunChild(const std::vector<std::string>& argv, const std::vector<std::string>& env = {},
                     const std::string& stdoutPath = "/dev/null", bool keepStderr = false);

// Reads the whole standard output of a program (for children that report a measurement).
std::string CaptureChild(const std::vector<std::string>& argv);

// Runs the registered benchmarks that the command line selects, as a benchmark program's
// main does; 1 for an argument Google Benchmark does not know.
int RunRegistered(int& argc, char** argv);

} // namespace bench
