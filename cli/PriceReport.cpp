// SPDX-License-Identifier: GPL-3.0-or-later
#include "PriceReport.h"

#include "DecimalText.h"
#include "JsonReport.h"
#include "ProductNames.h"
#include "ProductReport.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// A number as FullNumber writes it; null when not finite, which JSON cannot hold.
std::string JsonNumber(double value) {
    return std::isfinite(value) ? FullNumber(value) : "null";
}

std::string LegJson(const BenefitLeg& leg, double epv) {
    return std::string("{\"kind\":") + JsonString(LegKindName(leg.kind)) +
           ",\"amount\":" + JsonNumber(leg.amount) + ",\"term\":" + std::to_string(leg.term) +
           ",\"deferral\":" + std::to_string(leg.deferral) +
           ",\"timing\":" + JsonString(TimingName(leg.timing)) +
           ",\"frequency\":" + std::to_string(leg.frequency) + ",\"epv\":" + JsonNumber(epv) + "}";
}

std::string SecondLifeJson(const PriceInputs& inputs) {
    const SecondLife& second = *inputs.second;
    const bool fromFile = !inputs.secondTableFile.empty();
    std::string json = ",\"second_age\":" + std::to_string(second.life.issueAge);
    json += ",\"second_table\":" + (fromFile ? "null" : std::to_string(second.life.tableId));
    json += ",\"second_table_file\":" + (fromFile ? JsonString(inputs.secondTableFile) : "null");
    json += ",\"second_table_name\":" + JsonString(inputs.secondTableName);
    json += ",\"lives\":" + JsonString(LifeStatusName(second.status));
    json += std::string(",\"premium_status\":") +
            (second.premiumsLastSurvivor ? "\"last-survivor\"" : "\"joint\"");
    return json;
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
    json += ",\"table_file\":" + (inputs.tableFile.empty() ? "null" : JsonString(inputs.tableFile));
    json += ",\"table_name\":" + JsonString(inputs.tableName);
    json += inputs.life.select
                ? ",\"select\":true,\"select_period\":" + std::to_string(inputs.selectPeriod)
                : std::string(",\"select\":false,\"select_period\":null");
    json += ",\"rate\":" + JsonNumber(inputs.basis.ratePercent);
    if (inputs.second)
        json += SecondLifeJson(inputs);
    json += ",\"fractional\":" + JsonString(FractionalName(inputs.basis.fractional));
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
    ReportAdditions additions;
    if (inputs.second)
        additions.secondLife = SecondLifeReportText(*inputs.second, inputs.secondTableName);
    if (inputs.expenses.Any()) {
        additions.expenses = ExpensesReportText(inputs.expenses);
        additions.expenseEpv = priced.gross.expenseEpv;
        additions.grossPremium = priced.gross.premium;
        additions.grossPolicyValues = &priced.gross.policyValues;
    }
    return ProductReportText(inputs.life, inputs.basis, inputs.product, inputs.tableName,
                             priced.net, true, inputs.policyValues, inputs.selectPeriod, additions);
}
