// SPDX-License-Identifier: GPL-3.0-or-later
#include "PriceOptions.h"

#include "CliOptions.h"
#include "InputField.h"
#include "MortalityTables.h"
#include "ProductCheck.h"
#include "ProductNames.h"

#include <charconv>
#include <cmath>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits after the decimal point that matter (trailing zeros do not), less the exponent.
int DecimalPlaces(std::string_view number) {
    const std::size_t exponentAt = std::min(number.find_first_of("eE"), number.size());
    std::string_view mantissa = number.substr(0, exponentAt);
    int places = 0;
    const std::size_t point = mantissa.find('.');
    if (point != std::string_view::npos) {
        std::string_view fraction = mantissa.substr(point + 1);
        while (!fraction.empty() && fraction.back() == '0')
            fraction.remove_suffix(1);
        places = static_cast<int>(fraction.size());
    }
    if (exponentAt < number.size()) {
        int exponent = 0;
        std::string_view text = number.substr(exponentAt + 1);
        if (!text.empty() && text.front() == '+')
            text.remove_prefix(1);
        std::from_chars(text.data(), text.data() + text.size(), exponent);
        places -= exponent;
    }
    return places;
}

std::string Refused(const std::string& option, std::string_view text, const std::string& use) {
    return option + ": " + ShownValue(text) + " is not accepted; " + use + ".";
}

struct LegTexts {
    std::string failure;
    BenefitLeg leg;
};

// KIND[,amount=A][,term=N][,deferral=U][,timing=advance|arrears][,frequency=M]
LegTexts ParseLeg(std::string_view text, const std::string& option) {
    LegTexts parsed;
    const auto refuse = [&](const std::string& use) {
        parsed.failure = Refused(option, text, use);
        return parsed;
    };
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(TrimBlanks(text.substr(start, comma - start)));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    const auto kind = LegKindNamed(parts[0]);
    if (!kind)
        return refuse("a benefit starts with whole-life, term, endowment, pure-endowment or "
                      "annuity");
    parsed.leg.kind = *kind;
    std::vector<std::string_view> seen;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const std::size_t equals = parts[i].find('=');
        const std::string_view key = TrimBlanks(parts[i].substr(0, equals));
        const std::string_view value = equals == std::string_view::npos
                                           ? std::string_view()
                                           : TrimBlanks(parts[i].substr(equals + 1));
        if (equals == std::string_view::npos ||
            std::find(seen.begin(), seen.end(), key) != seen.end())
            return refuse("give each of amount, term, deferral, timing and frequency at most once, "
                          "as key=value");
        seen.push_back(key);
        int number = 0;
        if (key == "amount") {
            if (!ParseDecimal(value, parsed.leg.amount) || !(parsed.leg.amount >= 0.0))
                return refuse("amount= takes a finite number of 0 or more");
        } else if (key == "term" || key == "deferral") {
            if (!ParseInteger(value, number) || number < (key == "term" ? 1 : 0) ||
                number > kTableLastAllowedAge + 1)
                return refuse(std::string(key) + "= takes whole years, " +
                              (key == "term" ? "1" : "0") + " to 151");
            (key == "term" ? parsed.leg.term : parsed.leg.deferral) = number;
        } else if (key == "timing") {
            const auto timing = TimingNamed(value);
            if (!timing)
                return refuse("timing= takes advance or arrears");
            parsed.leg.timing = *timing;
        } else if (key == "frequency") {
            if (!ParseInteger(value, number) || !IsAllowedFrequency(number))
                return refuse("frequency= takes 1, 2, 4 or 12 payments a year");
            parsed.leg.frequency = number;
        } else {
            return refuse("a benefit's keys are amount, term, deferral, timing and frequency");
        }
    }
    return parsed;
}

} // namespace

bool ParseDecimal(std::string_view text, double& value) {
    const std::string_view number = TrimBlanks(text);
    std::size_t i = 0;
    if (i < number.size() && (number[i] == '+' || number[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < number.size() && IsDigit(number[i]))
        ++i, ++digits;
    if (i < number.size() && number[i] == '.')
        for (++i; i < number.size() && IsDigit(number[i]); ++i)
            ++digits;
    if (digits == 0)
        return false;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        if (i < number.size() && (number[i] == '+' || number[i] == '-'))
            ++i;
        std::size_t exponentDigits = 0;
        while (i < number.size() && IsDigit(number[i]))
            ++i, ++exponentDigits;
        if (exponentDigits == 0)
            return false;
    }
    if (i != number.size())
        return false;
    // from_chars takes no plus sign.
    const std::string_view unsigned_ = number.front() == '+' ? number.substr(1) : number;
    double parsed = 0.0;
    const auto result =
        std::from_chars(unsigned_.data(), unsigned_.data() + unsigned_.size(), parsed);
    if (result.ec != std::errc() || !std::isfinite(parsed))
        return false;
    value = parsed == 0.0 ? 0.0 : parsed; // never -0
    return true;
}

namespace {

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
    const std::string ages = "use an age from " + std::to_string(table.firstAge) + " to " +
                             std::to_string(table.lastAge) + ", the table's ages";
    if (!texts.age)
        return dashes + "age: missing; " + ages + ".";
    if (!ParseInteger(*texts.age, inputs.life.issueAge) || inputs.life.issueAge < table.firstAge ||
        inputs.life.issueAge > table.lastAge)
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
    if (const auto fault = FindProductFault(tables, inputs.life, inputs.basis, inputs.product))
        return FaultMessage(*fault, texts, dashes);
    return {};
}
