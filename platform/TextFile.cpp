// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextFile.h"

#include "FileDescriptor.h"
#include "FileException.h"
#include "JournalLock.h"
#include "PathNames.h"
#include "SafeFile.h"
#include "SaveRecovery.h"

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
// Returns whether every line ended in exactly CR LF (the bytes are the lines as a save
// writes them).
bool SplitRawText(CStringList& lines, std::size_t rawBytes) {
    if (rawBytes == 0)
        return true;
    const char* const raw = lines.RawSpace(rawBytes);
    // Room for exactly the lines, so that memory stays within the file's size plus two
    // bytes a line, however short the lines.
    lines.Reserve(CountNewlines(raw, rawBytes) + (raw[rawBytes - 1] != '\n'), 0);
    std::size_t lineBegin = 0; // where the current line begins in the raw bytes
    bool exact = raw[rawBytes - 1] == '\n';
    const auto endLine = [&](std::size_t stop) {
        const std::size_t end = stop;
        while (stop > lineBegin && static_cast<unsigned char>(raw[stop - 1]) < 32)
            --stop;
        exact = exact && end - stop == 1 && raw[stop] == '\r';
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
    return exact;
}

} // namespace

JournalFileState ReadTextLines(const std::string& path, CStringList& lines, NulBytes nulBytes) {
    FinishInterruptedSaveOf(path);
    struct stat st {};
    FileDescriptor fd = OpenPlainFileToRead(path, st);

    // The file is read straight into the list's own buffer, after its last line, and cut
    // into lines there. Until then the bytes are not part of any line, so a failure leaves
    // the list as it was.
    const std::size_t before = lines.GetCount();
    JournalFileState state;
    state.firstLine = before;
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
            throw CFileException("open", path, FileProblem::NotAJournal);
        state.exact = SplitRawText(lines, filled);
        // What was read is the file as it is after the read; a file that changed while it
        // was read is not taken for the lines.
        if (::fstat(fd.Get(), &st) == 0 && static_cast<std::size_t>(st.st_size) != filled)
            state.exact = false;
    } catch (const std::bad_alloc&) {
        lines.Truncate(before);
        throw CFileException("read", path, FileProblem::NoMemoryForLines);
    }
    state.identity = FileIdentity::Of(st);
    state.lineCount = lines.GetCount() - before;
    return state;
}
namespace {

constexpr const char* kUnchanged = "; the file is unchanged";

CFileException SaveError(const std::string& path, int error, const std::string& note = "") {
    return CFileException::FromErrno("save", path, error, note);
}

// The bytes the lines from the one given on take in the file.
std::uint64_t SavedSize(const CStringList& lines, std::size_t from = 0) {
    std::uint64_t bytes = 0;
    for (std::size_t i = from; i < lines.GetCount(); ++i)
        bytes += lines.GetAt(i).size() + 2;
    return bytes;
}

// Whether a file of the given size stays within this process's file size limit.
bool WithinFileSizeLimit(std::uint64_t bytes) {
    rlimit limit{};
    return ::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
           bytes <= limit.rlim_cur;
}

// Writes every line from the one given on and its CR LF at the descriptor's offset, a
// megabyte at a time.
void WriteLines(int fd, const CStringList& lines, std::size_t from, const std::string& path,
                const std::string& note) {
    constexpr std::size_t kBufferSize = 1 << 20;
    const std::unique_ptr<char[]> buffer(new char[kBufferSize]);
    std::size_t used = 0;
    const auto flush = [&](const char* data, std::size_t size) {
        if (!WriteAll(fd, data, size))
            throw SaveError(path, errno, note);
    };
    for (std::size_t i = from; i < lines.GetCount(); ++i) {
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

FileIdentity Identity(int fd, const std::string& path, const std::string& note) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw SaveError(path, errno, note);
    return FileIdentity::Of(st);
}

// The new text in a new file, put in place of the old one: the file is either the old
// one or the new one, whatever happens.
FileIdentity Replace(const JournalLock& lock, const CStringList& lines, const std::string& path) {
    CSafeFile file(lock.Target(), path, "save", lock.Exists() ? &lock.Status() : nullptr,
                   lock.Descriptor());
    WriteLines(file.Descriptor(), lines, 0, path, "");
    return file.Commit();
}

// The journal, open for writing, when it is still the file that lock holds.
FileDescriptor OpenLockedToWrite(const JournalLock& lock, const std::string& path) {
    FileDescriptor fd(::open(lock.Target().c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0)
        throw SaveError(path, errno, kUnchanged);
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        throw SaveError(path, errno, kUnchanged);
    if (st.st_dev != lock.Status().st_dev || st.st_ino != lock.Status().st_ino)
        throw CFileException("save", path, FileProblem::ReplacedByAnotherProgram, kUnchanged);
    return fd;
}

// Room for size bytes from offset on, so that a full disk fails before anything is written.
void ReserveRoom(int fd, std::uint64_t offset, std::uint64_t size, const std::string& path) {
    if (!WithinFileSizeLimit(offset + size))
        throw SaveError(path, EFBIG, kUnchanged);
    if (size > 0 &&
        ::fallocate(fd, FALLOC_FL_KEEP_SIZE, static_cast<off_t>(offset),
                    static_cast<off_t>(size)) != 0 &&
        errno != EOPNOTSUPP)
        throw SaveError(path, errno, kUnchanged);
}

// The new text written over the old in the same file, which keeps its names, owner and
// attributes. The room is reserved and a complete recovery copy of the new text is on disk
// first, so that a full disk fails before the old text is touched and a rewrite cut short
// is completed from the copy when the journal is next read or saved.
FileIdentity Rewrite(const JournalLock& lock, const CStringList& lines, const std::string& path) {
    FileDescriptor fd = OpenLockedToWrite(lock, path);
    const std::uint64_t size = SavedSize(lines);
    ReserveRoom(fd.Get(), 0, size, path);
    const std::string copy = WriteRecoveryCopy(
        lock, path, size, [&](int copyFd) { WriteLines(copyFd, lines, 0, path, kUnchanged); });
    const std::string note = "; it was being rewritten in place, and its recovery copy \"" + copy +
                             "\" completes it when it is next opened or saved";
    WriteLines(fd.Get(), lines, 0, path, note);
    if (::ftruncate(fd.Get(), static_cast<off_t>(size)) != 0 || ::fsync(fd.Get()) != 0)
        throw SaveError(path, errno, note);
    const FileIdentity written = Identity(fd.Get(), path, note);
    if (::close(fd.Release()) != 0)
        throw SaveError(path, errno, note);
    ::unlink(copy.c_str());
    return written;
}

// The lines from the one given on, appended to the journal, which holds the ones before
// them byte for byte in oldSize bytes. A failed append takes back what it wrote.
FileIdentity Append(const JournalLock& lock, const CStringList& lines, std::size_t from,
                    off_t oldSize, const std::string& path) {
    FileDescriptor fd = OpenLockedToWrite(lock, path);
    const std::uint64_t size = SavedSize(lines, from);
    ReserveRoom(fd.Get(), static_cast<std::uint64_t>(oldSize), size, path);
    if (size > 0) {
        try {
            if (::lseek(fd.Get(), oldSize, SEEK_SET) != oldSize)
                throw SaveError(path, errno, kUnchanged);
            WriteLines(fd.Get(), lines, from, path, kUnchanged);
            if (::fsync(fd.Get()) != 0)
                throw SaveError(path, errno, kUnchanged);
        } catch (...) {
            if (::ftruncate(fd.Get(), oldSize) == 0)
                ::fsync(fd.Get());
            throw;
        }
    }
    const FileIdentity written = Identity(fd.Get(), path, "");
    if (::close(fd.Release()) != 0)
        throw SaveError(path, errno);
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

// Writes lines to the locked journal. onDisk: what the file holds now, when known.
FileIdentity SaveLocked(const JournalLock& lock, const CStringList& lines,
                        const std::optional<JournalFileState>& onDisk, const std::string& path) {
    const bool inPlace = MustRewriteInPlace(lock, path);
    if (onDisk && onDisk->firstLine == 0 && onDisk->exact && onDisk->lineCount <= lines.GetCount())
        return Append(lock, lines, onDisk->lineCount, onDisk->identity.size, path);
    return inPlace ? Rewrite(lock, lines, path) : Replace(lock, lines, path);
}

// The journal changed since known: when another program only appended lines, merged is
// lines with them after those the file held, and the file's state is returned; otherwise
// the save fails, unless the changes are to be overwritten.
std::optional<JournalFileState> TakeAppendedLines(const std::string& path, const CStringList& lines,
                                                  const JournalFileState& known,
                                                  OtherChanges changes, CStringList& merged,
                                                  JournalSave& result) {
    if (changes == OtherChanges::Overwrite)
        return std::nullopt;
    CStringList onDisk;
    JournalFileState read = ReadTextLines(path, onDisk);
    bool appended = onDisk.GetCount() >= known.lineCount &&
                    known.firstLine + known.lineCount <= lines.GetCount();
    for (std::size_t i = 0; appended && i < known.lineCount; ++i)
        appended = onDisk.GetAt(i) == lines.GetAt(known.firstLine + i);
    if (!appended)
        throw CFileException("save", path, FileProblem::ChangedByAnotherProgram);
    result.insertedAt = known.firstLine + known.lineCount;
    result.inserted = onDisk.GetCount() - known.lineCount;
    merged.Reserve(lines.GetCount() + result.inserted,
                   lines.GetTextBytes() + onDisk.GetTextBytes());
    for (std::size_t i = 0; i < result.insertedAt; ++i)
        merged.AddTail(lines.GetAt(i));
    for (std::size_t i = known.lineCount; i < onDisk.GetCount(); ++i)
        merged.AddTail(onDisk.GetAt(i));
    for (std::size_t i = result.insertedAt; i < lines.GetCount(); ++i)
        merged.AddTail(lines.GetAt(i));
    read.firstLine = known.firstLine;
    return read;
}

JournalFileState WrittenWhole(const FileIdentity& identity, const CStringList& lines) {
    JournalFileState state;
    state.identity = identity;
    state.lineCount = lines.GetCount();
    state.exact = true;
    return state;
}

} // namespace

JournalSave SaveJournal(const std::string& path, CStringList& lines,
                        const std::optional<JournalFileState>& known, OtherChanges changes,
                        std::chrono::milliseconds patience) {
    try {
        const JournalLock lock(path, "save", patience);
        JournalSave result;
        result.interrupted = FinishInterruptedSave(lock, path, "save");
        std::optional<JournalFileState> onDisk;
        struct stat now {};
        if (known && lock.Exists() && ::fstat(lock.Descriptor(), &now) == 0) {
            if (FileIdentity::Of(now) == known->identity) {
                onDisk = known;
            } else {
                // The lines another program appended join the document only once the
                // journal with them is saved.
                CStringList merged;
                onDisk = TakeAppendedLines(path, lines, *known, changes, merged, result);
                if (onDisk) {
                    result.state = WrittenWhole(SaveLocked(lock, merged, onDisk, path), merged);
                    lines = std::move(merged);
                    return result;
                }
            }
        }
        result.state = WrittenWhole(SaveLocked(lock, lines, onDisk, path), lines);
        return result;
    } catch (const std::bad_alloc&) {
        // Memory runs out only before anything is written: the old file was never touched.
        throw CFileException("save", path, FileProblem::NoMemoryToWrite);
    }
}

FileIdentity WriteTextLines(const std::string& path, const CStringList& lines,
                            std::chrono::milliseconds patience) {
    try {
        const JournalLock lock(path, "save", patience);
        FinishInterruptedSave(lock, path, "save");
        return SaveLocked(lock, lines, std::nullopt, path);
    } catch (const std::bad_alloc&) {
        throw CFileException("save", path, FileProblem::NoMemoryToWrite);
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
