// SPDX-License-Identifier: GPL-3.0-or-later
// Journal text files: lines of bytes, CR LF after every line, saved safely.
#pragma once

#include "FileIdentity.h"
#include "StringList.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

// Whether reading accepts NUL bytes: a file the user opens is read whatever it holds, but
// a journal that a script appends to must be text.
enum class NulBytes { Keep, Refuse };

// What a document knows of its journal file as it last read or wrote it: enough to tell,
// under the journal's lock, whether another program only appended lines since, and whether
// a save can append its new lines instead of writing the file again.
struct JournalFileState {
    FileIdentity identity;
    std::size_t firstLine = 0; // the document's line that is the file's first line
    std::size_t lineCount = 0; // the lines the file held
    bool exact = false;        // the file's bytes are those lines, each followed by CR LF
};

// A save that was interrupted while it rewrote a journal in place, found and dealt with
// before the journal was next read or written.
struct InterruptedSave {
    std::string recoveryFile; // the recovery copy used, then removed
    bool completed = false;   // true: the save was completed; false: it had not begun
};

// Appends every line of the file to lines. A line ends at LF (a CR before it is a
// trailing control byte); a last line without an end is still read. Trailing bytes
// below the blank (0-31) are removed from each line; every other byte is kept.
// Only a plain file is read: a folder, a device or a named pipe is refused at once.
// Returns what was read, to tell later whether another program changed the file.
// An interrupted in-place save of the journal is completed first, where this process
// may write it. Throws CFileException; on failure lines is left as it was.
JournalFileState ReadTextLines(const std::string& path, CStringList& lines,
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

// What a journal save does when the file is not what the document last read or wrote.
enum class OtherChanges {
    KeepAppended, // lines another program appended join the document; any other change fails
    Overwrite,    // the document's lines replace whatever is there
};

// What a journal save did.
struct JournalSave {
    JournalFileState state;     // the file as written: every line of the document
    std::size_t insertedAt = 0; // where another program's appended lines joined the lines
    std::size_t inserted = 0;   // how many did
    std::optional<InterruptedSave> interrupted;
};

// Saves a document's lines to its journal, as WriteTextLines does, but first compares the
// file, under the journal's lock, with known (what the document last read or wrote there;
// nullopt for a file the document never had). When another program appended lines since,
// they are kept: they join lines after the ones the file held, and the journal is saved
// with them. Any other change fails with FileProblem::ChangedByAnotherProgram unless changes is
// Overwrite. When the file is the first lines of the document, byte for byte, only the
// new lines are appended and synced: the file keeps its inode, names and attributes, and
// a failed append leaves it as it was. An in-place rewrite keeps a complete recovery copy
// of the new text until it is done, so a save killed at any moment leaves the old or the
// new journal: the next read or save completes it. Throws CFileException.
JournalSave SaveJournal(const std::string& path, CStringList& lines,
                        const std::optional<JournalFileState>& known, OtherChanges changes,
                        std::chrono::milliseconds patience = kSaveLockPatience);

// Fails, as WriteTextLines would, when the lines certainly cannot be saved at path: no
// permission to write the file or make it, or more bytes than the file size limit allows.
// Lets a caller find out before it does anything it cannot take back. Throws CFileException.
void CheckCanSave(const std::string& path, const CStringList& lines);
