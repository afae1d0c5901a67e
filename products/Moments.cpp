// SPDX-License-Identifier: GPL-3.0-or-later
#include "Moments.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The yearly cash flows of the benefits by the duration they fall at: paid at s to a life
// alive at s (annuity payments, pure endowments), and paid at k + 1 for death in year k.
struct YearlyFlows {
    std::vector<double> whenAlive; // s = 0..years
    std::vector<double> onDeath;   // k = 0..years - 1
};

YearlyFlows BenefitFlows(const Product& product, int years) {
    YearlyFlows flows{std::vector<double>(static_cast<std::size_t>(years) + 1, 0.0),
                      std::vector<double>(static_cast<std::size_t>(years), 0.0)};
    for (const BenefitLeg& leg : product.benefits) {
        const int end = LegEnd(leg, years);
        for (int t = leg.deferral; t < end; ++t) {
            if (leg.kind == LegKind::Annuity)
                flows.whenAlive[leg.timing == Timing::Advance ? t : t + 1] += leg.amount;
            else if (leg.kind != LegKind::PureEndowment)
                flows.onDeath[t] += leg.amount;
        }
        if (leg.kind == LegKind::Endowment || leg.kind == LegKind::PureEndowment)
            flows.whenAlive[end] += leg.amount;
    }
    return flows;
}

} // namespace

Moments ComputeMoments(const LifeColumns& columns, const Product& product, int premiumYears,
                       double premium, double benefitMean, double lossMean) {
    Moments moments;
    const auto yearly = [](const BenefitLeg& leg) { return leg.frequency == 1; };
    if (!std::all_of(product.benefits.begin(), product.benefits.end(), yearly))
        return moments;
    const int years = columns.years;
    const YearlyFlows flows = BenefitFlows(product, years);

    // Outcome k < years: death in year k; outcome years: alive at the product's end. One
    // pass, about the means the valuation found.
    double second = 0.0, benefitVariance = 0.0, lossVariance = 0.0;
    double alivePaid = 0.0, premiumsPaid = 0.0;
    const int premiumsDue = std::max(premiumYears, 1);
    for (int k = 0; k <= years; ++k) {
        alivePaid += columns.discount[k] * flows.whenAlive[k];
        if (k < premiumsDue)
            premiumsPaid += columns.discount[k];
        const bool died = k < years;
        const double weight =
            died ? columns.survival[k] - columns.survival[k + 1] : columns.survival[k];
        const double benefits =
            died ? alivePaid + columns.discount[k + 1] * flows.onDeath[k] : alivePaid;
        const double loss = benefits - premium * premiumsPaid;
        second += weight * benefits * benefits;
        benefitVariance += weight * (benefits - benefitMean) * (benefits - benefitMean);
        lossVariance += weight * (loss - lossMean) * (loss - lossMean);
    }
    moments.benefitSecondMoment = second;
    moments.benefitSd = std::sqrt(benefitVariance);
    if (product.premium.frequency == 1)
        moments.lossSd = std::sqrt(lossVariance);
    return moments;
}
