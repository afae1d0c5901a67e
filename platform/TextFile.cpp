#include "TextFile.h"

#include "FileException.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    int release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

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

// Makes the rawBytes bytes that the caller read at the list's RawSpace part of its text
// and marks the lines in them where they lie: the text is never copied again. A line ends
// at LF; its trailing bytes below the blank stay in the buffer but not in the line.
void SplitRawText(CStringList& lines, std::size_t rawBytes) {
    if (rawBytes == 0)
        return;
    const char* const raw = lines.RawSpace(rawBytes);
    const std::size_t base = lines.AppendRaw(rawBytes);
    // Room for the lines of ordinary text at once; room not used is only address space.
    lines.Reserve(rawBytes / 32 + 1, 0);
    std::size_t lineBegin = 0; // where the current line begins in the raw bytes
    // Lines are handed to the list in batches, which costs less than one by one.
    constexpr std::size_t kBatch = 512;
    CStringList::LineSpan batch[kBatch];
    std::size_t batched = 0;
    const auto endLine = [&](std::size_t stop) {
        while (stop > lineBegin && static_cast<unsigned char>(raw[stop - 1]) < 32)
            --stop;
        batch[batched++] = {base + lineBegin, stop - lineBegin};
        if (batched == kBatch) {
            lines.AddTailsAt(batch, batched);
            batched = 0;
        }
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
    lines.AddTailsAt(batch, batched);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Resolves a symbolic link so that saving replaces the file it points to, not the link.
std::string ResolveTarget(const std::string& path) {
    std::string target = path;
    for (int depth = 0; depth < 16; ++depth) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return target;
        std::vector<char> buffer(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(target.c_str(), buffer.data(), buffer.size() - 1);
        if (n < 0)
            return target;
        std::string link(buffer.data(), static_cast<std::size_t>(n));
        target = (!link.empty() && link[0] == '/') ? link : FolderOf(target) + "/" + link;
    }
    return target;
}

void WriteAll(int fd, const char* data, std::size_t size, const std::string& path) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw CFileException::FromErrno("save", path, errno);
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

} // namespace

void ReadTextLines(const std::string& path, CStringList& lines) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        throw CFileException::FromErrno("open", path, errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        throw CFileException::FromErrno("open", path, errno);
    if (S_ISDIR(st.st_mode))
        throw CFileException::FromErrno("open", path, EISDIR);
    // A device such as /dev/zero would never end; a pipe does, and is read as it comes.
    if (!S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode))
        throw CFileException("open", path, "it is not a plain file");

    // The file is read straight into the list's own buffer, after its last line, and cut
    // into lines there. Until then the bytes are not part of any line, so a failure leaves
    // the list as it was.
    const std::size_t before = lines.GetCount();
    try {
        std::size_t filled = 0;
        // One byte more than the size, so that the read which finds the end needs no growth.
        std::size_t room = S_ISREG(st.st_mode) ? static_cast<std::size_t>(st.st_size) + 1 : 1 << 16;
        for (;;) {
            char* const raw = lines.RawSpace(filled + room);
            const ssize_t n = ::read(fd.get(), raw + filled, room);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                throw CFileException::FromErrno("read", path, errno);
            }
            if (n == 0)
                break;
            filled += static_cast<std::size_t>(n);
            room -= static_cast<std::size_t>(n);
            if (room == 0)
                room = filled; // a file that grows, or a pipe: double the room each time
        }
        SplitRawText(lines, filled);
    } catch (const std::bad_alloc&) {
        lines.Truncate(before);
        throw CFileException("read", path, "not enough memory for its lines");
    }
}

namespace {

void WriteThroughTemporaryFile(const std::string& path, const CStringList& lines) {
    if (path.empty())
        throw CFileException("save", path, "no file name was given");
    const std::string target = ResolveTarget(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        throw CFileException::FromErrno("save", path, EISDIR);
    // The rename below would put a plain file in place of a device or a pipe.
    if (exists && !S_ISREG(old.st_mode))
        throw CFileException("save", path, "it is not a plain file");
    // The rename below could replace a file its owner made read-only; refuse, as writing
    // the file in place would.
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        throw CFileException::FromErrno("save", path, errno);

    std::string tempName = FolderOf(target) + "/." + BaseNameOf(target) + ".XXXXXX";
    FileDescriptor fd(::mkstemp(tempName.data()));
    if (fd.get() < 0)
        throw CFileException::FromErrno("save", path, errno);

    try {
        // A new file gets the usual permissions; a replaced one keeps its own.
        mode_t mode = 0666;
        if (exists) {
            mode = old.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode &= ~mask;
        }
        if (::fchmod(fd.get(), mode) != 0)
            throw CFileException::FromErrno("save", path, errno);

        // Lines and their CR LF are gathered in a buffer and written a megabyte at a time.
        constexpr std::size_t kBufferSize = 1 << 20;
        const std::unique_ptr<char[]> buffer(new char[kBufferSize]);
        std::size_t used = 0;
        for (std::size_t i = 0; i < lines.GetCount(); ++i) {
            const std::string_view line = lines.GetAt(i);
            if (used + line.size() + 2 > kBufferSize) {
                WriteAll(fd.get(), buffer.get(), used, path);
                used = 0;
                if (line.size() + 2 > kBufferSize) {
                    WriteAll(fd.get(), line.data(), line.size(), path);
                    WriteAll(fd.get(), "\r\n", 2, path);
                    continue;
                }
            }
            std::memcpy(buffer.get() + used, line.data(), line.size());
            used += line.size();
            buffer[used++] = '\r';
            buffer[used++] = '\n';
        }
        WriteAll(fd.get(), buffer.get(), used, path);
        if (::fsync(fd.get()) != 0)
            throw CFileException::FromErrno("save", path, errno);
        if (::close(fd.release()) != 0)
            throw CFileException::FromErrno("save", path, errno);
        if (::rename(tempName.c_str(), target.c_str()) != 0)
            throw CFileException::FromErrno("save", path, errno);
    } catch (...) {
        ::unlink(tempName.c_str());
        throw;
    }

    // Make the rename itself durable; the file is already complete either way.
    FileDescriptor folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
}

} // namespace

void WriteTextLines(const std::string& path, const CStringList& lines) {
    try {
        WriteThroughTemporaryFile(path, lines);
    } catch (const std::bad_alloc&) {
        // The temporary file is gone already; the old file was never touched.
        throw CFileException("save", path, "not enough memory to write it");
    }
}
