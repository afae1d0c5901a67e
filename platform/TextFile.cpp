#include "TextFile.h"

#include "FileException.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

std::string_view StripTrailingControls(std::string_view line) {
    while (!line.empty() && static_cast<unsigned char>(line.back()) < 32)
        line.remove_suffix(1);
    return line;
}

void AppendLines(std::string_view text, CStringList& lines) {
    std::size_t count = 0;
    for (const char c : text)
        count += c == '\n';
    lines.Reserve(count + 1, text.size());
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        lines.AddTail(StripTrailingControls(line));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
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

    std::string text;
    if (S_ISREG(st.st_mode))
        text.reserve(static_cast<std::size_t>(st.st_size));
    char chunk[1 << 16];
    for (;;) {
        const std::size_t room = text.capacity() - text.size();
        if (room > sizeof chunk) {
            // Read straight into the reserved buffer when the size is known.
            const std::size_t old = text.size();
            text.resize(text.capacity());
            const ssize_t n = ::read(fd.get(), text.data() + old, room);
            if (n < 0) {
                const int error = errno;
                text.resize(old);
                if (error == EINTR)
                    continue;
                throw CFileException::FromErrno("read", path, error);
            }
            text.resize(old + static_cast<std::size_t>(n));
            if (n == 0)
                break;
            continue;
        }
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw CFileException::FromErrno("read", path, errno);
        }
        if (n == 0)
            break;
        text.append(chunk, static_cast<std::size_t>(n));
    }

    const std::size_t before = lines.GetCount();
    try {
        AppendLines(text, lines);
    } catch (const std::bad_alloc&) {
        lines.Truncate(before);
        throw CFileException("read", path, "not enough memory for its lines");
    }
}

void WriteTextLines(const std::string& path, const CStringList& lines) {
    if (path.empty())
        throw CFileException("save", path, "no file name was given");
    const std::string target = ResolveTarget(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        throw CFileException::FromErrno("save", path, EISDIR);

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

        std::vector<char> buffer;
        buffer.reserve(1 << 20);
        for (std::size_t i = 0; i < lines.GetCount(); ++i) {
            const std::string_view line = lines.GetAt(i);
            if (buffer.size() + line.size() + 2 > buffer.capacity() && !buffer.empty()) {
                WriteAll(fd.get(), buffer.data(), buffer.size(), path);
                buffer.clear();
            }
            if (line.size() + 2 > buffer.capacity()) {
                WriteAll(fd.get(), line.data(), line.size(), path);
                WriteAll(fd.get(), "\r\n", 2, path);
                continue;
            }
            buffer.insert(buffer.end(), line.begin(), line.end());
            buffer.push_back('\r');
            buffer.push_back('\n');
        }
        WriteAll(fd.get(), buffer.data(), buffer.size(), path);
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
