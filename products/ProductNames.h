// SPDX-License-Identifier: GPL-3.0-or-later
// The names of leg kinds, timings and fractional-age conventions, as the command line
// accepts them and reports print them.
#pragma once

#include "Basis.h"
#include "Product.h"

#include <optional>
#include <string_view>

const char* LegKindName(LegKind kind); // whole-life, term, endowment, pure-endowment, annuity
const char* TimingName(Timing timing); // advance, arrears
const char* FractionalName(FractionalAge fractional); // udd, woolhouse2, woolhouse3

std::optional<LegKind> LegKindNamed(std::string_view name);
std::optional<Timing> TimingNamed(std::string_view name);
std::optional<FractionalAge> FractionalNamed(std::string_view name);
