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
        throw CFileException("open", path, "it is not a plain file");
    return fd;
}
