// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextFile.h"

#include "FileDescriptor.h"
#include "FileException.h"
#include "JournalLock.h"
#include "PathNames.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/falloc.h>
#include <memory>
#include <new>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

#if defined(__SSE2__)
// One bit for each newline among the 64 bytes at text.
std::uint64_t NewlineMask(const char* text) {
    const __m128i newline = _mm_set1_epi8('\n');
    std::uint64_t mask = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16 * i));
        const auto bits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, newline)));
        mask |= static_cast<std::uint64_t>(bits) << (16 * i);
    }
    return mask;
}
#endif

// Line feeds among the bytes.
std::size_t CountNewlines(const char* text, std::size_t size) {
    std::size_t count = 0, scanned = 0;
#if defined(__SSE2__)
    for (; scanned + 64 <= size; scanned += 64)
        count += static_cast<std::size_t>(__builtin_popcountll(NewlineMask(text + scanned)));
#endif
    for (; scanned < size; ++scanned)
        count += text[scanned] == '\n';
    return count;
}

// Cuts the rawBytes bytes that the caller read at the list's RawSpace into lines and adds
// them to the list, which moves each down over the line ends before it: the text is not
// copied anywhere else. A line ends at LF; its trailing bytes below the blank are dropped.
void SplitRawText(CStringList& lines, std::size_t rawBytes) {
    if (rawBytes == 0)
        return;
    const char* const raw = lines.RawSpace(rawBytes);
    // Room for exactly the lines, so that memory stays within the file's size plus two
    // bytes a line, however short the lines.
    lines.Reserve(CountNewlines(raw, rawBytes) + (raw[rawBytes - 1] != '\n'), 0);
    std::size_t lineBegin = 0; // where the current line begins in the raw bytes
    const auto endLine = [&](std::size_t stop) {
        while (stop > lineBegin && static_cast<unsigned char>(raw[stop - 1]) < 32)
            --stop;
        lines.AddTail({raw + lineBegin, stop - lineBegin});
    };
    std::size_t scanned = 0;
#if defined(__SSE2__)
    // Newlines are found 64 bytes at a time, without a branch per byte or per call.
    for (; scanned + 64 <= rawBytes; scanned += 64) {
        for (std::uint64_t mask = NewlineMask(raw + scanned); mask != 0; mask &= mask - 1) {
            const std::size_t newline = scanned + static_cast<std::size_t>(__builtin_ctzll(mask));
            endLine(newline);
            lineBegin = newline + 1;
        }
    }
#endif
    while (const void* found = std::memchr(raw + scanned, '\n', rawBytes - scanned)) {
        const std::size_t newline = static_cast<std::size_t>(static_cast<const char*>(found) - raw);
        endLine(newline);
        lineBegin = scanned = newline + 1;
    }
    // A last line without a line end.
    if (lineBegin < rawBytes)
        endLine(rawBytes);
    lines.ReleaseUnusedRoom();
}

} // namespace

FileIdentity ReadTextLines(const std::string& path, CStringList& lines, NulBytes nulBytes) {
    struct stat st {};
    FileDescriptor fd = OpenPlainFileToRead(path, st);

    // The file is read straight into the list's own buffer, after its last line, and cut
    // into lines there. Until then the bytes are not part of any line, so a failure leaves
    // the list as it was.
    const std::size_t before = lines.GetCount();
    try {
        std::size_t filled = 0;
        // One byte more than the size, so that the read which finds the end needs no growth.
        std::size_t room = static_cast<std::size_t>(st.st_size) + 1;
        for (;;) {
            char* const raw = lines.RawSpace(filled + room);
            const std::size_t n = ReadSome(fd.Get(), raw + filled, room, path);
            if (n == 0)
                break;
            filled += n;
            room -= n;
            if (room == 0)
                room = filled; // a file that grows, or one that gives no size: double the room
        }
        if (nulBytes == NulBytes::Refuse && std::memchr(lines.RawSpace(filled), '\0', filled))
            throw CFileException("open", path, "it is not a journal (it holds NUL bytes)");
        SplitRawText(lines, filled);
    } catch (const std::bad_alloc&) {
        lines.Truncate(before);
        throw CFileException("read", path, "not enough memory for its lines");
    }
    return FileIdentity::Of(st);
}

namespace {

constexpr const char* kUnchanged = "; the file is unchanged";
constexpr const char* kMayBeIncomplete =
    "; it was being rewritten in place and may now be incomplete";

CFileException SaveError(const std::string& path, int error, const char* note = "") {
    return CFileException("save", path, std::string(std::strerror(error)) + note);
}

std::uint64_t SavedSize(const CStringList& lines) {
    std::uint64_t bytes = 0;
    for (std::size_t i = 0; i < lines.GetCount(); ++i)
        bytes += lines.GetAt(i).size() + 2;
    return bytes;
}

// Whether a file of the given size stays within this process's file size limit.
bool WithinFileSizeLimit(std::uint64_t bytes) {
    rlimit limit{};
    return ::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
           bytes <= limit.rlim_cur;
}

// Writes every line and its CR LF at the descriptor's offset, a megabyte at a time.
void WriteLines(int fd, const CStringList& lines, const std::string& path, const char* note) {
    constexpr std::size_t kBufferSize = 1 << 20;
    const std::unique_ptr<char[]> buffer(new char[kBufferSize]);
    std::size_t used = 0;
    const auto flush = [&](const char* data, std::size_t size) {
        if (!WriteAll(fd, data, size))
            throw SaveError(path, errno, note);
    };
    for (std::size_t i = 0; i < lines.GetCount(); ++i) {
        const std::string_view line = lines.GetAt(i);
        if (used + line.size() + 2 > kBufferSize) {
            flush(buffer.get(), used);
            used = 0;
            if (line.size() + 2 > kBufferSize) {
                flush(line.data(), line.size());
                flush("\r\n", 2);
                continue;
            }
        }
        std::memcpy(buffer.get() + used, line.data(), line.size());
        used += line.size();
        buffer[used++] = '\r';
        buffer[used++] = '\n';
    }
    flush(buffer.get(), used);
}

// Whether this process may put a new file in place of the old one in its folder: it needs
// to write the folder, and in a folder with the sticky bit (such as /tmp) to own the file
// or the folder.
bool MayReplaceIn(const std::string& folder, const struct stat& file) {
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return false;
    struct stat dir {};
    if (::stat(folder.c_str(), &dir) != 0)
        return false;
    const uid_t me = ::geteuid();
    return !(dir.st_mode & S_ISVTX) || me == 0 || file.st_uid == me || dir.st_uid == me;
}

bool Ignorable(int error) {
    return error == EPERM || error == EACCES || error == ENOTSUP || error == EOPNOTSUPP;
}

// Gives the new file the old one's owner and group (the group alone where only that is
// permitted), its mode, and every extended attribute this process may read and set: ACLs
// are the attributes system.posix_acl_access and system.posix_acl_default.
void CopyAttributes(int from, const struct stat& old, int to, const std::string& path) {
    if (::fchown(to, old.st_uid, old.st_gid) != 0) {
        if (errno != EPERM)
            throw SaveError(path, errno);
        if (::fchown(to, static_cast<uid_t>(-1), old.st_gid) != 0 && errno != EPERM)
            throw SaveError(path, errno);
    }
    // After fchown, which clears the set-user-ID and set-group-ID bits.
    if (::fchmod(to, old.st_mode & 07777) != 0)
        throw SaveError(path, errno);
    if (from < 0)
        return;
    const ssize_t listSize = ::flistxattr(from, nullptr, 0);
    if (listSize <= 0) {
        if (listSize < 0 && !Ignorable(errno))
            throw SaveError(path, errno);
        return;
    }
    std::vector<char> names(static_cast<std::size_t>(listSize));
    const ssize_t got = ::flistxattr(from, names.data(), names.size());
    if (got < 0)
        throw SaveError(path, errno);
    std::vector<char> value;
    for (const char* name = names.data(); name < names.data() + got;
         name += std::strlen(name) + 1) {
        const ssize_t size = ::fgetxattr(from, name, nullptr, 0);
        if (size < 0) {
            if (Ignorable(errno) || errno == ENODATA)
                continue;
            throw SaveError(path, errno);
        }
        value.resize(static_cast<std::size_t>(size) + 1);
        const ssize_t read = ::fgetxattr(from, name, value.data(), value.size());
        if (read < 0) {
            if (Ignorable(errno) || errno == ENODATA)
                continue;
            throw SaveError(path, errno);
        }
        if (::fsetxattr(to, name, value.data(), static_cast<std::size_t>(read), 0) != 0 &&
            !Ignorable(errno))
            throw SaveError(path, errno);
    }
}

// The name under which a new file waits for the instant before it replaces the journal:
// fixed for each journal, so that the next save removes one left by a save that was
// killed, and never longer than the longest name (a hash stands in for a long name).
std::string WaitingNameFor(const std::string& target) {
    const std::string base = BaseNameOf(target);
    constexpr std::size_t kKept = 200;
    std::string name = "." + base.substr(0, kKept);
    if (base.size() > kKept) {
        std::uint64_t hash = 14695981039346656037ull; // FNV-1a of the whole name
        for (const char c : base)
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        char hex[20];
        std::snprintf(hex, sizeof hex, ".%016llx", static_cast<unsigned long long>(hash));
        name += hex;
    }
    return FolderOf(target) + "/" + name + ".tabulon-save";
}

// Gives the unnamed file opened with O_TMPFILE the name given.
bool LinkUnnamed(int fd, const std::string& name) {
    char proc[64];
    std::snprintf(proc, sizeof proc, "/proc/self/fd/%d", fd);
    if (::linkat(AT_FDCWD, proc, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno != ENOENT)
        return false;
    // Without /proc: needs the right to open files by handle.
    return ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0;
}

void SyncFolder(const std::string& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0)
        ::fsync(fd.Get());
}

FileIdentity Identity(int fd, const std::string& path) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw SaveError(path, errno);
    return FileIdentity::Of(st);
}

// The new text in a new file, put in place of the old one: the file is either the old
// one or the new one, whatever happens.
FileIdentity Replace(const JournalLock& lock, const CStringList& lines, const std::string& path) {
    const std::string& target = lock.Target();
    const std::string folder = FolderOf(target);
    const std::string waiting = WaitingNameFor(target);
    // A save that was killed may have left its file under the waiting name.
    ::unlink(waiting.c_str());

    // An unnamed file leaves nothing behind if the process dies; a file system without
    // them gets a named file that the next save removes.
    int opened = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    bool named = false;
    if (opened < 0) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            throw SaveError(path, errno);
        opened =
            ::open(waiting.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (opened < 0)
            throw SaveError(path, errno);
        named = true;
    }
    FileDescriptor fd(opened);
    try {
        WriteLines(fd.Get(), lines, path, "");
        if (lock.Exists())
            CopyAttributes(lock.Descriptor(), lock.Status(), fd.Get(), path);
        if (::fsync(fd.Get()) != 0)
            throw SaveError(path, errno);
        const FileIdentity written = Identity(fd.Get(), path);
        if (!named && !lock.Exists() && LinkUnnamed(fd.Get(), target)) {
            // A new journal gets its name at once.
        } else {
            if (!named) {
                if (!LinkUnnamed(fd.Get(), waiting))
                    throw SaveError(path, errno);
                named = true;
            }
            if (::rename(waiting.c_str(), target.c_str()) != 0)
                throw SaveError(path, errno);
            named = false;
        }
        if (::close(fd.Release()) != 0)
            throw SaveError(path, errno);
        SyncFolder(folder);
        return written;
    } catch (...) {
        if (named)
            ::unlink(waiting.c_str());
        throw;
    }
}

// The new text written over the old in the same file, which keeps its names, owner and
// attributes. The room is reserved first, so that a full disk or a size limit fails
// before the old text is touched.
FileIdentity Rewrite(const JournalLock& lock, const CStringList& lines, const std::string& path) {
    FileDescriptor fd(::open(lock.Target().c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0)
        throw SaveError(path, errno, kUnchanged);
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        throw SaveError(path, errno, kUnchanged);
    if (st.st_dev != lock.Status().st_dev || st.st_ino != lock.Status().st_ino)
        throw CFileException("save", path, std::string("another program replaced it") + kUnchanged);
    const std::uint64_t size = SavedSize(lines);
    if (!WithinFileSizeLimit(size))
        throw SaveError(path, EFBIG, kUnchanged);
    if (size > static_cast<std::uint64_t>(st.st_size) &&
        ::fallocate(fd.Get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) != 0 &&
        errno != EOPNOTSUPP)
        throw SaveError(path, errno, kUnchanged);
    WriteLines(fd.Get(), lines, path, kMayBeIncomplete);
    if (::ftruncate(fd.Get(), static_cast<off_t>(size)) != 0 || ::fsync(fd.Get()) != 0)
        throw SaveError(path, errno, kMayBeIncomplete);
    const FileIdentity written = Identity(fd.Get(), path);
    if (::close(fd.Release()) != 0)
        throw SaveError(path, errno, kMayBeIncomplete);
    return written;
}

// The save's own checks: what it must refuse, and which way it writes.
bool MustRewriteInPlace(const JournalLock& lock, const std::string& path) {
    if (!lock.Exists())
        return false;
    // A read-only file is not replaced behind its owner's back.
    if (::faccessat(AT_FDCWD, lock.Target().c_str(), W_OK, AT_EACCESS) != 0)
        throw CFileException::FromErrno("save", path, errno);
    return lock.Status().st_nlink > 1 || !MayReplaceIn(FolderOf(lock.Target()), lock.Status());
}

} // namespace

FileIdentity WriteTextLines(const std::string& path, const CStringList& lines,
                            std::chrono::milliseconds patience) {
    try {
        const JournalLock lock(path, "save", patience);
        return MustRewriteInPlace(lock, path) ? Rewrite(lock, lines, path)
                                              : Replace(lock, lines, path);
    } catch (const std::bad_alloc&) {
        // Memory runs out only before anything is written: the old file was never touched.
        throw CFileException("save", path, "not enough memory to write it");
    }
}

void CheckCanSave(const std::string& path, const CStringList& lines) {
    const JournalLock lock(path, "save", kSaveLockPatience);
    if (!MustRewriteInPlace(lock, path) && !lock.Exists() &&
        ::faccessat(AT_FDCWD, FolderOf(lock.Target()).c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        throw CFileException::FromErrno("save", path, errno);
    if (!WithinFileSizeLimit(SavedSize(lines)))
        throw CFileException::FromErrno("save", path, EFBIG);
}
