// SPDX-License-Identifier: GPL-3.0-or-later
// What tabulon-cli price prints for a valued product: a JSON object or fixed-pitch lines.
#pragma once

#include "PriceOptions.h"
#include "Pricing.h"

#include <string>

// One JSON object on one line (no line end): the inputs, then the results. Numbers have 17
// significant digits and never a sign on zero; a value that is not defined is null.
// line: the batch file's line of the row, 0 on the command line (then not shown).
std::string PriceJson(const PriceInputs& inputs, const PricedProduct& value, std::size_t line = 0);

// The report as lines of fixed-pitch text, each ended by a line feed: the life, the basis
// with its fractional-age convention, each leg and its EPV, the premiums, the moments and,
// when asked for, the policy values by duration.
std::string PriceText(const PriceInputs& inputs, const PricedProduct& value);
