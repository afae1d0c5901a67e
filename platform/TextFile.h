// SPDX-License-Identifier: GPL-3.0-or-later
// Journal text files: lines of bytes, CR LF after every line, saved safely.
#pragma once

#include "FileIdentity.h"
#include "StringList.h"

#include <chrono>
#include <string>

// Whether reading accepts NUL bytes: a file the user opens is read whatever it holds, but
// a journal that a script appends to must be text.
enum class NulBytes { Keep, Refuse };

// Appends every line of the file to lines. A line ends at LF (a CR before it is a
// trailing control byte); a last line without an end is still read. Trailing bytes
// below the blank (0-31) are removed from each line; every other byte is kept.
// Only a plain file is read: a folder, a device or a named pipe is refused at once.
// Returns what was read, to tell later whether another program changed the file.
// Throws CFileException; on failure lines is left as it was.
FileIdentity ReadTextLines(const std::string& path, CStringList& lines,
                           NulBytes nulBytes = NulBytes::Keep);

// How long a save waits for another program that holds the journal's lock.
constexpr std::chrono::milliseconds kSaveLockPatience{30000};

// Writes every line followed by CR LF, holding the journal's lock (see JournalLock) while
// it does. A new file, or one with a single name in a folder this process may write, is
// replaced whole: the text goes to an unnamed file in the same folder, is flushed to disk,
// takes the old file's owner, group, mode and extended attributes (ACLs included) where
// permitted and is then put in its place, so a failure at any point leaves the previous
// file intact. A file with several names (hard links) or in a folder this process may
// not write is rewritten in place after the room for the new text is reserved, so a full
// disk or a size limit still fails before anything is written. Returns what was written.
// Waits at most kSaveLockPatience for another program's lock on the journal (a program
// stopped while it held the lock would otherwise keep the save waiting for ever); a lock
// this process holds is shared. Throws CFileException.
FileIdentity WriteTextLines(const std::string& path, const CStringList& lines,
                            std::chrono::milliseconds patience = kSaveLockPatience);

// Fails, as WriteTextLines would, when the lines certainly cannot be saved at path: no
// permission to write the file or make it, or more bytes than the file size limit allows.
// Lets a caller find out before it does anything it cannot take back. Throws CFileException.
void CheckCanSave(const std::string& path, const CStringList& lines);
