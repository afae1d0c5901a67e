// SPDX-License-Identifier: GPL-3.0-or-later
// Opening and saving journals of typical report lines, beside a plain read() of the same
// file into memory and a plain write() + fsync() of the same bytes; and the memory a
// journal of a million lines takes.
#include "BenchSupport.h"

#include "TabulonDoc.h"

#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::int64_t kSizes[] = {1000, 100000, 1000000};

// The journal file of a given number of lines, made once per run.
struct JournalFile {
    std::string path;
    std::string bytes;
};

const JournalFile& FileOf(std::int64_t lines) {
    static std::map<std::int64_t, JournalFile> files;
    JournalFile& file = files[lines];
    if (file.path.empty()) {
        file.path = bench::DataFolder() + "/journal-" + std::to_string(lines) + ".txt";
        file.bytes = bench::JournalFileText(static_cast<std::size_t>(lines));
        bench::WriteWholeFile(file.path, file.bytes);
    }
    return file;
}

void ThrowErrno(const char* what, const std::string& path) {
    throw std::runtime_error(std::string(what) + " " + path + ": " + std::strerror(errno));
}

// The physical baseline of opening: the whole file read() into fresh memory.
double PlainRead(const std::string& path) {
    const bench::Clock::time_point start = bench::Clock::now();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        ThrowErrno("cannot open", path);
    struct stat st {};
    ::fstat(fd, &st);
    const std::size_t size = static_cast<std::size_t>(st.st_size);
    std::unique_ptr<char[]> buffer(new char[size]);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, buffer.get() + done, size - done);
        if (n <= 0)
            ThrowErrno("cannot read", path);
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    benchmark::DoNotOptimize(buffer.get()[size / 2]);
    buffer.reset();
    return bench::SecondsSince(start);
}

// The physical baseline of saving: the same bytes write() to a file and fsync()ed.
double PlainWrite(const std::string& path, const std::string& bytes) {
    const bench::Clock::time_point start = bench::Clock::now();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        ThrowErrno("cannot create", path);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            ThrowErrno("cannot write", path);
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0)
        ThrowErrno("cannot flush", path);
    ::close(fd);
    return bench::SecondsSince(start);
}

double OpenJournal(const std::string& path) {
    const bench::Clock::time_point start = bench::Clock::now();
    {
        CTabulonDoc doc;
        doc.OnOpenDocument(path);
        benchmark::DoNotOptimize(doc.GetLines()->GetCount());
    }
    return bench::SecondsSince(start);
}

void SetThroughput(benchmark::State& state, const JournalFile& file) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.bytes.size()));
}

void BM_PlainRead(benchmark::State& state) {
    const JournalFile& file = FileOf(state.range(0));
    for (auto _ : state)
        state.SetIterationTime(PlainRead(file.path));
    SetThroughput(state, file);
}

// Each iteration also reads the file plainly, so the ratio compares the two under the
// same conditions: vs_plain = plain read time / open time (a third or more is the aim).
void BM_OpenJournal(benchmark::State& state) {
    const JournalFile& file = FileOf(state.range(0));
    double plain = 0, open = 0;
    for (auto _ : state) {
        plain += PlainRead(file.path);
        const double seconds = OpenJournal(file.path);
        open += seconds;
        state.SetIterationTime(seconds);
    }
    SetThroughput(state, file);
    state.counters["vs_plain"] = plain / open;
}

void BM_PlainWrite(benchmark::State& state) {
    const JournalFile& file = FileOf(state.range(0));
    const std::string target = bench::DataFolder() + "/plain-written.txt";
    for (auto _ : state)
        state.SetIterationTime(PlainWrite(target, file.bytes));
    SetThroughput(state, file);
    ::unlink(target.c_str());
}

// vs_plain = plain write time / save time, measured alternately as for opening.
void BM_SaveJournal(benchmark::State& state) {
    const JournalFile& file = FileOf(state.range(0));
    CTabulonDoc doc;
    doc.OnOpenDocument(file.path);
    const std::string target = bench::DataFolder() + "/saved.txt";
    const std::string plainTarget = bench::DataFolder() + "/plain-written.txt";
    double plain = 0, save = 0;
    for (auto _ : state) {
        plain += PlainWrite(plainTarget, file.bytes);
        const bench::Clock::time_point start = bench::Clock::now();
        doc.OnSaveDocument(target, std::nullopt, OtherChanges::Overwrite);
        const double seconds = bench::SecondsSince(start);
        save += seconds;
        state.SetIterationTime(seconds);
    }
    SetThroughput(state, file);
    state.counters["vs_plain"] = plain / save;
    ::unlink(target.c_str());
    ::unlink(plainTarget.c_str());
}

// A journal of the given size reopened, one report calculated and File Save: only the report's
// lines are appended and synced, whatever the journal's size (the calculation is not timed).
void BM_AppendSave(benchmark::State& state) {
    const JournalFile& file = FileOf(state.range(0));
    const std::string target = bench::DataFolder() + "/appended.txt";
    bench::WriteWholeFile(target, file.bytes);
    CTabulonDoc doc;
    doc.OpenFile(target);
    const bench::PolicyCase& policy = bench::kPolicies[1];
    const PolicyDialogData values = bench::FullReportValues(policy, 40);
    for (auto _ : state) {
        doc.RunCalculation(policy.kind, values);
        const bench::Clock::time_point start = bench::Clock::now();
        doc.SaveFile(target);
        state.SetIterationTime(bench::SecondsSince(start));
    }
    state.counters["journal_lines"] = static_cast<double>(doc.GetLines()->GetCount());
    ::unlink(target.c_str());
}

// Resident memory of this process in bytes, from /proc/self/statm.
long ResidentBytes() {
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * ::sysconf(_SC_PAGESIZE);
}

// Peak resident memory of this process image in bytes (VmHWM). Unlike getrusage's maxrss,
// it starts afresh at exec instead of inheriting the peak of the process that spawned it.
long PeakResidentBytes() {
    long kilobytes = 0;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "VmHWM: %ld kB", &kilobytes) == 1)
                break;
        std::fclose(status);
    }
    return kilobytes * 1024;
}

constexpr const char* kMemoryChildOption = "--journal-memory-child=";

// In a fresh process: resident memory before opening, held after opening, and the peak.
int MeasureMemoryInChild(const std::string& path) {
    const long before = ResidentBytes();
    const long peakBefore = PeakResidentBytes();
    CTabulonDoc doc;
    doc.OnOpenDocument(path);
    const long held = ResidentBytes();
    std::printf("%ld %ld %ld %ld %zu\n", before, peakBefore, held, PeakResidentBytes(),
                doc.GetLines()->GetCount());
    return 0;
}

// Peak memory of opening a journal, measured in a child process so that nothing else
// this program did counts: peak_x_file = (peak resident - resident before) / file size.
void BM_JournalMemory(benchmark::State& state) {
    const JournalFile& file = FileOf(state.range(0));
    long before = 0, peakBefore = 0, held = 0, peak = 0;
    std::size_t lines = 0;
    for (auto _ : state) {
        const std::string output =
            bench::CaptureChild({"/proc/self/exe", std::string(kMemoryChildOption) + file.path});
        if (std::sscanf(output.c_str(), "%ld %ld %ld %ld %zu", &before, &peakBefore, &held, &peak,
                        &lines) != 5 ||
            lines != static_cast<std::size_t>(state.range(0))) {
            state.SkipWithError("the measuring child gave no result");
            return;
        }
    }
    const double size = static_cast<double>(file.bytes.size());
    state.counters["file_MB"] = size / 1e6;
    state.counters["held_MB"] = static_cast<double>(held - before) / 1e6;
    state.counters["peak_MB"] = static_cast<double>(peak - before) / 1e6;
    state.counters["held_x_file"] = static_cast<double>(held - before) / size;
    state.counters["peak_x_file"] = static_cast<double>(peak - before) / size;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 &&
        std::strncmp(argv[1], kMemoryChildOption, std::strlen(kMemoryChildOption)) == 0)
        return MeasureMemoryInChild(argv[1] + std::strlen(kMemoryChildOption));

    for (const std::int64_t lines : kSizes) {
        // Few iterations for the large files: each moves tens of megabytes through fsync.
        const double minTime = lines >= 1000000 ? 1.0 : 0.5;
        benchmark::RegisterBenchmark("PlainRead", BM_PlainRead)
            ->Arg(lines)
            ->UseManualTime()
            ->MinTime(minTime)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("OpenJournal", BM_OpenJournal)
            ->Arg(lines)
            ->UseManualTime()
            ->MinTime(minTime)
            ->Unit(benchmark::kMillisecond);
    }
    for (const std::int64_t lines : kSizes) {
        const double minTime = lines >= 1000000 ? 1.0 : 0.5;
        benchmark::RegisterBenchmark("PlainWrite", BM_PlainWrite)
            ->Arg(lines)
            ->UseManualTime()
            ->MinTime(minTime)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("SaveJournal", BM_SaveJournal)
            ->Arg(lines)
            ->UseManualTime()
            ->MinTime(minTime)
            ->Unit(benchmark::kMillisecond);
    }
    for (const std::int64_t lines : {kSizes[0], kSizes[2]})
        benchmark::RegisterBenchmark("AppendSave", BM_AppendSave)
            ->Arg(lines)
            ->UseManualTime()
            ->MinTime(0.5)
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("JournalMemory", BM_JournalMemory)
        ->Arg(1000000)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);

    const int status = bench::RunRegistered(argc, argv);
    for (const std::int64_t lines : kSizes)
        ::unlink((bench::DataFolder() + "/journal-" + std::to_string(lines) + ".txt").c_str());
    return status;
}
