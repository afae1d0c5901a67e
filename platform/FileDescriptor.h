// SPDX-License-Identifier: GPL-3.0-or-later
// A file descriptor that is closed when it goes out of scope, and the opening of a plain
// file to read.
#pragma once

#include <string>
#include <sys/stat.h>
#include <unistd.h>

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(other.Release()) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }
    // Gives up the descriptor: the caller closes it.
    int Release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

// Opens the file at path to read, without waiting (a named pipe without a writer would block
// the open itself), and leaves its status in st. Throws CFileException naming the file when
// it cannot be opened, is a folder, or is not a plain file (a device such as /dev/zero would
// never end, a pipe may never deliver).
FileDescriptor OpenPlainFileToRead(const std::string& path, struct stat& st);
