// SPDX-License-Identifier: GPL-3.0-or-later
#include "PriceCouples.h"

#include "PriceFields.h"

#include "CliOptions.h"
#include "InputField.h"
#include "MortalityTables.h"
#include "ProductCheck.h"

#include <cmath>

namespace {

std::string Refused(const std::string& option, std::string_view text, const std::string& use) {
    return option + ": " + ShownValue(text) + " is not accepted; " + use + ".";
}

// The table of --second-table or --second-table-file; the first life's when neither is given.
std::string CheckSecondTable(const PriceTexts& texts, const TableFileLookup& tableFile,
                             const std::string& dashes, PriceInputs& inputs, int& id) {
    id = inputs.life.tableId;
    if (texts.secondTable && texts.secondTableFile)
        return dashes + "second-table and " + dashes +
               "second-table-file: give one mortality table, not both.";
    if (texts.secondTableFile) {
        if (texts.secondTableFile->empty())
            return dashes + "second-table-file: the file name is empty.";
        inputs.secondTableFile = *texts.secondTableFile;
        return tableFile(*texts.secondTableFile, id);
    }
    if (!texts.secondTable) {
        inputs.secondTableFile = inputs.tableFile;
        return {};
    }
    const std::string_view table = TrimBlanks(*texts.secondTable);
    for (int code = 1; code <= kTableCount; ++code) {
        if (table == MortalityTableOf(code).commandName || table == std::to_string(code)) {
            id = code;
            return {};
        }
    }
    return Refused(dashes + "second-table", *texts.secondTable,
                   "use 1..4 or one of national-male, national-female, regional-male, "
                   "regional-female");
}

// initial=X,initial-premium=P,renewal=Y,renewal-premium=Q,claim=Z, each key at most once.
std::string CheckExpenses(const std::string& text, const std::string& option, Expenses& expenses) {
    const std::string use = "use initial=X,initial-premium=P,renewal=Y,renewal-premium=Q,claim=Z "
                            "(each at most once; amounts 0 or more, percents from 0 to below 100)";
    const std::pair<const char*, double*> keys[] = {
        {"initial", &expenses.initial}, {"initial-premium", &expenses.initialPremiumPercent},
        {"renewal", &expenses.renewal}, {"renewal-premium", &expenses.renewalPremiumPercent},
        {"claim", &expenses.claim},
    };
    bool seen[std::size(keys)] = {};
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(',', start);
        const std::string item = text.substr(start, end - start);
        const std::size_t equals = item.find('=');
        const std::string_view key =
            TrimBlanks(std::string_view(item).substr(0, std::min(equals, item.size())));
        std::size_t index = 0;
        while (index < std::size(keys) && key != keys[index].first)
            ++index;
        if (equals == std::string::npos || index == std::size(keys) || seen[index] ||
            !ParseDecimal(item.substr(equals + 1), *keys[index].second))
            return Refused(option, text, use);
        seen[index] = true;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    if (FindExpensesFault(expenses))
        return Refused(option, text, use);
    return {};
}

} // namespace

std::string CheckCoupleTexts(const PriceTexts& texts, const TableRegistry& tables,
                             const TableFileLookup& tableFile, const std::string& dashes,
                             PriceInputs& inputs) {
    if (texts.expenses) {
        const std::string failure =
            CheckExpenses(*texts.expenses, dashes + "expenses", inputs.expenses);
        if (!failure.empty())
            return failure;
    }
    if (!texts.secondAge) {
        const std::pair<const char*, bool> needing[] = {
            {"second-table", texts.secondTable.has_value()},
            {"second-table-file", texts.secondTableFile.has_value()},
            {"lives", texts.lives.has_value()},
            {"premium-status", texts.premiumStatus.has_value()},
        };
        for (const auto& [name, given] : needing)
            if (given)
                return dashes + name + ": a second life needs " + dashes + "second-age.";
        return {};
    }
    int id = 0;
    std::string failure = CheckSecondTable(texts, tableFile, dashes, inputs, id);
    if (!failure.empty())
        return failure;
    const RegisteredTable& table = *tables.Find(id);
    inputs.secondTableName = table.name;
    SecondLife second;
    second.life.tableId = id;
    if (!ParseInteger(*texts.secondAge, second.life.issueAge) ||
        second.life.issueAge < table.firstAge || second.life.issueAge > table.lastAge)
        return Refused(dashes + "second-age", *texts.secondAge,
                       "use an age from " + std::to_string(table.firstAge) + " to " +
                           std::to_string(table.lastAge) + ", the second table's ages");
    if (texts.lives) {
        const auto status = LifeStatusNamed(TrimBlanks(*texts.lives));
        if (!status)
            return Refused(dashes + "lives", *texts.lives,
                           "use joint, last-survivor or reversionary");
        second.status = *status;
    }
    if (texts.premiumStatus) {
        const std::string_view status = TrimBlanks(*texts.premiumStatus);
        if (status != "joint" && status != "last-survivor")
            return Refused(dashes + "premium-status", *texts.premiumStatus,
                           "use joint (while both are alive) or last-survivor");
        second.premiumsLastSurvivor = status == "last-survivor";
    }
    Product plain;
    plain.benefits.push_back(BenefitLeg{});
    if (const auto fault = FindProductFault(tables, inputs.life, inputs.basis, plain))
        return dashes + "age: " + ShownValue(texts.age.value_or("")) +
               " is not accepted: " + fault->reason + ".";
    if (const auto fault = FindTwoLifeFault(tables, inputs.life, second, inputs.product)) {
        switch (fault->field) {
        case TwoLifeFault::Field::Table:
        case TwoLifeFault::Field::Age:
            return dashes + "second-age: " + ShownValue(*texts.secondAge) +
                   " is not accepted: " + fault->reason + ".";
        case TwoLifeFault::Field::Lives:
            return dashes + "lives: " + ShownValue(texts.lives.value_or("joint")) +
                   " is not accepted: " + fault->reason + ".";
        }
    }
    inputs.second = second;
    return {};
}
