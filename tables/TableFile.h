// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a user's mortality table file, CSV or XTbML, into a plain value.
#pragma once

#include "MortalityTableData.h"

#include <cstddef>
#include <string>
#include <string_view>

// A table file larger than this is refused unread (a table of 151 ages is a few kilobytes
// as CSV and under 20 KB as XTbML; select-and-ultimate files run to some hundred KB).
constexpr std::size_t kTableFileMaxBytes = 16 << 20;

// Reads the table in the file at path. A file that cannot be read (missing, a folder, not a
// plain file, no permission, larger than kTableFileMaxBytes) throws CFileException with
// the name and the reason; a file that is read but holds no valid table throws
// TableFormatError with the name and the first problem. Nothing partial is returned.
MortalityTableData ReadMortalityTableFile(const std::string& path);

// The table in bytes read from path: XTbML when the first character after an optional
// byte-order mark (UTF-8, UTF-16 little- or big-endian) and blanks is '<', CSV otherwise.
MortalityTableData ParseMortalityTable(std::string_view bytes, const std::string& path);
