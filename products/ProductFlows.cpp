// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProductFlows.h"

#include "Moments.h"
#include "SelectLife.h"

#include <algorithm>

namespace {

// The death legs of product with a benefit of 1 each: the number of claims by year.
Product ClaimsOf(const Product& product) {
    Product claims;
    claims.premium = product.premium;
    for (BenefitLeg leg : product.benefits) {
        if (leg.kind == LegKind::Annuity || leg.kind == LegKind::PureEndowment)
            continue;
        if (leg.kind == LegKind::Endowment)
            leg.kind = LegKind::Term;
        leg.amount = 1.0;
        claims.benefits.push_back(leg);
    }
    return claims;
}

} // namespace

bool NeedsSlope(const Basis& basis, const Product& product) {
    if (basis.fractional != FractionalAge::Woolhouse3)
        return false;
    return product.premium.frequency > 1 ||
           std::any_of(product.benefits.begin(), product.benefits.end(),
                       [](const BenefitLeg& leg) { return leg.frequency > 1; });
}

ProductFlows SingleLifeFlows(const TableRegistry& tables, const Life& life, const Basis& basis,
                             const Product& product, bool withClaims) {
    const LifeTable lifeTable(*tables.Find(life.tableId), life); // [x]+t for a select life
    const RegisteredTable& table = lifeTable.Get();
    const int toTableEnd = table.lastAge + 1 - life.issueAge;
    ProductFlows flows;
    flows.premiumYears = PremiumYears(product, toTableEnd);
    flows.columns = ComputeLifeColumns(table, life.issueAge, basis.ratePercent,
                                       ProductEnd(product, toTableEnd), NeedsSlope(basis, product));
    flows.years = ComputeYearValues(flows.columns, basis, product, flows.premiumYears);
    if (withClaims)
        flows.claims =
            ComputeYearValues(flows.columns, basis, ClaimsOf(product), flows.premiumYears).benefit;
    return flows;
}

std::vector<double> BackwardValues(const LifeColumns& columns, const std::vector<double>& net) {
    std::vector<double> values(static_cast<std::size_t>(columns.years) + 1);
    const int end = columns.years;
    values[end] = net[end];
    for (int t = end - 1; t >= 0; --t)
        values[t] = net[t] + columns.v * columns.oneYear[t] * values[t + 1];
    return values;
}

Valuation ValueFlows(const ProductFlows& flows, const Product& product, bool withPolicyValues) {
    const LifeColumns& columns = flows.columns;
    const YearValues& years = flows.years;
    const int end = columns.years;
    Valuation valuation;
    valuation.legEpv = years.legEpv;
    for (int t = 0; t <= end; ++t) {
        const double endowment = columns.Endowment(t);
        valuation.benefitEpv += endowment * years.benefit[t];
        valuation.premiumAnnuityEpv += endowment * years.premium[t];
    }
    valuation.netPremium = valuation.benefitEpv / valuation.premiumAnnuityEpv;
    valuation.premium = product.premium.given.value_or(valuation.netPremium);
    if (flows.withMoments) {
        const Moments moments = ComputeMoments(
            columns, product, flows.premiumYears, valuation.premium, valuation.benefitEpv,
            valuation.benefitEpv - valuation.premium * valuation.premiumAnnuityEpv);
        valuation.benefitSecondMoment = moments.benefitSecondMoment;
        valuation.benefitSd = moments.benefitSd;
        valuation.lossSd = moments.lossSd;
    } else {
        valuation.benefitSecondMoment = valuation.benefitSd = valuation.lossSd = Moments().lossSd;
    }
    if (withPolicyValues) {
        std::vector<double> net(static_cast<std::size_t>(end) + 1);
        for (int t = 0; t <= end; ++t)
            net[t] = years.benefit[t] - valuation.premium * years.premium[t];
        valuation.policyValues = BackwardValues(columns, net);
    }
    return valuation;
}
