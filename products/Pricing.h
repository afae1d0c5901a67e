// SPDX-License-Identifier: GPL-3.0-or-later
// A product priced on one or two lives, with expenses: the net and the gross values.
#pragma once

#include "Expenses.h"
#include "TwoLives.h"

#include <optional>

struct PricedProduct {
    Valuation net;
    GrossValues gross;
};

// The inputs must pass FindProductFault (on GoverningLife for two lives), FindTwoLifeFault
// and FindExpensesFault; otherwise std::invalid_argument is thrown with the reason. One life
// gives ValueProduct's values bit for bit.
PricedProduct PriceProduct(const TableRegistry& tables, const Life& life,
                           const std::optional<SecondLife>& second, const Basis& basis,
                           const Product& product, const Expenses& expenses, bool withPolicyValues);
