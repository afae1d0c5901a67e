// SPDX-License-Identifier: GPL-3.0-or-later
#include "Valuation.h"

#include "LifeColumns.h"
#include "Moments.h"
#include "ProductCheck.h"
#include "SelectLife.h"
#include "YearValues.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

bool NeedsSlope(const Basis& basis, const Product& product) {
    if (basis.fractional != FractionalAge::Woolhouse3)
        return false;
    return product.premium.frequency > 1 ||
           std::any_of(product.benefits.begin(), product.benefits.end(),
                       [](const BenefitLeg& leg) { return leg.frequency > 1; });
}

// tV by one backward recursion from the end: tV = (benefits of year t) - P (premiums of
// year t) + v p(x + t) (t+1)V.
std::vector<double> PolicyValues(const LifeColumns& columns, const YearValues& years,
                                 double premium) {
    std::vector<double> values(static_cast<std::size_t>(columns.years) + 1);
    const int end = columns.years;
    values[end] = years.benefit[end] - premium * years.premium[end];
    for (int t = end - 1; t >= 0; --t)
        values[t] = years.benefit[t] - premium * years.premium[t] +
                    columns.v * columns.oneYear[t] * values[t + 1];
    return values;
}

} // namespace

Valuation ValueProduct(const TableRegistry& tables, const Life& life, const Basis& basis,
                       const Product& product, bool withPolicyValues) {
    if (const auto fault = FindProductFault(tables, life, basis, product))
        throw std::invalid_argument(fault->reason);
    const LifeTable lifeTable(*tables.Find(life.tableId), life); // [x]+t for a select life
    const RegisteredTable& table = lifeTable.Get();
    const int toTableEnd = table.lastAge + 1 - life.issueAge;
    const int end = ProductEnd(product, toTableEnd);
    const LifeColumns columns = ComputeLifeColumns(table, life.issueAge, basis.ratePercent, end,
                                                   NeedsSlope(basis, product));
    const YearValues years =
        ComputeYearValues(columns, basis, product, PremiumYears(product, toTableEnd));

    Valuation valuation;
    valuation.legEpv = years.legEpv;
    for (int t = 0; t <= end; ++t) {
        const double endowment = columns.Endowment(t);
        valuation.benefitEpv += endowment * years.benefit[t];
        valuation.premiumAnnuityEpv += endowment * years.premium[t];
    }
    valuation.netPremium = valuation.benefitEpv / valuation.premiumAnnuityEpv;
    valuation.premium = product.premium.given.value_or(valuation.netPremium);

    const Moments moments =
        ComputeMoments(columns, product, PremiumYears(product, toTableEnd), valuation.premium,
                       valuation.benefitEpv,
                       valuation.benefitEpv - valuation.premium * valuation.premiumAnnuityEpv);
    valuation.benefitSecondMoment = moments.benefitSecondMoment;
    valuation.benefitSd = moments.benefitSd;
    valuation.lossSd = moments.lossSd;
    if (withPolicyValues)
        valuation.policyValues = PolicyValues(columns, years, valuation.premium);
    return valuation;
}
