// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the fields of tabulon-cli price as typed: decimal numbers and benefit legs.
#pragma once

#include "DecimalText.h"
#include "Product.h"

#include <string>
#include <string_view>

// One leg as --benefit gives it: KIND[,amount=A][,term=N][,deferral=U]
// [,timing=advance|arrears][,frequency=M], each key at most once. failure names option and
// the text when it is refused.
struct LegTexts {
    std::string failure;
    BenefitLeg leg;
};
LegTexts ParseLeg(std::string_view text, const std::string& option);
