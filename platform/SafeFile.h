// SPDX-License-Identifier: GPL-3.0-or-later
// The one way a file is written whole: a new file in the target's folder, put in place
// only once it is complete and on disk.
#pragma once

#include "FileIdentity.h"

#include <string>
#include <string_view>
#include <sys/stat.h>

// A new version of a file, written through Descriptor() and put in place by Commit(). The
// new text goes to an unnamed file in the target's folder (a file system without them gets
// a fixed hidden name beside the target, which the next write to the same target removes),
// so a process killed at any moment leaves the target as it was and nothing behind it.
// Commit flushes the file to disk, gives it the old file's owner, group, mode and extended
// attributes (ACLs included) where permitted, and renames it over the target (a new target
// gets its name at once). Without Commit the target is untouched and the new file is gone.
// Every failure throws CFileException(action, shownName, reason).
class CSafeFile {
public:
    // target: the file to replace, with its symbolic links already followed; old: its
    // status and a descriptor to read its attributes from (-1 when there is none), or
    // nullptr for a target that does not exist yet.
    CSafeFile(std::string target, std::string shownName, std::string action,
              const struct stat* old = nullptr, int oldDescriptor = -1);
    ~CSafeFile();
    CSafeFile(const CSafeFile&) = delete;
    CSafeFile& operator=(const CSafeFile&) = delete;

    int Descriptor() const { return m_fd; }
    // Throws CFileException with the reason for errno and the target left as it was.
    [[noreturn]] void Fail(int error) const;
    // Puts the new file in place; returns what is now at the target.
    FileIdentity Commit();

private:
    std::string m_target;
    std::string m_shownName;
    std::string m_action;
    std::string m_waiting; // the fixed name the new file has while it has a name
    bool m_named = false;  // whether the new file is under m_waiting
    bool m_hasOld = false;
    struct stat m_old {};
    int m_oldFd = -1;
    int m_fd = -1;
};

// The fixed hidden name beside target for what belongs to it ("." + its name + suffix),
// never longer than a file name may be: a hash stands in for a long name.
std::string HiddenNameBeside(const std::string& target, const char* suffix);

// Flushes a folder's entries (a rename or a new name in it) to disk.
void SyncFolder(const std::string& folder);

// Gives the file open at to the owner, group and mode of old and every extended attribute
// of the file open at from (-1: none) that this process may read and set. Throws
// CFileException(action, shownName, reason).
void CopyFileAttributes(int from, const struct stat& old, int to, const std::string& action,
                        const std::string& shownName);

// Writes bytes as the whole new content of the file at path through a CSafeFile: a link is
// followed, a device, a named pipe or a folder is refused ("it is not a plain file"), and
// the old file's owner, mode and attributes are kept. Throws CFileException(action, path,
// reason); on failure the file is as it was and nothing is left beside it.
void WriteFileSafely(const std::string& path, std::string_view bytes, const std::string& action);
