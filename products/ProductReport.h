// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed-pitch report of a valued product, which tabulon-cli price prints and the desktop
// journal appends.
#pragma once

#include "Basis.h"
#include "Life.h"
#include "Product.h"
#include "Valuation.h"

#include <string>

// The report as lines of fixed-pitch text, each ended by a line feed: the life, the basis
// with its fractional-age convention (always named), each leg and its EPV, the premiums, the
// spread of the present values when withMoments, and the policy values by duration when
// withPolicyValues (value must then hold them).
std::string ProductReportText(const Life& life, const Basis& basis, const Product& product,
                              const std::string& tableName, const Valuation& value,
                              bool withMoments, bool withPolicyValues, int selectPeriod = 0);

// A rate in percent as the report prints it: the shortest digits that read back as the
// same double ("5", "3.25"), without the process locale.
std::string RateText(double ratePercent);
