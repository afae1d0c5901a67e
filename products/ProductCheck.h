// SPDX-License-Identifier: GPL-3.0-or-later
// What makes a product impossible to value on a life and a basis, found before any value.
#pragma once

#include "Basis.h"
#include "Life.h"
#include "Product.h"
#include "TableRegistry.h"

#include <optional>
#include <string>

struct ProductFault {
    enum class Field { Table, Age, Rate, Benefit, PremiumTerm, PremiumFrequency, Premium };
    Field field;
    int leg = -1;       // the benefit leg's index for Field::Benefit
    std::string reason; // a sentence fragment: "term 50 runs past the table's end (age 131)"
};

constexpr int kMaxRateDecimals = 4;     // a rate in percent has at most 4 decimals
bool IsAllowedFrequency(int frequency); // 1, 2, 4 or 12

// The first fault, in the order table, age, rate, legs, premium; none when the product can be
// valued. Leg terms and deferrals must end by the table's end (last age + 1): a 5-year term
// at 65 on a table ending at 69 is allowed.
std::optional<ProductFault> FindProductFault(const TableRegistry& tables, const Life& life,
                                             const Basis& basis, const Product& product);
