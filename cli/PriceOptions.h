// SPDX-License-Identifier: GPL-3.0-or-later
// The options of tabulon-cli price, as texts and as a checked product.
#pragma once

#include "Basis.h"
#include "Expenses.h"
#include "Life.h"
#include "Product.h"
#include "TableRegistry.h"
#include "TwoLives.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// One product's values as typed, by option name; absent: the default.
struct PriceTexts {
    std::optional<std::string> age;   // required
    std::optional<std::string> table; // 1..4 or a built-in table's name; default 1
    std::optional<std::string> tableFile;
    std::optional<std::string> rate;             // percent, 0..100, up to 4 decimals; default 5
    std::vector<std::string> benefits;           // KIND[,key=value]... each
    std::optional<std::string> premiumTerm;      // years, or life; default 0 (single premium)
    std::optional<std::string> premiumFrequency; // 1, 2, 4, 12; default 1
    std::optional<std::string> premium;          // the given annual premium; default solved
    std::optional<std::string> fractional;       // udd, woolhouse2, woolhouse3; default udd
    bool policyValues = false;
    bool select = false; // the life is selected at issue: priced on the select rates
    // A second life and expenses; absent: one life, no expenses.
    std::optional<std::string> secondAge;
    std::optional<std::string> secondTable; // default: the first life's table
    std::optional<std::string> secondTableFile;
    std::optional<std::string> lives;         // joint, last-survivor, reversionary; default joint
    std::optional<std::string> premiumStatus; // joint or last-survivor; default joint
    std::optional<std::string> expenses;      // initial=X,initial-premium=P,...
};

// One product, checked: it can be valued.
struct PriceInputs {
    Life life;
    Basis basis;
    Product product;
    bool policyValues = false;
    std::string tableFile; // the file the table came from; empty for a built-in table
    std::string tableName;
    int selectPeriod = 0; // of the table, when life.select
    std::optional<SecondLife> second;
    std::string secondTableFile; // as tableFile, for the second life's table
    std::string secondTableName;
    Expenses expenses;
};

// Gives the registry id of the table in the file at path, reading it the first time; throws
// CFileException when it cannot be read, returns a message when it holds no valid table.
using TableFileLookup = std::function<std::string(const std::string& path, int& id)>;

// Checks the texts and fills inputs. Returns an empty string, or one line naming the option
// and the value refused; `dashes` goes before option names ("--" on the command line, ""
// for the columns of a batch file).
std::string CheckPriceTexts(const PriceTexts& texts, const TableRegistry& tables,
                            const TableFileLookup& tableFile, const std::string& dashes,
                            PriceInputs& inputs);
