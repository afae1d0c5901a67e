// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileDescriptor.h"

#include "FileException.h"

#include <cerrno>
#include <fcntl.h>

FileDescriptor OpenPlainFileToRead(const std::string& path, struct stat& st) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0)
        throw CFileException::FromErrno("open", path, errno);
    if (::fstat(fd.Get(), &st) != 0)
        throw CFileException::FromErrno("open", path, errno);
    if (S_ISDIR(st.st_mode))
        throw CFileException::FromErrno("open", path, EISDIR);
    if (!S_ISREG(st.st_mode))
        throw CFileException("open", path, FileProblem::NotPlainFile);
    return fd;
}

std::size_t ReadSome(int fd, char* buffer, std::size_t size, const std::string& path) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size);
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno != EINTR)
            throw CFileException::FromErrno("read", path, errno);
    }
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}
