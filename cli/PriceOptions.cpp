// SPDX-License-Identifier: GPL-3.0-or-later
#include "PriceOptions.h"

#include "PriceCouples.h"
#include "PriceFields.h"

#include "CliOptions.h"
#include "InputField.h"
#include "MortalityTables.h"
#include "ProductCheck.h"
#include "ProductNames.h"
#include "SelectLife.h"

#include <charconv>
#include <cmath>

namespace {

std::string Refused(const std::string& option, std::string_view text, const std::string& use) {
    return option + ": " + ShownValue(text) + " is not accepted; " + use + ".";
}

// The table named by --table or --table-file; sets inputs.life.tableId.
std::string CheckTable(const PriceTexts& texts, const TableRegistry& tables,
                       const TableFileLookup& tableFile, const std::string& dashes,
                       PriceInputs& inputs) {
    if (texts.table && texts.tableFile)
        return dashes + "table and " + dashes + "table-file: give one mortality table, not both.";
    if (texts.tableFile) {
        if (texts.tableFile->empty())
            return dashes + "table-file: the file name is empty.";
        inputs.tableFile = *texts.tableFile;
        return tableFile(*texts.tableFile, inputs.life.tableId);
    }
    const std::string table(TrimBlanks(texts.table.value_or("1")));
    for (int code = 1; code <= kTableCount; ++code) {
        if (table == MortalityTableOf(code).commandName || table == std::to_string(code)) {
            inputs.life.tableId = code;
            return {};
        }
    }
    int code = 0;
    if (ParseInteger(table, code) && code >= 1 && code <= kTableCount && tables.Find(code)) {
        inputs.life.tableId = code;
        return {};
    }
    return Refused(dashes + "table", *texts.table,
                   "use 1..4 or one of national-male, national-female, regional-male, "
                   "regional-female");
}

std::string CheckPremium(const PriceTexts& texts, const std::string& dashes, PremiumLeg& premium) {
    if (texts.premiumTerm) {
        const std::string_view term = TrimBlanks(*texts.premiumTerm);
        if (term == "life") {
            premium.forLife = true;
        } else if (!ParseInteger(term, premium.term) || premium.term < 0) {
            return Refused(dashes + "premium-term", *texts.premiumTerm,
                           "use whole years, 0 for a single premium, or life");
        }
    }
    if (texts.premiumFrequency && (!ParseInteger(*texts.premiumFrequency, premium.frequency) ||
                                   !IsAllowedFrequency(premium.frequency)))
        return Refused(dashes + "premium-frequency", *texts.premiumFrequency,
                       "use 1, 2, 4 or 12 payments a year");
    if (texts.premium) {
        double given = 0.0;
        if (!ParseDecimal(*texts.premium, given) || given < 0.0)
            return Refused(dashes + "premium", *texts.premium,
                           "use the annual premium, a finite number of 0 or more");
        premium.given = given;
    }
    return {};
}

// A select life needs a table with select rates: "TABLE has no select rates" otherwise.
std::string CheckSelect(const PriceTexts& texts, const RegisteredTable& table,
                        const std::string& dashes) {
    if (table.select.period > 0)
        return {};
    const std::string shown =
        texts.tableFile ? ShownValue(*texts.tableFile) : ShownValue(table.name);
    return dashes + "select: " + shown + " has no select rates" +
           (table.selectProblem.empty() ? std::string()
                                        : " that can be used (" + table.selectProblem + ")") +
           ".";
}

// The option and the text a fault found on the whole product belongs to.
std::string FaultMessage(const ProductFault& fault, const PriceTexts& texts,
                         const std::string& dashes) {
    std::string option, text;
    switch (fault.field) {
    case ProductFault::Field::Age:
        option = "age", text = texts.age.value_or("");
        break;
    case ProductFault::Field::Rate:
        option = "rate", text = texts.rate.value_or("5");
        break;
    case ProductFault::Field::Benefit:
        option = "benefit", text = fault.leg >= 0 ? texts.benefits[fault.leg] : "";
        break;
    case ProductFault::Field::PremiumTerm:
        option = "premium-term", text = texts.premiumTerm.value_or("0");
        break;
    case ProductFault::Field::PremiumFrequency:
        option = "premium-frequency", text = texts.premiumFrequency.value_or("1");
        break;
    case ProductFault::Field::Premium:
        option = "premium", text = texts.premium.value_or("");
        break;
    case ProductFault::Field::Table:
        option = "table", text = texts.table.value_or("1");
        break;
    }
    if (fault.field == ProductFault::Field::Benefit && fault.leg < 0)
        return dashes + "benefit: " + fault.reason + ".";
    return dashes + option + ": " + ShownValue(text) + " is not accepted: " + fault.reason + ".";
}

} // namespace

std::string CheckPriceTexts(const PriceTexts& texts, const TableRegistry& tables,
                            const TableFileLookup& tableFile, const std::string& dashes,
                            PriceInputs& inputs) {
    inputs = PriceInputs();
    inputs.policyValues = texts.policyValues;
    std::string failure = CheckTable(texts, tables, tableFile, dashes, inputs);
    if (!failure.empty())
        return failure;
    const RegisteredTable& table = *tables.Find(inputs.life.tableId);
    inputs.tableName = table.name;
    if (texts.select) {
        failure = CheckSelect(texts, table, dashes);
        if (!failure.empty())
            return failure;
        inputs.life.select = true;
        inputs.selectPeriod = table.select.period;
    }
    const IssueAges issueAges = IssueAgesOf(table, texts.select);
    const std::string ages =
        "use an age from " + std::to_string(issueAges.first) + " to " +
        std::to_string(issueAges.last) +
        (texts.select ? ", the select table's issue ages" : ", the table's ages");
    if (!texts.age)
        return dashes + "age: missing; " + ages + ".";
    if (!ParseInteger(*texts.age, inputs.life.issueAge) || inputs.life.issueAge < issueAges.first ||
        inputs.life.issueAge > issueAges.last)
        return Refused(dashes + "age", *texts.age, ages);
    if (texts.rate && (!ParseDecimal(*texts.rate, inputs.basis.ratePercent) ||
                       inputs.basis.ratePercent < 0.0 || inputs.basis.ratePercent > 100.0 ||
                       DecimalPlaces(TrimBlanks(*texts.rate)) > kMaxRateDecimals))
        return Refused(dashes + "rate", *texts.rate,
                       "use a rate in percent from 0 to 100 with at most 4 decimals");
    if (texts.fractional) {
        const auto fractional = FractionalNamed(TrimBlanks(*texts.fractional));
        if (!fractional)
            return Refused(dashes + "fractional", *texts.fractional,
                           "use udd, woolhouse2 or woolhouse3");
        inputs.basis.fractional = *fractional;
    }
    if (texts.benefits.empty())
        return dashes + "benefit: missing; give at least one benefit leg.";
    for (const std::string& text : texts.benefits) {
        LegTexts leg = ParseLeg(text, dashes + "benefit");
        if (!leg.failure.empty())
            return leg.failure;
        inputs.product.benefits.push_back(leg.leg);
    }
    failure = CheckPremium(texts, dashes, inputs.product.premium);
    if (!failure.empty())
        return failure;
    failure = CheckCoupleTexts(texts, tables, tableFile, dashes, inputs);
    if (!failure.empty())
        return failure;
    const Life governing =
        inputs.second ? GoverningLife(tables, inputs.life, *inputs.second) : inputs.life;
    if (const auto fault = FindProductFault(tables, governing, inputs.basis, inputs.product))
        return FaultMessage(*fault, texts, dashes);
    return {};
}
