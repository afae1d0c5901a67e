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

// Standard deviation of the values by outcome, weighted by their probabilities.
double Spread(const std::vector<double>& values, const std::vector<double>& weights) {
    double mean = 0.0;
    for (std::size_t k = 0; k < values.size(); ++k)
        mean += weights[k] * values[k];
    double variance = 0.0;
    for (std::size_t k = 0; k < values.size(); ++k)
        variance += weights[k] * (values[k] - mean) * (values[k] - mean);
    return std::sqrt(variance);
}

} // namespace

Moments ComputeMoments(const LifeColumns& columns, const Product& product, int premiumYears,
                       double premium) {
    Moments moments;
    const auto yearly = [](const BenefitLeg& leg) { return leg.frequency == 1; };
    if (!std::all_of(product.benefits.begin(), product.benefits.end(), yearly))
        return moments;
    const int years = columns.years;
    const YearlyFlows flows = BenefitFlows(product, years);

    // Outcome k < years: death in year k; outcome years: alive at the product's end.
    std::vector<double> weights(static_cast<std::size_t>(years) + 1);
    std::vector<double> benefits(weights.size()), losses(weights.size());
    double alivePaid = 0.0, premiumsPaid = 0.0;
    for (int k = 0; k <= years; ++k) {
        alivePaid += columns.discount[k] * flows.whenAlive[k];
        if (k < std::max(premiumYears, 1))
            premiumsPaid += columns.discount[k];
        if (k < years) {
            weights[k] = columns.survival[k] - columns.survival[k + 1];
            benefits[k] = alivePaid + columns.discount[k + 1] * flows.onDeath[k];
        } else {
            weights[k] = columns.survival[k];
            benefits[k] = alivePaid;
        }
        losses[k] = benefits[k] - premium * premiumsPaid;
    }
    moments.benefitSecondMoment = 0.0;
    for (std::size_t k = 0; k < weights.size(); ++k)
        moments.benefitSecondMoment += weights[k] * benefits[k] * benefits[k];
    moments.benefitSd = Spread(benefits, weights);
    if (product.premium.frequency == 1)
        moments.lossSd = Spread(losses, weights);
    return moments;
}
