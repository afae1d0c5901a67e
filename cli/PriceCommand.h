// SPDX-License-Identifier: GPL-3.0-or-later
// tabulon-cli price: values one product of benefit legs, or one product per row of a batch.
#pragma once

#include <string>
#include <vector>

// Runs "tabulon-cli price ..." (args[0] is "price") and returns the exit status: 0 when
// priced, 2 for a refused argument or batch row (the other rows are still priced), 1 when
// a file cannot be read or standard output cannot be written.
int RunPriceCommand(const std::vector<std::string>& args);

// The usage text of price.
extern const char* const kPriceUsage;
