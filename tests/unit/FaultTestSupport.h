// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers for the fault tests: a scratch folder, file bytes, makers of faulty files, and
// running code or tabulon-cli in a child process with limits or without root's privileges.
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
#include <map>
#include <ostream>
#include <poll.h>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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

// The lines, each followed by end.
inline std::string Joined(const std::vector<std::string>& lines, const std::string& end) {
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

// The lines a journal reads from bytes: a line feed ends a line, a last line without one is
// still a line, and trailing bytes 0-31 are dropped.
inline std::vector<std::string> LinesOf(const std::string& bytes) {
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

// 64 KB of random bytes, the same in every run.
inline std::string RandomBytes() {
    std::mt19937 generator(20261208);
    std::string bytes(64 * 1024, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(generator() & 0xFF);
    return bytes;
}

// How a child process is limited and set up before it runs.
struct ChildLimits {
    bool unprivileged = false;        // become user nobody when running as root
    long long fileSizeLimit = -1;     // RLIMIT_FSIZE in bytes; -1 leaves it alone
    bool ignoreFileSizeSignal = true; // SIG_IGN for SIGXFSZ (tabulon-cli must do it itself)
    long long addressSpace = -1;      // RLIMIT_AS: the child's current size plus this many bytes
    long long addressSpaceTotal = -1; // RLIMIT_AS in bytes, for a program started afresh
    std::string standardOutput;       // a file for a program's standard output (e.g. /dev/full)
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
    if (limits.addressSpaceTotal >= 0) {
        const auto bytes = static_cast<rlim_t>(limits.addressSpaceTotal);
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

// The bytes of an older journal, as the fault makers below leave it.
inline const std::string kOldJournal = " \r\n*** an older journal\r\n";

// ---- Faulty files ---------------------------------------------------------------------
// Each maker puts its fault into the scratch folder and returns the path to give the code
// under test; an empty path means the fault cannot be made here (a device node needs root).

inline std::string MissingFile(const ScratchFolder& scratch) {
    return scratch.Path("missing");
}

inline std::string Folder(const ScratchFolder& scratch) {
    std::filesystem::create_directory(scratch.Path("folder"));
    return scratch.Path("folder");
}

// An older journal in the folder (made if need be), writable by every user.
inline std::string OldJournalIn(const ScratchFolder& scratch, const std::string& folder) {
    std::filesystem::create_directories(scratch.Path(folder));
    const std::string path = scratch.Path(folder + "/journal");
    WriteBytes(path, kOldJournal);
    ::chmod(path.c_str(), 0666);
    return path;
}

inline std::string OldJournal(const ScratchFolder& scratch) {
    return OldJournalIn(scratch, "old");
}

// A file without read permission (root reads it anyway: use it with Unprivileged()).
inline std::string Unreadable(const ScratchFolder& scratch) {
    const std::string path = OldJournalIn(scratch, "secret");
    ::chmod(path.c_str(), 0200);
    return path;
}

// A path that runs through a plain file.
inline std::string InsideAFile(const ScratchFolder& scratch) {
    WriteBytes(scratch.Path("plain"), kOldJournal);
    return scratch.Path("plain/journal");
}

inline std::string NameTooLong(const ScratchFolder& scratch) {
    return scratch.Path(std::string(300, 'j'));
}

inline std::string EndlessDevice(const ScratchFolder&) {
    return "/dev/zero";
}

// A new journal in a folder the user may not write (a writable journal already there is
// rewritten in place instead).
inline std::string ReadOnlyFolder(const ScratchFolder& scratch) {
    OldJournalIn(scratch, "locked");
    ::chmod(scratch.Path("locked").c_str(), 0555);
    return scratch.Path("locked/new journal");
}

// A read-only journal in a folder every user may write.
inline std::string ReadOnlyFile(const ScratchFolder& scratch) {
    const std::string path = OldJournalIn(scratch, "open");
    ::chmod(scratch.Path("open").c_str(), 0777);
    ::chmod(path.c_str(), 0444);
    return path;
}

inline std::string MissingFolder(const ScratchFolder& scratch) {
    return scratch.Path("none/journal");
}

// A node of the null device; only root may make one.
inline std::string NullDevice(const ScratchFolder& scratch) {
    const std::string path = scratch.Path("null");
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 ? path : "";
}

inline std::string NamedPipe(const ScratchFolder& scratch) {
    const std::string path = scratch.Path("pipe");
    return ::mkfifo(path.c_str(), 0666) == 0 ? path : "";
}

// A file of 256 MB, more than a child limited to 64 MB of address space can read.
inline std::string LargerThanMemory(const ScratchFolder& scratch) {
    const std::string path = scratch.Path("huge");
    WriteBytes(path, "first line\r\n");
    std::filesystem::resize_file(path, 256 << 20); // the rest reads as NUL bytes
    return path;
}

inline ChildLimits Unprivileged() {
    ChildLimits limits;
    limits.unprivileged = true;
    return limits;
}

// tabulon-cli must ignore SIGXFSZ itself: a child that runs it keeps the default disposition.
inline ChildLimits FileSizeLimit(long long bytes, bool ignoreSignal = true) {
    ChildLimits limits;
    limits.fileSizeLimit = bytes;
    limits.ignoreFileSizeSignal = ignoreSignal;
    return limits;
}

// A fault made in a scratch folder, and the reason the refusal must give.
struct FileFault {
    const char* name;
    std::function<std::string(const ScratchFolder&)> make; // returns the path to use
    const char* reason;
    ChildLimits limits = {};
    int runs = 1; // calculations in a journal to save, enough to pass a size limit
};

inline void PrintTo(const FileFault& fault, std::ostream* out) {
    *out << fault.name;
}

// Files that no reader reads, with the reason each gives, followed by more rows.
inline std::vector<FileFault> UnreadableFiles(const std::vector<FileFault>& more) {
    std::vector<FileFault> rows = {
        {"MissingFile", MissingFile, "No such file or directory"},
        {"FolderGivenAsFile", Folder, "Is a directory"},
        {"FileWithoutReadPermission", Unreadable, "Permission denied", Unprivileged()},
        {"EndlessDevice", EndlessDevice, "it is not a plain file"}};
    rows.insert(rows.end(), more.begin(), more.end());
    return rows;
}

// Room for this many bytes more than the child's size when it starts.
inline ChildLimits AddressSpaceLimit(long long bytes) {
    ChildLimits limits;
    limits.addressSpace = bytes;
    return limits;
}

// Every name under the folder, with the bytes of each file.
inline std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        files[entry.path().string()] =
            entry.is_regular_file() ? ReadBytes(entry.path()) : "<not a plain file>";
    return files;
}

// ---- tabulon-cli as a child process -------------------------------------------------

// What tabulon-cli did.
struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// tabulon-cli started with the arguments (no shell) under the limits: standard input and
// output are pipes, standard error is kept in memory. Where the limits give up root's
// privileges it runs a copy every user may run (the build folder may be private to root).
class CliProcess {
public:
    explicit CliProcess(const std::vector<std::string>& args, const ChildLimits& limits = {}) {
        const std::string& program = Program(limits);
        int in[2], out[2];
        m_err = ::memfd_create("stderr", MFD_CLOEXEC);
        if (m_err < 0 || ::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe failed");
        m_pid = ::fork();
        if (m_pid < 0)
            throw std::runtime_error("fork failed");
        if (m_pid == 0) {
            const int stdOut = limits.standardOutput.empty()
                                   ? out[1]
                                   : ::open(limits.standardOutput.c_str(), O_WRONLY);
            if (stdOut < 0 || ::dup2(in[0], 0) < 0 || ::dup2(stdOut, 1) < 0 || ::dup2(m_err, 2) < 0)
                ::_exit(kSetupFailed);
            // The child starts as from a shell, unless the limits say otherwise.
            std::signal(SIGPIPE, SIG_DFL);
            std::signal(SIGXFSZ, SIG_DFL);
            if (!ApplyLimits(limits))
                ::_exit(kSetupFailed);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& arg : args)
                argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(kSetupFailed);
        }
        ::close(in[0]);
        ::close(out[1]);
        m_in = in[1];
        m_out = out[0];
    }
    ~CliProcess() {
        CloseInput();
        if (m_out >= 0)
            ::close(m_out);
        Wait();
        ::close(m_err);
    }
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    int Output() const { return m_out; }

    // Writes all of bytes into standard input (a child that ends early fails the test
    // rather than ending it with SIGPIPE).
    void Write(std::string_view bytes) {
        const auto old = std::signal(SIGPIPE, SIG_IGN);
        while (!bytes.empty()) {
            const ssize_t n = ::write(m_in, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        std::signal(SIGPIPE, old);
    }
    void CloseInput() {
        if (m_in >= 0)
            ::close(m_in);
        m_in = -1;
    }
    // Reads standard output until lines line ends have come in all, the output ends or a
    // minute passes without any output (a guard, not a measurement).
    std::string ReadUntilLines(std::size_t lines) {
        while (m_lines < lines && m_out >= 0) {
            pollfd ready{m_out, POLLIN, 0};
            if (::poll(&ready, 1, 60000) <= 0 || !ReadOutput())
                break;
        }
        return m_text;
    }
    // Gives input to standard input while reading standard output, then waits for the end.
    CliResult Finish(std::string_view input = {}) {
        const auto old = std::signal(SIGPIPE, SIG_IGN);
        // Never blocked on a full input pipe while the child waits for its output to be read.
        if (m_in >= 0)
            ::fcntl(m_in, F_SETFL, O_NONBLOCK);
        for (;;) {
            if (input.empty())
                CloseInput();
            pollfd ready[2] = {{m_out, POLLIN, 0}, {m_in, POLLOUT, 0}};
            if (::poll(ready, m_in >= 0 ? 2 : 1, -1) < 0) {
                if (errno == EINTR)
                    continue;
                break;
            }
            if (ready[1].revents & (POLLOUT | POLLERR | POLLHUP)) {
                const ssize_t n = ::write(m_in, input.data(), input.size());
                if (n > 0)
                    input.remove_prefix(static_cast<std::size_t>(n));
                else if (errno != EAGAIN && errno != EINTR)
                    input = {}; // the child closed its input
            }
            if ((ready[0].revents & (POLLIN | POLLHUP | POLLERR)) && !ReadOutput())
                break;
        }
        std::signal(SIGPIPE, old);
        CliResult result;
        result.out = m_text;
        result.status = Wait();
        result.err = Errors();
        return result;
    }
    int Wait() {
        if (m_pid > 0) {
            int raw = 0;
            while (::waitpid(m_pid, &raw, 0) < 0 && errno == EINTR) {
            }
            m_status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
            m_pid = -1;
        }
        return m_status;
    }
    // What the child wrote to standard error so far.
    std::string Errors() const {
        std::string text;
        char chunk[4096];
        for (off_t at = 0;;) {
            const ssize_t n = ::pread(m_err, chunk, sizeof chunk, at);
            if (n <= 0)
                return text;
            text.append(chunk, static_cast<std::size_t>(n));
            at += n;
        }
    }

private:
    static const std::string& Program(const ChildLimits& limits) {
        static const std::string cli = TABULON_CLI;
        if (!limits.unprivileged)
            return cli;
        static const ScratchFolder folder;
        static const std::string copy = [] {
            const std::string path = folder.Path("tabulon-cli");
            std::filesystem::copy_file(TABULON_CLI, path);
            ::chmod(path.c_str(), 0755);
            return path;
        }();
        return copy;
    }
    // One read of standard output; false at its end.
    bool ReadOutput() {
        char chunk[1 << 16];
        ssize_t n;
        while ((n = ::read(m_out, chunk, sizeof chunk)) < 0 && errno == EINTR) {
        }
        if (n <= 0)
            return false;
        m_text.append(chunk, static_cast<std::size_t>(n));
        m_lines += static_cast<std::size_t>(std::count(chunk, chunk + n, '\n'));
        return true;
    }

    pid_t m_pid = -1;
    int m_in = -1, m_out = -1, m_err = -1;
    int m_status = -1;
    std::string m_text;
    std::size_t m_lines = 0;
};

// Runs tabulon-cli to its end with the bytes of input as its standard input.
inline CliResult RunCli(const std::vector<std::string>& args, const ChildLimits& limits = {},
                        std::string_view input = {}) {
    CliProcess cli(args, limits);
    return cli.Finish(input);
}

// Number of lines in a message (each ended by a line feed).
inline std::size_t CountLines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace fault_support
