// SPDX-License-Identifier: GPL-3.0-or-later
#include "SafeFile.h"

#include "FileDescriptor.h"
#include "FileException.h"
#include "PathNames.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace {

bool Ignorable(int error) {
    return error == EPERM || error == EACCES || error == ENOTSUP || error == EOPNOTSUPP;
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

} // namespace

std::string HiddenNameBeside(const std::string& target, const char* suffix) {
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
    return FolderOf(target) + "/" + name + suffix;
}

void SyncFolder(const std::string& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0)
        ::fsync(fd.Get());
}

void CopyFileAttributes(int from, const struct stat& old, int to, const std::string& action,
                        const std::string& shownName) {
    const auto fail = [&](int error) { throw CFileException::FromErrno(action, shownName, error); };
    if (::fchown(to, old.st_uid, old.st_gid) != 0) {
        if (errno != EPERM)
            fail(errno);
        if (::fchown(to, static_cast<uid_t>(-1), old.st_gid) != 0 && errno != EPERM)
            fail(errno);
    }
    // After fchown, which clears the set-user-ID and set-group-ID bits.
    if (::fchmod(to, old.st_mode & 07777) != 0)
        fail(errno);
    if (from < 0)
        return;
    // ACLs are the attributes system.posix_acl_access and system.posix_acl_default.
    const ssize_t listSize = ::flistxattr(from, nullptr, 0);
    if (listSize <= 0) {
        if (listSize < 0 && !Ignorable(errno))
            fail(errno);
        return;
    }
    std::vector<char> names(static_cast<std::size_t>(listSize));
    const ssize_t got = ::flistxattr(from, names.data(), names.size());
    if (got < 0)
        fail(errno);
    std::vector<char> value;
    for (const char* name = names.data(); name < names.data() + got;
         name += std::strlen(name) + 1) {
        const ssize_t size = ::fgetxattr(from, name, nullptr, 0);
        if (size < 0) {
            if (Ignorable(errno) || errno == ENODATA)
                continue;
            fail(errno);
        }
        value.resize(static_cast<std::size_t>(size) + 1);
        const ssize_t read = ::fgetxattr(from, name, value.data(), value.size());
        if (read < 0) {
            if (Ignorable(errno) || errno == ENODATA)
                continue;
            fail(errno);
        }
        if (::fsetxattr(to, name, value.data(), static_cast<std::size_t>(read), 0) != 0 &&
            !Ignorable(errno))
            fail(errno);
    }
}

CSafeFile::CSafeFile(std::string target, std::string shownName, std::string action,
                     const struct stat* old, int oldDescriptor)
    : m_target(std::move(target)), m_shownName(std::move(shownName)), m_action(std::move(action)),
      m_waiting(HiddenNameBeside(m_target, ".tabulon-save")), m_hasOld(old != nullptr),
      m_oldFd(oldDescriptor) {
    if (old)
        m_old = *old;
    // A write that was killed may have left its file under the waiting name.
    ::unlink(m_waiting.c_str());
    const std::string folder = FolderOf(m_target);
    m_fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (m_fd < 0) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            Fail(errno);
        m_fd =
            ::open(m_waiting.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (m_fd < 0)
            Fail(errno);
        m_named = true;
    }
}

CSafeFile::~CSafeFile() {
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_named)
        ::unlink(m_waiting.c_str());
}

void CSafeFile::Fail(int error) const {
    throw CFileException::FromErrno(m_action, m_shownName, error);
}

FileIdentity CSafeFile::Commit() {
    // A new file has the mode the user's umask gives it.
    if (m_hasOld)
        CopyFileAttributes(m_oldFd, m_old, m_fd, m_action, m_shownName);
    if (::fsync(m_fd) != 0)
        Fail(errno);
    struct stat written {};
    if (::fstat(m_fd, &written) != 0)
        Fail(errno);
    if (!m_named && !m_hasOld && LinkUnnamed(m_fd, m_target)) {
        // A new file gets its name at once.
    } else {
        if (!m_named) {
            if (!LinkUnnamed(m_fd, m_waiting))
                Fail(errno);
            m_named = true;
        }
        if (::rename(m_waiting.c_str(), m_target.c_str()) != 0)
            Fail(errno);
        m_named = false;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        Fail(errno);
    SyncFolder(FolderOf(m_target));
    return FileIdentity::Of(written);
}

void WriteFileSafely(const std::string& path, std::string_view bytes, const std::string& action) {
    const std::string target = ResolveTarget(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT)
        throw CFileException::FromErrno(action, path, errno);
    if (exists && !S_ISREG(existing.st_mode))
        throw CFileException(action, path, FileProblem::NotPlainFile);
    const FileDescriptor old(exists ? ::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)
                                    : -1);
    CSafeFile file(target, path, action, exists ? &existing : nullptr, old.Get());
    if (!WriteAll(file.Descriptor(), bytes.data(), bytes.size()))
        file.Fail(errno);
    file.Commit();
}
