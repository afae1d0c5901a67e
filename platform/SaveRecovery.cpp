// SPDX-License-Identifier: GPL-3.0-or-later
#include "SaveRecovery.h"

#include "FileDescriptor.h"
#include "FileException.h"
#include "PathNames.h"
#include "SafeFile.h"

#include <array>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kBesideSuffix = ".tabulon-recovery";

// The folder for recovery copies of journals whose own folder may not be written.
std::string StateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/')
        return std::string(state) + "/tabulon/recovery";
    const char* home = std::getenv("HOME");
    return std::string(home && home[0] == '/' ? home : "/tmp") + "/.local/state/tabulon/recovery";
}

// The folder for them when the user's own cannot be written (a home folder that is not the
// user's): one of the user's own in /var/tmp, which outlives a restart.
std::string SharedTemporaryFolder() {
    return "/var/tmp/tabulon-recovery-" + std::to_string(::geteuid());
}

std::string CopyNameIn(const std::string& folder, const struct stat& journal) {
    char name[64];
    std::snprintf(name, sizeof name, "/%ju-%ju", static_cast<std::uintmax_t>(journal.st_dev),
                  static_cast<std::uintmax_t>(journal.st_ino));
    return folder + name;
}

std::array<std::string, 3> Candidates(const std::string& target, const struct stat& journal) {
    return {HiddenNameBeside(target, kBesideSuffix), CopyNameIn(StateFolder(), journal),
            CopyNameIn(SharedTemporaryFolder(), journal)};
}

// Whether folder is a folder of this user's that only this user may write.
bool IsPrivateFolder(const std::string& folder) {
    struct stat st {};
    return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 022) == 0;
}

bool MayWriteFolder(const std::string& folder) {
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

// Makes folder and the folders above it, private to the user.
void MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        ::mkdir(folder.substr(0, slash).c_str(), 0700);
        if (slash == std::string::npos)
            return;
    }
}

// The journal's state when the copy was made, and the size of the new text.
struct Header {
    std::uintmax_t device = 0, inode = 0, oldSize = 0, seconds = 0, nanoseconds = 0, newSize = 0;
};

std::string HeaderLine(const struct stat& journal, std::uint64_t newSize) {
    char line[200];
    std::snprintf(
        line, sizeof line, "tabulon recovery 1 %ju %ju %ju %ju %ju %ju\n",
        static_cast<std::uintmax_t>(journal.st_dev), static_cast<std::uintmax_t>(journal.st_ino),
        static_cast<std::uintmax_t>(journal.st_size),
        static_cast<std::uintmax_t>(journal.st_mtim.tv_sec),
        static_cast<std::uintmax_t>(journal.st_mtim.tv_nsec), static_cast<std::uintmax_t>(newSize));
    return line;
}

bool ParseHeader(const std::string& text, Header& header, std::size_t& bodyStart) {
    const std::size_t end = text.find('\n');
    if (end == std::string::npos || end > 200)
        return false;
    const std::string line = text.substr(0, end);
    int used = 0;
    if (std::sscanf(line.c_str(), "tabulon recovery 1 %ju %ju %ju %ju %ju %ju%n", &header.device,
                    &header.inode, &header.oldSize, &header.seconds, &header.nanoseconds,
                    &header.newSize, &used) != 6 ||
        static_cast<std::size_t>(used) != line.size())
        return false;
    bodyStart = end + 1;
    return text.size() - bodyStart == header.newSize;
}

bool ReadWhole(const std::string& path, std::string& text, struct stat& st) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    text.resize(static_cast<std::size_t>(st.st_size));
    std::size_t filled = 0;
    while (filled < text.size()) {
        const ssize_t n = ::read(fd.Get(), text.data() + filled, text.size() - filled);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        filled += static_cast<std::size_t>(n);
    }
    return true;
}

bool Before(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

} // namespace

std::string WriteRecoveryCopy(const JournalLock& lock, const std::string& path,
                              std::uint64_t newSize, const std::function<void(int)>& writeText) {
    const std::string& target = lock.Target();
    std::string where = HiddenNameBeside(target, kBesideSuffix);
    if (!MayWriteFolder(FolderOf(target))) {
        std::string folder = StateFolder();
        MakeFolders(folder);
        if (!MayWriteFolder(folder)) {
            folder = SharedTemporaryFolder();
            ::mkdir(folder.c_str(), 0700);
            if (!IsPrivateFolder(folder))
                throw CFileException("save", path,
                                     "there is no folder for its recovery copy (" + folder +
                                         " is not a private folder of this user)");
        }
        where = CopyNameIn(folder, lock.Status());
    }
    CSafeFile copy(where, path, "save");
    // The copy holds the journal's text: only its owner reads it.
    if (::fchmod(copy.Descriptor(), 0600) != 0)
        copy.Fail(errno);
    // The journal as it is now: reserving room may have changed its times.
    struct stat journal {};
    if (::fstat(lock.Descriptor(), &journal) != 0)
        copy.Fail(errno);
    const std::string header = HeaderLine(journal, newSize);
    if (!WriteAll(copy.Descriptor(), header.data(), header.size()))
        copy.Fail(errno);
    writeText(copy.Descriptor());
    copy.Commit();
    return where;
}

std::optional<InterruptedSave>
FinishInterruptedSave(const JournalLock& lock, const std::string& path, const std::string& action) {
    if (!lock.Exists())
        return std::nullopt;
    for (const std::string& candidate : Candidates(lock.Target(), lock.Status())) {
        std::string text;
        struct stat copy {};
        Header header;
        std::size_t bodyStart = 0;
        if (!ReadWhole(candidate, text, copy) || !ParseHeader(text, header, bodyStart) ||
            header.device != static_cast<std::uintmax_t>(lock.Status().st_dev) ||
            header.inode != static_cast<std::uintmax_t>(lock.Status().st_ino))
            continue;
        struct stat journal {};
        if (::fstat(lock.Descriptor(), &journal) != 0)
            continue;
        if (static_cast<std::uintmax_t>(journal.st_size) == header.oldSize &&
            static_cast<std::uintmax_t>(journal.st_mtim.tv_sec) == header.seconds &&
            static_cast<std::uintmax_t>(journal.st_mtim.tv_nsec) == header.nanoseconds) {
            ::unlink(candidate.c_str());
            return InterruptedSave{candidate, false};
        }
        // Changed after the copy was complete: by the rewrite the copy was made for.
        if (Before(journal.st_mtim, copy.st_mtim))
            continue;
        FileDescriptor out(
            ::open(lock.Target().c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (out.Get() < 0)
            continue; // left for someone who may write the journal
        if (!WriteAll(out.Get(), text.data() + bodyStart, header.newSize) ||
            ::ftruncate(out.Get(), static_cast<off_t>(header.newSize)) != 0 ||
            ::fsync(out.Get()) != 0)
            throw CFileException::FromErrno(action, path, errno);
        ::unlink(candidate.c_str());
        SyncFolder(FolderOf(candidate));
        return InterruptedSave{candidate, true};
    }
    return std::nullopt;
}

std::optional<InterruptedSave> FinishInterruptedSaveOf(const std::string& path) {
    const std::string target = ResolveTarget(path);
    struct stat journal {};
    if (::stat(target.c_str(), &journal) != 0 || !S_ISREG(journal.st_mode))
        return std::nullopt;
    bool present = false;
    for (const std::string& candidate : Candidates(target, journal))
        present = present || ::access(candidate.c_str(), F_OK) == 0;
    if (!present)
        return std::nullopt;
    const JournalLock lock(path, "open", kSaveLockPatience);
    return FinishInterruptedSave(lock, path, "open");
}
