// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalLock.h"

#include "FileException.h"
#include "PathNames.h"

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// The files and folders this process holds a flock on, with the number of locks sharing
// each: a save inside a held lock must not wait for itself.
std::mutex g_heldMutex;
std::vector<std::pair<std::pair<dev_t, ino_t>, int>> g_held;

bool ShareHeld(const struct stat& st) {
    const std::lock_guard<std::mutex> guard(g_heldMutex);
    for (auto& [key, count] : g_held)
        if (key == std::make_pair(st.st_dev, st.st_ino)) {
            ++count;
            return true;
        }
    return false;
}

void AddHeld(const struct stat& st) {
    const std::lock_guard<std::mutex> guard(g_heldMutex);
    g_held.push_back({{st.st_dev, st.st_ino}, 1});
}

// Returns true when the last holder let go (the flock itself is then released).
bool DropHeld(const struct stat& st) {
    const std::lock_guard<std::mutex> guard(g_heldMutex);
    for (auto it = g_held.begin(); it != g_held.end(); ++it)
        if (it->first == std::make_pair(st.st_dev, st.st_ino)) {
            if (--it->second > 0)
                return false;
            g_held.erase(it);
            return true;
        }
    return true;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Opens without waiting (a named pipe without a writer would block) and without making
// a terminal the controlling one; for reading where permitted, else for writing.
int OpenWithoutWaiting(const std::string& path, int extra = 0) {
    const int flags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC | extra;
    int fd = ::open(path.c_str(), O_RDONLY | flags);
    if (fd < 0 && errno == EACCES) {
        fd = ::open(path.c_str(), O_WRONLY | flags);
        if (fd < 0)
            errno = EACCES;
    }
    return fd;
}

// Takes the flock, waiting for another program's at most patience; -1 with errno set when
// that fails, EWOULDBLOCK when the wait ran out.
int LockWaiting(int fd, std::chrono::milliseconds patience) {
    if (patience == JournalLock::kNoLimit) {
        while (::flock(fd, LOCK_EX) != 0)
            if (errno != EINTR)
                return -1;
        return 0;
    }
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR)
            return -1;
        if (std::chrono::steady_clock::now() >= deadline) {
            errno = EWOULDBLOCK;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}

} // namespace

JournalLock::JournalLock(const std::string& path, const std::string& action,
                         std::chrono::milliseconds patience) {
    if (path.empty())
        throw CFileException(action, path, FileProblem::NoFileName);
    m_target = ResolveTarget(path);
    // A save renames a new file over the journal: a lock taken on the old one while that
    // happened is on a file no longer at the path, so it is taken again.
    for (int attempt = 0;; ++attempt) {
        if (attempt == 100)
            throw CFileException(action, path, FileProblem::KeepsBeingReplaced);
        // Opened by the name given, so that the kernel follows links such as /dev/stdout
        // that name no file in a folder (a pipe): those are refused below.
        m_fd = OpenWithoutWaiting(path);
        if (m_fd >= 0) {
            if (::fstat(m_fd, &m_status) != 0) {
                const int error = errno;
                ::close(m_fd);
                throw CFileException::FromErrno(action, path, error);
            }
            if (S_ISDIR(m_status.st_mode) || !S_ISREG(m_status.st_mode)) {
                ::close(m_fd);
                if (S_ISDIR(m_status.st_mode))
                    throw CFileException::FromErrno(action, path, EISDIR);
                throw CFileException(action, path, FileProblem::NotPlainFile);
            }
            m_exists = true;
        } else if (errno == ENOENT) {
            // Nothing to lock yet: the folder stands for the journal until it is made.
            m_fd = ::open(FolderOf(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (m_fd < 0 || ::fstat(m_fd, &m_status) != 0) {
                const int error = errno;
                if (m_fd >= 0)
                    ::close(m_fd);
                throw CFileException::FromErrno(action, path, error);
            }
            m_exists = false;
        } else {
            throw CFileException::FromErrno(action, path, errno);
        }
        m_locked = m_status;
        m_shared = ShareHeld(m_locked);
        if (!m_shared && LockWaiting(m_fd, patience) != 0) {
            const int error = errno;
            ::close(m_fd);
            if (error == EWOULDBLOCK)
                throw CFileException(action, path, FileProblem::LockedByAnotherProgram);
            throw CFileException::FromErrno(action, path, error);
        }
        // Still the file at the path (or still no file there)?
        struct stat now {};
        const bool present = ::stat(m_target.c_str(), &now) == 0;
        if (!present && errno != ENOENT) {
            const int error = errno;
            if (!m_shared)
                ::flock(m_fd, LOCK_UN);
            ::close(m_fd);
            throw CFileException::FromErrno(action, path, error);
        }
        if (m_shared || (m_exists ? present && SameFile(now, m_status) : !present))
            break;
        if (!m_shared)
            ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_shared)
        AddHeld(m_locked);
}

JournalLock::~JournalLock() {
    if (DropHeld(m_locked) && !m_shared)
        ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
}
