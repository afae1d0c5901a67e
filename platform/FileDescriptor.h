// SPDX-License-Identifier: GPL-3.0-or-later
// A file descriptor that is closed when it goes out of scope, the opening of a plain file
// to read, and reads and writes that carry on after a signal.
#pragma once

#include <cstddef>
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

// Reads up to size bytes into buffer, again when a signal interrupts the read; returns how
// many arrived, 0 at the end of the file. Throws CFileException naming path when the read
// fails.
std::size_t ReadSome(int fd, char* buffer, std::size_t size, const std::string& path);

// Writes all size bytes, again after a signal or a short write. False, with errno set, when
// a write fails.
bool WriteAll(int fd, const char* data, std::size_t size);
