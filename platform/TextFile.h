// Journal text files: lines of bytes, CR LF after every line, saved safely.
#pragma once

#include "StringList.h"

#include <string>

// Appends every line of the file to lines. A line ends at LF (a CR before it is a
// trailing control byte); a last line without an end is still read. Trailing bytes
// below the blank (0-31) are removed from each line; every other byte is kept.
// Throws CFileException; on failure lines is left as it was.
void ReadTextLines(const std::string& path, CStringList& lines);

// Writes every line followed by CR LF. The text goes to a temporary file in the
// same folder, is flushed to disk and then renamed over the target, so a failure at
// any point leaves the previous file intact. Throws CFileException.
void WriteTextLines(const std::string& path, const CStringList& lines);
