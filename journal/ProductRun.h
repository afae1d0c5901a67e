// SPDX-License-Identifier: GPL-3.0-or-later
// The product calculation of the journal: the values its dialog exchanges, and what the last
// accepted product left for the status bar and the Charts window.
#pragma once

#include "Basis.h"
#include "Life.h"
#include "Product.h"
#include "TableRegistry.h"
#include "Valuation.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// What the product dialog collects. The table is a code of the desktop's table list
// (MortalityTableOf: the built-in tables 1..4, imported tables after them).
struct ProductDialogValues {
    int tableCode = 1;
    int age = 45;
    Basis basis;
    Product product;
    bool policyValues = false; // append the policy value at every duration
    bool distribution = false; // append the spread of the present values
};

// What the dialog opens with before anything was accepted: 10,000 of whole-life cover on a
// life aged 45, table 1, 5%, udd, a single premium, solved.
ProductDialogValues DefaultProductValues();

// A registry with the built-in tables and the desktop's table of tableCode, which values the
// product; id is that table's id in it. False when there is no such table.
bool ProductTables(int tableCode, TableRegistry& tables, int& id);

// The last accepted product: its inputs, its table's name as it was then (the table may be
// removed since), its values, and tp_x from the issue age to the table's end.
struct ProductResult {
    ProductDialogValues values;
    Life life;
    std::string tableName;
    Valuation value;
    std::vector<double> survival; // survival[t] = l(age + t) / l(age), t = 0..lastAge + 1 - age
};

// Values the accepted dialog values. False (nothing filled) when they cannot be valued: no
// such table, or a fault FindProductFault names.
bool ValueProductRun(const ProductDialogValues& values, ProductResult& result);

// The report lines the journal appends for a product, without line ends.
std::vector<std::string> ProductReportLines(const ProductResult& result);

// Asks for the values of a product, starting from opening: the accepted values, or nothing
// when the user cancelled.
using ProductValuesPrompt =
    std::function<std::optional<ProductDialogValues>(const ProductDialogValues& opening)>;
