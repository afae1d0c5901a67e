// SPDX-License-Identifier: GPL-3.0-or-later
// tabulon-cli batch: prices one policy per CSV row and writes one CSV row of results each.
#pragma once

#include <string>
#include <vector>

// Runs "tabulon-cli batch ..." (args[0] is "batch") and returns the exit status: 0 when
// every row was priced, 2 for bad arguments or a refused row (the other rows are still
// priced), 1 when the input cannot be read or the results cannot be written.
int RunBatchCommand(const std::vector<std::string>& args);
