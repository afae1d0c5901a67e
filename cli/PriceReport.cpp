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

} // namespace

std::string PriceJson(const PriceInputs& inputs, const Valuation& value, std::size_t line) {
    const PremiumLeg& premium = inputs.product.premium;
    std::string json = "{";
    if (line > 0)
        json += "\"line\":" + std::to_string(line) + ",";
    json += "\"age\":" + std::to_string(inputs.life.issueAge);
    json +=
        ",\"table\":" + (inputs.tableFile.empty() ? std::to_string(inputs.life.tableId) : "null");
    json += ",\"table_file\":" + (inputs.tableFile.empty() ? "null" : JsonText(inputs.tableFile));
    json += ",\"table_name\":" + JsonText(inputs.tableName);
    json += inputs.life.select
                ? ",\"select\":true,\"select_period\":" + std::to_string(inputs.selectPeriod)
                : std::string(",\"select\":false,\"select_period\":null");
    json += ",\"rate\":" + JsonNumber(inputs.basis.ratePercent);
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
    json += ",\"benefit_second_moment\":" + JsonNumber(value.benefitSecondMoment);
    json += ",\"benefit_sd\":" + JsonNumber(value.benefitSd);
    json += ",\"loss_sd\":" + JsonNumber(value.lossSd);
    if (inputs.policyValues) {
        json += ",\"policy_values\":[";
        for (std::size_t t = 0; t < value.policyValues.size(); ++t)
            json += (t > 0 ? ",{\"duration\":" : "{\"duration\":") + std::to_string(t) +
                    ",\"net\":" + JsonNumber(value.policyValues[t]) + "}";
        json += "]";
    }
    return json + "}";
}

std::string PriceText(const PriceInputs& inputs, const Valuation& value) {
    const PremiumLeg& premium = inputs.product.premium;
    std::string text = "Product\n";
    text +=
        Line("Life", "age " + std::to_string(inputs.life.issueAge) + ", table " + inputs.tableName);
    if (inputs.life.select)
        text += Line("Select", "select period " + std::to_string(inputs.selectPeriod) +
                                   " years, life selected at age " +
                                   std::to_string(inputs.life.issueAge));
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
    if (premium.given)
        text += Line("Premium given", Fixed(*premium.given, 6, 20));
    text += Line("Benefits PV, second moment", Fixed(value.benefitSecondMoment, 6, 20));
    text += Line("Benefits PV, sd", Fixed(value.benefitSd, 6, 20));
    text += Line("Loss at issue, sd", Fixed(value.lossSd, 6, 20));
    if (inputs.policyValues) {
        text += "Policy values, just before the premium due at each duration\n";
        text += "  Duration   Age     Net policy value\n";
        for (std::size_t t = 0; t < value.policyValues.size(); ++t) {
            char row[96];
            std::snprintf(row, sizeof row, "  %8zu %5zu ", t,
                          static_cast<std::size_t>(inputs.life.issueAge) + t);
            text += row + Fixed(value.policyValues[t], 6, 20) + "\n";
        }
    }
    return text;
}
