// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a select-and-ultimate mortality table from CSV text: a header
// "age,1,2,...,k,ultimate", then one row per issue age x (consecutive whole numbers from 0 to
// 150). Column j holds q[x]+j-1, the rate in the j-th year after selection at age x;
// "ultimate" holds q(x + k). Empty select cells may end a row (the table ends before the
// select period does; the ultimate cell is then empty too), and the last rows may leave
// "ultimate" empty. Comments, blank lines, a byte-order mark and line ends as for the CSV
// table by age; every q lies in [0, 1].
#pragma once

#include "MortalityTableData.h"

#include <string>
#include <string_view>

// Whether a header line (trimmed) opens a select table: "age", then "1".
bool IsSelectCsvHeader(std::string_view line);

// The table named after the file: values holds the ultimate rates from age first issue age
// + k on, select the rates by issue age. Throws TableFormatError naming path and the first
// problem with its line and column.
MortalityTableData ParseSelectCsvTable(std::string_view bytes, const std::string& path);
