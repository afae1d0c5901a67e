// SPDX-License-Identifier: GPL-3.0-or-later
// Decimal numbers as typed, read without the process locale: rates and amounts of products,
// the same on the command line and in the desktop's product dialog.
#pragma once

#include <string>
#include <string_view>

// A number as the command line reads it (optional blanks and sign, digits with an optional
// decimal point and exponent), without the process locale; false for anything else and for
// a magnitude beyond a double's range. Zero is never negative.
bool ParseDecimal(std::string_view text, double& value);

// Digits after the decimal point that matter (trailing zeros do not), less the exponent:
// "3.2500" has 2, "325e-2" has 2, "1e3" has -3. number holds what ParseDecimal accepts.
int DecimalPlaces(std::string_view number);

// value with 17 significant digits, which read back as the same double, without the process
// locale; a zero is "0", never signed.
std::string FullNumber(double value);
