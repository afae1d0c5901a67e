// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a mortality table from CSV text: a header "age,qx" or "age,lx", then one row per
// age. Ages are consecutive whole numbers from 0 to 150; a line whose first non-blank
// character is # is a comment; blank lines are skipped; a UTF-8 byte-order mark, CR LF and
// LF are accepted. q lies in [0, 1]; l is positive and never rises (only the last l may be 0).
// A header age,1,...,k,ultimate opens a select-and-ultimate table (SelectCsvTable.h).
#pragma once

#include "MortalityTableData.h"

#include <string>
#include <string_view>

// The table named after the file (its name without folder and extension). Throws
// TableFormatError naming path and the first problem with its line number.
MortalityTableData ParseCsvTable(std::string_view bytes, const std::string& path);
