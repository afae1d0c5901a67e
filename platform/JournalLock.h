// SPDX-License-Identifier: GPL-3.0-or-later
// An advisory lock (flock) on a journal file, held from reading the journal to putting its
// new content in place, so that programs writing the same journal take turns.
#pragma once

#include <chrono>
#include <string>
#include <sys/stat.h>

class JournalLock {
public:
    static constexpr std::chrono::milliseconds kNoLimit = std::chrono::milliseconds::max();

    // Follows symbolic links in path, waits until no other program holds the lock and takes
    // it; after patience the wait ends with a CFileException. A journal that does not exist
    // yet is locked through its folder until it is made. A folder, a device or a named pipe
    // is refused at once. A lock this process already holds on the same file is shared
    // rather than waited for. Throws CFileException with action ("open", "save") and path.
    JournalLock(const std::string& path, const std::string& action,
                std::chrono::milliseconds patience = kNoLimit);
    ~JournalLock();
    JournalLock(const JournalLock&) = delete;
    JournalLock& operator=(const JournalLock&) = delete;

    // The file the lock is for: path with its symbolic links followed.
    const std::string& Target() const { return m_target; }
    // Whether the journal existed when the lock was taken.
    bool Exists() const { return m_exists; }
    // The journal, open for reading where permitted (else for writing); -1 when it does
    // not exist.
    int Descriptor() const { return m_exists ? m_fd : -1; }
    // The journal's status when the lock was taken (only when it exists).
    const struct stat& Status() const { return m_status; }

private:
    std::string m_target;
    bool m_exists = false;
    bool m_shared = false; // another lock of this process holds the flock
    int m_fd = -1;         // the journal, or its folder when it does not exist
    struct stat m_status {};
    struct stat m_locked {}; // what the flock is on: the journal or its folder
};
