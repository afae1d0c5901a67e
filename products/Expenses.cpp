// SPDX-License-Identifier: GPL-3.0-or-later
#include "Expenses.h"

#include <cmath>

std::optional<std::string> FindExpensesFault(const Expenses& expenses) {
    const std::pair<const char*, double> amounts[] = {
        {"initial", expenses.initial},
        {"renewal", expenses.renewal},
        {"claim", expenses.claim},
    };
    for (const auto& [name, amount] : amounts)
        if (!(std::isfinite(amount) && amount >= 0.0))
            return std::string(name) + " must be a finite amount of 0 or more";
    const std::pair<const char*, double> percents[] = {
        {"initial-premium", expenses.initialPremiumPercent},
        {"renewal-premium", expenses.renewalPremiumPercent},
    };
    for (const auto& [name, percent] : percents)
        if (!(percent >= 0.0 && percent < 100.0))
            return std::string(name) + " must be a percent of the premium from 0 to below 100";
    return std::nullopt;
}

GrossValues ValueGross(const ProductFlows& flows, const Product& product, const Expenses& expenses,
                       const Valuation& net, bool withPolicyValues) {
    GrossValues gross;
    if (!expenses.Any()) {
        gross.premium = net.netPremium;
        if (withPolicyValues)
            gross.policyValues = net.policyValues;
        return gross;
    }
    const LifeColumns& columns = flows.columns;
    const int end = columns.years;
    const std::size_t size = static_cast<std::size_t>(end) + 1;
    // Expenses of fixed amounts, and the part of each year's premium that goes to expenses.
    std::vector<double> fixed(size, 0.0), loading(size, 0.0);
    double fixedEpv = 0.0, loadingEpv = 0.0;
    for (int t = 0; t <= end; ++t) {
        fixed[t] = expenses.claim * flows.claims[t];
        if (t == 0)
            fixed[t] += expenses.initial;
        else if (t < end)
            fixed[t] += expenses.renewal;
        const double percent =
            t == 0 ? expenses.initialPremiumPercent : expenses.renewalPremiumPercent;
        loading[t] = percent / 100.0 * flows.years.premium[t];
        const double endowment = columns.Endowment(t);
        fixedEpv += endowment * fixed[t];
        loadingEpv += endowment * loading[t];
    }
    gross.premium = (net.benefitEpv + fixedEpv) / (net.premiumAnnuityEpv - loadingEpv);
    const double valued = product.premium.given.value_or(gross.premium);
    gross.expenseEpv = fixedEpv + valued * loadingEpv;
    if (withPolicyValues) {
        std::vector<double> year(size);
        for (int t = 0; t <= end; ++t)
            year[t] =
                flows.years.benefit[t] + fixed[t] - valued * (flows.years.premium[t] - loading[t]);
        gross.policyValues = BackwardValues(columns, year);
    }
    return gross;
}
