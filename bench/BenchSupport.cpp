// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchSupport.h"

#include "TabulonDoc.h"

#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace bench {

const PolicyCase kPolicies[5] = {
    {PolicyKind::Insurance, 0, "whole_life"}, {PolicyKind::Insurance, 1, "term_life"},
    {PolicyKind::Insurance, 2, "endowment"},  {PolicyKind::Pension, 0, "life_annuity"},
    {PolicyKind::Pension, 1, "term_annuity"},
};

PolicyDialogData FullReportValues(const PolicyCase& policy, int age) {
    PolicyDialogData values;
    values.m_bNetIncome = 1;
    values.m_bMortality = 1;
    values.m_nInputKind = 1;
    values.m_nAge = age;
    values.m_fAmount = 10000;
    values.m_nRate = 5;
    values.m_nTableIndex = 0;
    values.m_nPolicyIndex = policy.policyIndex;
    values.m_nTerm = policy_limits::UsesTerm(policy.kind, policy.policyIndex)
                         ? policy_limits::MaxTerm(policy.kind)
                         : 0;
    return values;
}

const CStringList& ReportSample() {
    static const CStringList sample = [] {
        CTabulonDoc doc;
        doc.OnNewDocument();
        int table = 0;
        for (const int age : {0, 25, 40, 60, 75}) {
            for (const PolicyCase& policy : kPolicies) {
                PolicyDialogData values = FullReportValues(policy, age);
                values.m_nTableIndex = table++ % 4;
                values.m_nTerm = policy_limits::UsesTerm(policy.kind, policy.policyIndex) ? 20 : 0;
                doc.RunCalculation(policy.kind, values);
            }
        }
        return *doc.GetLines();
    }();
    return sample;
}

void FillJournal(CStringList& lines, std::size_t count) {
    const CStringList& sample = ReportSample();
    for (std::size_t i = 0; i < count; ++i)
        lines.AddTail(sample.GetAt(i % sample.GetCount()));
}

std::string JournalFileText(std::size_t lines) {
    const CStringList& sample = ReportSample();
    std::string text;
    text.reserve(lines * 80);
    for (std::size_t i = 0; i < lines; ++i) {
        text += sample.GetAt(i % sample.GetCount());
        text += "\r\n";
    }
    return text;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot create " + path + ": " + std::strerror(errno));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

std::string DataFolder() {
    const char* folder = std::getenv("TABULON_BENCH_DIR");
    std::string path = folder && *folder ? folder : TABULON_BENCH_DATA;
    ::mkdir(path.c_str(), 0755);
    return path;
}

namespace {

std::vector<char*> PointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& text : strings)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

pid_t Spawn(std::vector<std::string> argv, const std::vector<std::string>& extraEnv,
            posix_spawn_file_actions_t& actions) {
    std::vector<std::string> env;
    for (char** entry = environ; *entry; ++entry)
        env.emplace_back(*entry);
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> args = PointersTo(argv);
    std::vector<char*> envp = PointersTo(env);
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    if (error != 0)
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(error));
    return pid;
}

ChildResult Wait(pid_t pid, Clock::time_point start) {
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    ChildResult result;
    result.wallSeconds = SecondsSince(start);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 +
                        usage.ru_stime.tv_sec + usage.ru_stime.tv_usec * 1e-6;
    return result;
}

} // namespace

ChildResult RunChild(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                     const std::string& stdoutPath, bool keepStderr) {
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, 1, stdoutPath.c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!keepStderr)
        ::posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const Clock::time_point start = Clock::now();
    const pid_t pid = Spawn(argv, env, actions);
    ::posix_spawn_file_actions_destroy(&actions);
    return Wait(pid, start);
}

std::string CaptureChild(const std::vector<std::string>& argv) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("cannot make a pipe: ") + std::strerror(errno));
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    const Clock::time_point start = Clock::now();
    const pid_t pid = Spawn(argv, {}, actions);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    std::string output;
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(pipeEnds[0], chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        output.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(pipeEnds[0]);
    Wait(pid, start);
    return output;
}

int RunRegistered(int& argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
