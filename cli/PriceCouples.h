// SPDX-License-Identifier: GPL-3.0-or-later
// The second life, the status and the expenses of tabulon-cli price.
#pragma once

#include "PriceOptions.h"

// Checks --second-age, --second-table, --second-table-file, --lives, --premium-status and
// --expenses and fills inputs.second, inputs.expenses and the second table's file and name.
// Returns an empty string, or one line naming the option and the value refused.
std::string CheckCoupleTexts(const PriceTexts& texts, const TableRegistry& tables,
                             const TableFileLookup& tableFile, const std::string& dashes,
                             PriceInputs& inputs);
