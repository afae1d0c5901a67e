// SPDX-License-Identifier: GPL-3.0-or-later
// The product calculation of the journal: the values its dialog exchanges, and what the last
// accepted product left for the status bar and the Charts window.
#pragma once

#include "Basis.h"
#include "Expenses.h"
#include "Life.h"
#include "MortalityTableData.h"
#include "Product.h"
#include "TableRegistry.h"
#include "TwoLives.h"
#include "Valuation.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// What the product dialog collects. The table is a code of the desktop's table list
// (MortalityTableOf: the built-in tables 1..4, imported tables after them), or below 0 one
// of the tables that ship with Tabulon (-1, -2, ...: ShippedTable).
struct ProductDialogValues {
    int tableCode = 1;
    int age = 45;
    bool select = false; // selected at age: valued on the table's select rates as [age]+t
    Basis basis;
    Product product;
    bool policyValues = false; // append the policy value at every duration
    bool distribution = false; // append the spread of the present values
    // A second life, independent of the first, when twoLives.
    bool twoLives = false;
    int secondTableCode = 1;
    int secondAge = 45;
    LifeStatus status = LifeStatus::Joint;
    bool premiumsLastSurvivor = false; // premiums while either is alive; else while both are
    Expenses expenses;                 // none: the gross premium is the net one
};

// What the dialog opens with before anything was accepted: 10,000 of whole-life cover on a
// life aged 45, table 1, 5%, udd, a single premium, solved.
ProductDialogValues DefaultProductValues();

// The whole file of an imported table (its select rates and ultimate q beside the l the
// table list holds), by table code; nullptr when the file has no select rates. Set by the
// desktop's table import; without one no table has select rates.
using ImportedTableFile = std::function<const MortalityTableData*(int tableCode)>;
void SetImportedTableFile(ImportedTableFile lookup);
// The select period of the desktop's table of tableCode: 0 when it has no select rates.
int SelectPeriodOf(int tableCode);

// The tables that ship with Tabulon (the Standard Ultimate Life Table, the Standard Select
// Survival Model), which the product dialog offers beside the desktop's table list. The
// desktop gives the reader of their files; they are read at their first use.
using ShippedTablesReader = std::function<std::vector<MortalityTableData>()>;
void SetShippedTables(ShippedTablesReader reader);
// The shipped table of code -1, -2, ..., or nullptr past the last one.
const MortalityTableData* ShippedTable(int tableCode);
// Whether tableCode names a table: the desktop's or a shipped one.
bool ProductTableExists(int tableCode);

// A registry with the built-in tables and the desktop's tables of values (the first life's,
// and the second life's when there is one), which values the product; the lives on them.
// False when there is no such table.
bool ProductTables(const ProductDialogValues& values, TableRegistry& tables, Life& first,
                   std::optional<SecondLife>& second);

// The first input the product cannot be valued with, for the dialog to name: the field, the
// benefit leg (for Benefit) and the reason.
struct ProductRunFault {
    enum class Field {
        Table,
        Age,
        Select,
        Rate,
        Benefit,
        PremiumTerm,
        PremiumFrequency,
        Premium,
        SecondTable,
        SecondAge,
        Lives,
        Expenses,
    };
    Field field;
    int leg = -1;
    std::string reason;
};
std::optional<ProductRunFault> FindProductRunFault(const ProductDialogValues& values);

// The last accepted product: its inputs, its tables' names as they were then (a table may be
// removed since), its net and gross values, and the survival of its lives by duration.
struct ProductResult {
    ProductDialogValues values;
    Life life;
    std::optional<SecondLife> second;
    std::string tableName;
    std::string secondTableName;
    int selectPeriod = 0; // of the first life's table, when it is a select life
    Valuation value;
    GrossValues gross; // the net values when there are no expenses
    // One life: survival[t] = tp_x from the issue age to the table's end (for a select life
    // on its select rates). Two lives: tp_x and tp_y, both to the end of the longer, 0 past
    // a life's own table.
    std::vector<double> survival;
    std::vector<double> secondSurvival;
};

// Values the accepted dialog values. False (nothing filled) when they cannot be valued: no
// such table, or a fault FindProductRunFault names.
bool ValueProductRun(const ProductDialogValues& values, ProductResult& result);

// The report lines the journal appends for a product, without line ends.
std::vector<std::string> ProductReportLines(const ProductResult& result);

// Asks for the values of a product, starting from opening: the accepted values, or nothing
// when the user cancelled.
using ProductValuesPrompt =
    std::function<std::optional<ProductDialogValues>(const ProductDialogValues& opening)>;
