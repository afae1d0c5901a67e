// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the fields of tabulon-cli price as typed: decimal numbers and benefit legs.
#pragma once

#include "Product.h"

#include <string>
#include <string_view>

// A number as the command line reads it (optional blanks and sign, digits with an optional
// decimal point and exponent), without the process locale; false for anything else and for
// a magnitude beyond a double's range. Zero is never negative.
bool ParseDecimal(std::string_view text, double& value);

// Digits after the decimal point that matter (trailing zeros do not), less the exponent:
// "3.2500" has 2, "325e-2" has 2, "1e3" has -3. number holds what ParseDecimal accepts.
int DecimalPlaces(std::string_view number);

// One leg as --benefit gives it: KIND[,amount=A][,term=N][,deferral=U]
// [,timing=advance|arrears][,frequency=M], each key at most once. failure names option and
// the text when it is refused.
struct LegTexts {
    std::string failure;
    BenefitLeg leg;
};
LegTexts ParseLeg(std::string_view text, const std::string& option);
