// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProductReport.h"

#include "DecimalText.h"
#include "ProductNames.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

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

} // namespace

std::string ReportLine(const char* label, const std::string& value) {
    char text[64];
    std::snprintf(text, sizeof text, "  %-28s", label);
    return text + value + "\n";
}

namespace {

std::string Line(const char* label, const std::string& value) {
    return ReportLine(label, value);
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

std::string RateText(double ratePercent) {
    if (ratePercent == 0.0)
        return "0";
    char text[40];
    const auto result =
        std::to_chars(text, text + sizeof text, ratePercent, std::chars_format::general);
    return std::string(text, result.ptr);
}

std::string SecondLifeReportText(const SecondLife& second, const std::string& tableName) {
    std::string text = ReportLine("Second life", "age " + std::to_string(second.life.issueAge) +
                                                     ", table " + tableName);
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
    text += ReportLine("Benefits paid", status);
    text += ReportLine("Premiums paid", second.premiumsLastSurvivor ? "while either life is alive"
                                                                    : "while both lives are alive");
    text += ReportLine("Policy values",
                       second.status == LifeStatus::Joint && !second.premiumsLastSurvivor
                           ? "to both lives alive at each duration"
                       : second.status == LifeStatus::Reversionary && !second.premiumsLastSurvivor
                           ? "to the second life alive at each duration"
                           : "to either life alive at each duration");
    return text;
}

std::string ExpensesReportText(const Expenses& expenses) {
    return "initial " + FullNumber(expenses.initial) + ", " +
           FullNumber(expenses.initialPremiumPercent) + "% of the first year's premiums, renewal " +
           FullNumber(expenses.renewal) + " and " + FullNumber(expenses.renewalPremiumPercent) +
           "% of later premiums, " + FullNumber(expenses.claim) + " a claim";
}

std::string ProductReportText(const Life& life, const Basis& basis, const Product& product,
                              const std::string& tableName, const Valuation& value,
                              bool withMoments, bool withPolicyValues, int selectPeriod,
                              const ReportAdditions& additions) {
    const PremiumLeg& premium = product.premium;
    const bool gross = additions.grossPolicyValues != nullptr;
    std::string text = "Product\n";
    text += Line(additions.secondLife.empty() ? "Life" : "First life",
                 "age " + std::to_string(life.issueAge) + ", table " + tableName);
    text += additions.secondLife;
    if (life.select)
        text += Line("Select", "select period " + std::to_string(selectPeriod) +
                                   " years, life selected at age " + std::to_string(life.issueAge));
    text += Line("Interest rate", RateText(basis.ratePercent) + "% a year");
    text += Line("Fractional ages", ConventionText(basis.fractional));
    for (std::size_t i = 0; i < product.benefits.size(); ++i) {
        text += "  Benefit " + std::to_string(i + 1) + ": " + LegText(product.benefits[i]) + "\n";
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
        text += Line("Expenses", additions.expenses);
        text += Line("Expenses, EPV", Fixed(additions.expenseEpv, 6, 20));
        text += Line("Gross premium", Fixed(additions.grossPremium, 6, 20));
    }
    if (premium.given)
        text += Line("Premium given", Fixed(*premium.given, 6, 20));
    if (withMoments) {
        text += Line("Benefits PV, second moment", Fixed(value.benefitSecondMoment, 6, 20));
        text += Line("Benefits PV, sd", Fixed(value.benefitSd, 6, 20));
        text += Line("Loss at issue, sd", Fixed(value.lossSd, 6, 20));
    }
    if (withPolicyValues) {
        text += "Policy values, just before the premium due at each duration\n";
        text += gross ? "  Duration   Age     Net policy value   Gross policy value\n"
                      : "  Duration   Age     Net policy value\n";
        for (std::size_t t = 0; t < value.policyValues.size(); ++t) {
            char row[96];
            std::snprintf(row, sizeof row, "  %8zu %5zu ", t,
                          static_cast<std::size_t>(life.issueAge) + t);
            text += row + Fixed(value.policyValues[t], 6, 20);
            if (gross)
                text += " " + Fixed((*additions.grossPolicyValues)[t], 6, 20);
            text += "\n";
        }
    }
    return text;
}
