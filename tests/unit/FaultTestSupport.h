// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers for the fault tests: a scratch folder, file bytes, and running code or
// tabulon-cli in a child process with a file size limit or without root's privileges.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fault_support {

// The user the tests become when they run as root, so that permissions apply.
constexpr uid_t kNobody = 65534;

// A folder under /tmp, open to every user, removed with its contents at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        char pattern[] = "/tmp/tabulon-fault-XXXXXX";
        if (::mkdtemp(pattern) == nullptr)
            throw std::runtime_error(std::string("mkdtemp: ") + std::strerror(errno));
        m_path = pattern;
        ::chmod(m_path.c_str(), 0777);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        // Give every folder its write bit back so that a non-root run can remove it.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(m_path, ignored))
            if (entry.is_directory(ignored))
                ::chmod(entry.path().c_str(), 0777);
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string Path(const std::string& name) const { return m_path + "/" + name; }

    // Names in the folder other than the expected ones (a leftover temporary file shows here).
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string m_path;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

// How a child process is limited before it runs.
struct ChildLimits {
    bool unprivileged = false;        // become user nobody when running as root
    long long fileSizeLimit = -1;     // RLIMIT_FSIZE in bytes; -1 leaves it alone
    bool ignoreFileSizeSignal = true; // SIG_IGN for SIGXFSZ (tabulon-cli must do it itself)
    long long addressSpace = -1;      // RLIMIT_AS: the child's current size plus this many bytes
};

// The address sanitizer reserves terabytes of address space, so an address-space limit
// cannot be tested in a sanitizer build.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// The process's current size in bytes, from /proc/self/statm.
inline long long AddressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    long long pages = 0;
    statm >> pages;
    return pages * ::sysconf(_SC_PAGESIZE);
}

// Exit status of a child that could not set up its limits (the test is then skipped).
constexpr int kSetupFailed = 125;

inline bool ApplyLimits(const ChildLimits& limits) {
    if (limits.ignoreFileSizeSignal)
        std::signal(SIGXFSZ, SIG_IGN);
    if (limits.fileSizeLimit >= 0) {
        const rlimit limit{static_cast<rlim_t>(limits.fileSizeLimit),
                           static_cast<rlim_t>(limits.fileSizeLimit)};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return false;
    }
    if (limits.addressSpace >= 0) {
        const auto bytes = static_cast<rlim_t>(AddressSpaceInUse() + limits.addressSpace);
        const rlimit limit{bytes, bytes};
        if (::setrlimit(RLIMIT_AS, &limit) != 0)
            return false;
    }
    if (limits.unprivileged && ::geteuid() == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            return false;
    }
    return true;
}

// What a child reported: its exit status and the text it wrote back.
struct ChildResult {
    int status = -1;
    std::string text;
};

// Runs body in a forked child under the limits; body's returned text comes back through
// a pipe. The child ends with _exit, so nothing of the test framework runs twice.
inline ChildResult RunInChild(const ChildLimits& limits, const std::function<std::string()>& body) {
    int channel[2];
    if (::pipe(channel) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::close(channel[0]);
        if (!ApplyLimits(limits))
            ::_exit(kSetupFailed);
        std::string text;
        try {
            text = body();
        } catch (const std::exception& error) {
            text = std::string("unexpected exception: ") + error.what();
        }
        const char* data = text.data();
        std::size_t left = text.size();
        while (left > 0) {
            const ssize_t n = ::write(channel[1], data, left);
            if (n <= 0)
                break;
            data += n;
            left -= static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    ChildResult result;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(channel[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        result.text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(channel[0]);
    int raw = 0;
    while (::waitpid(pid, &raw, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return result;
}

// What tabulon-cli did.
struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the program with the arguments (no shell), stdin empty, output captured in files of
// the scratch folder.
inline CliResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                            const ScratchFolder& scratch, const ChildLimits& limits = {}) {
    const std::string outPath = scratch.Path(".stdout"), errPath = scratch.Path(".stderr");
    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
            ::dup2(err, 2) < 0)
            ::_exit(kSetupFailed);
        // The child starts with the default disposition unless the limits say otherwise.
        std::signal(SIGXFSZ, SIG_DFL);
        if (!ApplyLimits(limits))
            ::_exit(kSetupFailed);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(kSetupFailed);
    }
    int raw = 0;
    while (::waitpid(pid, &raw, 0) < 0 && errno == EINTR) {
    }
    CliResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    result.out = ReadBytes(outPath);
    result.err = ReadBytes(errPath);
    ::unlink(outPath.c_str());
    ::unlink(errPath.c_str());
    return result;
}

// A copy of tabulon-cli inside the scratch folder, which every user can run even when the
// build folder is private to root.
inline std::string CopyOfCli(const ScratchFolder& scratch) {
    const std::string copy = scratch.Path(".tabulon-cli");
    std::filesystem::copy_file(TABULON_CLI, copy,
                               std::filesystem::copy_options::overwrite_existing);
    ::chmod(copy.c_str(), 0755);
    return copy;
}

inline CliResult RunCli(const std::vector<std::string>& args, const ScratchFolder& scratch,
                        const ChildLimits& limits = {}) {
    return RunProgram(TABULON_CLI, args, scratch, limits);
}

// Number of lines in a message (each ended by a line feed).
inline std::size_t CountLines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace fault_support
