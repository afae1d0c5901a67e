// SPDX-License-Identifier: GPL-3.0-or-later
#include "PriceReport.h"

#include "ProductNames.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// 17 significant digits without the process locale; null when not finite; 0 never signed.
std::string JsonNumber(double value) {
    if (!std::isfinite(value))
        return "null";
    if (value == 0.0)
        return "0";
    char text[40];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17);
    return std::string(text, result.ptr);
}

std::string JsonText(const std::string& value) {
    std::string text = "\"";
    for (const char c : value) {
        if (c == '"' || c == '\\')
            text += '\\';
        text += c;
    }
    return text + "\"";
}

std::string LegJson(const BenefitLeg& leg, double epv) {
    return std::string("{\"kind\":") + JsonText(LegKindName(leg.kind)) +
           ",\"amount\":" + JsonNumber(leg.amount) + ",\"term\":" + std::to_string(leg.term) +
           ",\"deferral\":" + std::to_string(leg.deferral) +
           ",\"timing\":" + JsonText(TimingName(leg.timing)) +
           ",\"frequency\":" + std::to_string(leg.frequency) + ",\"epv\":" + JsonNumber(epv) + "}";
}

// A fixed-point number for the text report: decimals places, never "-0.00...".
std::string Fixed(double value, int decimals, int width) {
    if (!std::isfinite(value))
        return std::string(static_cast<std::size_t>(std::max(0, width - 9)), ' ') + "undefined";
    char text[64];
    std::snprintf(text, sizeof text, "%*.*f", width, decimals, value);
    std::string shown = text;
    const std::size_t minus = shown.find('-');
    if (minus != std::string::npos && shown.find_first_of("123456789") == std::string::npos)
        shown[minus] = ' ';
    return shown;
}

std::string Line(const char* label, const std::string& value) {
    char text[64];
    std::snprintf(text, sizeof text, "  %-28s", label);
    return text + value + "\n";
}

std::string Years(int years) {
    return std::to_string(years) + (years == 1 ? " year" : " years");
}

std::string LegText(const BenefitLeg& leg) {
    char amount[64];
    std::snprintf(amount, sizeof amount, "%.2f", leg.amount);
    std::string text = std::string(LegKindName(leg.kind)) + " " + amount;
    const std::string often =
        leg.frequency == 1 ? "yearly" : std::to_string(leg.frequency) + " times a year";
    if (leg.kind == LegKind::Annuity)
        text += " a year, " + often + " in " + TimingName(leg.timing);
    else if (leg.kind != LegKind::PureEndowment)
        text += leg.frequency == 1
                    ? ", at the end of the year of death"
                    : ", at the end of the 1/" + std::to_string(leg.frequency) + "-year of death";
    text += leg.term == 0 ? ", for life" : ", for " + Years(leg.term);
    if (leg.deferral > 0)
        text += ", deferred " + Years(leg.deferral);
    return text;
}

const char* ConventionText(FractionalAge fractional) {
    switch (fractional) {
    case FractionalAge::Udd:
        return "udd (uniform distribution of deaths)";
    case FractionalAge::Woolhouse2:
        return "woolhouse2 (Woolhouse, two terms)";
    case FractionalAge::Woolhouse3:
        return "woolhouse3 (Woolhouse, three terms)";
    }
    return "?";
}

std::string SecondLifeJson(const PriceInputs& inputs) {
    const SecondLife& second = *inputs.second;
    const bool fromFile = !inputs.secondTableFile.empty();
    std::string json = ",\"second_age\":" + std::to_string(second.life.issueAge);
    json += ",\"second_table\":" + (fromFile ? "null" : std::to_string(second.life.tableId));
    json += ",\"second_table_file\":" + (fromFile ? JsonText(inputs.secondTableFile) : "null");
    json += ",\"second_table_name\":" + JsonText(inputs.secondTableName);
    json += ",\"lives\":" + JsonText(LifeStatusName(second.status));
    json += std::string(",\"premium_status\":") +
            (second.premiumsLastSurvivor ? "\"last-survivor\"" : "\"joint\"");
    return json;
}

std::string SecondLifeText(const PriceInputs& inputs) {
    const SecondLife& second = *inputs.second;
    std::string text = Line("Second life", "age " + std::to_string(second.life.issueAge) +
                                               ", table " + inputs.secondTableName);
    const char* status = "";
    switch (second.status) {
    case LifeStatus::Joint:
        status = "joint: while both are alive, or on the first death";
        break;
    case LifeStatus::LastSurvivor:
        status = "last-survivor: while either is alive, or on the second death";
        break;
    case LifeStatus::Reversionary:
        status = "reversionary: to the second life after the first life's death";
        break;
    }
    text += Line("Benefits paid", status);
    text += Line("Premiums paid", second.premiumsLastSurvivor ? "while either life is alive"
                                                              : "while both lives are alive");
    text += Line("Policy values",
                 second.status == LifeStatus::Joint && !second.premiumsLastSurvivor
                     ? "to both lives alive at each duration"
                 : second.status == LifeStatus::Reversionary && !second.premiumsLastSurvivor
                     ? "to the second life alive at each duration"
                     : "to either life alive at each duration");
    return text;
}

std::string ExpensesJson(const Expenses& expenses, const GrossValues& gross) {
    return ",\"expenses\":{\"initial\":" + JsonNumber(expenses.initial) +
           ",\"initial_premium_percent\":" + JsonNumber(expenses.initialPremiumPercent) +
           ",\"renewal\":" + JsonNumber(expenses.renewal) +
           ",\"renewal_premium_percent\":" + JsonNumber(expenses.renewalPremiumPercent) +
           ",\"claim\":" + JsonNumber(expenses.claim) +
           "},\"expense_epv\":" + JsonNumber(gross.expenseEpv) +
           ",\"gross_premium\":" + JsonNumber(gross.premium);
}

std::string ExpensesText(const Expenses& expenses) {
    return "initial " + JsonNumber(expenses.initial) + ", " +
           JsonNumber(expenses.initialPremiumPercent) + "% of the first year's premiums, renewal " +
           JsonNumber(expenses.renewal) + " and " + JsonNumber(expenses.renewalPremiumPercent) +
           "% of later premiums, " + JsonNumber(expenses.claim) + " a claim";
}

} // namespace

std::string PriceJson(const PriceInputs& inputs, const PricedProduct& priced, std::size_t line) {
    const Valuation& value = priced.net;
    const PremiumLeg& premium = inputs.product.premium;
    std::string json = "{";
    if (line > 0)
        json += "\"line\":" + std::to_string(line) + ",";
    json += "\"age\":" + std::to_string(inputs.life.issueAge);
    json +=
        ",\"table\":" + (inputs.tableFile.empty() ? std::to_string(inputs.life.tableId) : "null");
    json += ",\"table_file\":" + (inputs.tableFile.empty() ? "null" : JsonText(inputs.tableFile));
    json += ",\"table_name\":" + JsonText(inputs.tableName);
    json += ",\"rate\":" + JsonNumber(inputs.basis.ratePercent);
    if (inputs.second)
        json += SecondLifeJson(inputs);
    json += ",\"fractional\":" + JsonText(FractionalName(inputs.basis.fractional));
    json += ",\"benefits\":[";
    for (std::size_t i = 0; i < inputs.product.benefits.size(); ++i) {
        if (i > 0)
            json += ',';
        json += LegJson(inputs.product.benefits[i], value.legEpv[i]);
    }
    json += "],\"premium_term\":" +
            (premium.forLife ? std::string("\"life\"") : std::to_string(premium.term));
    json += ",\"premium_frequency\":" + std::to_string(premium.frequency);
    json += ",\"premium_given\":" + (premium.given ? JsonNumber(*premium.given) : "null");
    json += ",\"benefit_epv\":" + JsonNumber(value.benefitEpv);
    json += ",\"premium_annuity_epv\":" + JsonNumber(value.premiumAnnuityEpv);
    json += ",\"net_premium\":" + JsonNumber(value.netPremium);
    json += ",\"premium\":" + JsonNumber(value.premium);
    json += ExpensesJson(inputs.expenses, priced.gross);
    json += ",\"benefit_second_moment\":" + JsonNumber(value.benefitSecondMoment);
    json += ",\"benefit_sd\":" + JsonNumber(value.benefitSd);
    json += ",\"loss_sd\":" + JsonNumber(value.lossSd);
    if (inputs.policyValues) {
        json += ",\"policy_values\":[";
        for (std::size_t t = 0; t < value.policyValues.size(); ++t)
            json += (t > 0 ? ",{\"duration\":" : "{\"duration\":") + std::to_string(t) +
                    ",\"net\":" + JsonNumber(value.policyValues[t]) +
                    ",\"gross\":" + JsonNumber(priced.gross.policyValues[t]) + "}";
        json += "]";
    }
    return json + "}";
}

std::string PriceText(const PriceInputs& inputs, const PricedProduct& priced) {
    const Valuation& value = priced.net;
    const PremiumLeg& premium = inputs.product.premium;
    const bool gross = inputs.expenses.Any();
    std::string text = "Product\n";
    text += Line(inputs.second ? "First life" : "Life",
                 "age " + std::to_string(inputs.life.issueAge) + ", table " + inputs.tableName);
    if (inputs.second)
        text += SecondLifeText(inputs);
    text += Line("Interest rate", JsonNumber(inputs.basis.ratePercent) + "% a year");
    text += Line("Fractional ages", ConventionText(inputs.basis.fractional));
    for (std::size_t i = 0; i < inputs.product.benefits.size(); ++i) {
        text += "  Benefit " + std::to_string(i + 1) + ": " + LegText(inputs.product.benefits[i]) +
                "\n";
        text += Line("  EPV", Fixed(value.legEpv[i], 6, 20));
    }
    text += Line("Benefits, EPV", Fixed(value.benefitEpv, 6, 20));
    std::string paid = premium.forLife     ? "level, for life"
                       : premium.term == 0 ? "single, at issue"
                                           : "level, for " + Years(premium.term);
    if (premium.forLife || premium.term > 0)
        paid += premium.frequency == 1
                    ? ", yearly in advance"
                    : ", " + std::to_string(premium.frequency) + " a year in advance";
    text += Line("Premiums", paid);
    text += Line("Premium of 1 a year, EPV", Fixed(value.premiumAnnuityEpv, 6, 20));
    text += Line("Net premium", Fixed(value.netPremium, 6, 20));
    if (gross) {
        text += Line("Expenses", ExpensesText(inputs.expenses));
        text += Line("Expenses, EPV", Fixed(priced.gross.expenseEpv, 6, 20));
        text += Line("Gross premium", Fixed(priced.gross.premium, 6, 20));
    }
    if (premium.given)
        text += Line("Premium given", Fixed(*premium.given, 6, 20));
    text += Line("Benefits PV, second moment", Fixed(value.benefitSecondMoment, 6, 20));
    text += Line("Benefits PV, sd", Fixed(value.benefitSd, 6, 20));
    text += Line("Loss at issue, sd", Fixed(value.lossSd, 6, 20));
    if (inputs.policyValues) {
        text += "Policy values, just before the premium due at each duration\n";
        text += gross ? "  Duration   Age     Net policy value   Gross policy value\n"
                      : "  Duration   Age     Net policy value\n";
        for (std::size_t t = 0; t < value.policyValues.size(); ++t) {
            char row[96];
            std::snprintf(row, sizeof row, "  %8zu %5zu ", t,
                          static_cast<std::size_t>(inputs.life.issueAge) + t);
            text += row + Fixed(value.policyValues[t], 6, 20);
            if (gross)
                text += " " + Fixed(priced.gross.policyValues[t], 6, 20);
            text += "\n";
        }
    }
    return text;
}
