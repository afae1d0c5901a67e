// SPDX-License-Identifier: GPL-3.0-or-later
// tabulon-cli price --batch: one product per CSV row, one JSON object per line out.
#pragma once

#include <string>

// Reads the CSV file at path ("-": standard input) row by row and writes each row's JSON
// object in input order. Rows are priced in groups of up to 1,024 on `jobs` threads (at
// least 1), and whatever was read is priced and written before each wait for more input. Returns
// the exit status: 0 when every row was priced, 2 when a row was refused (reported on standard
// error with its line), 1 when the input cannot be read or the results cannot be written.
int RunPriceBatch(const std::string& path, int jobs);
