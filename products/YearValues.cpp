// SPDX-License-Identifier: GPL-3.0-or-later
#include "YearValues.h"

#include <cmath>

YearAnnuity::YearAnnuity(const LifeColumns& columns, FractionalAge fractional, int frequency)
    : m_columns(columns), m_fractional(fractional), m_m(frequency) {
    const double m = frequency;
    if (frequency > 1) {
        m_dueSum = 0.0;
        for (int j = 0; j < frequency; ++j) {
            const double factor = std::pow(columns.v, j / m);
            m_dueSum += factor / m;
            m_dueSlope += (j / m) * factor / m;
            m_dueSquare += (j / m) * (j / m) * factor / m;
        }
    }
    for (int j = 1; j <= frequency; ++j) {
        const double factor = std::pow(columns.v, j / m);
        m_death += factor / m;
        m_deathSquare += ((j / m) * (j / m) - ((j - 1) / m) * ((j - 1) / m)) * factor;
    }
}

double YearAnnuity::Death(int t) const {
    const double q = 1.0 - m_columns.oneYear[t];
    if (m_columns.withinSquare.empty())
        return q * m_death;
    const double square = m_columns.withinSquare[t];
    return (q - square) * m_death + square * m_deathSquare;
}

double YearAnnuity::Advance(int t) const {
    if (m_m == 1)
        return 1.0;
    const double m = m_m;
    const double p = m_columns.oneYear[t];
    switch (m_fractional) {
    case FractionalAge::Udd:
        // l linear over the year: the payment at t + j/m reaches a life alive at t with
        // probability 1 - (j/m) q.
        if (!m_columns.withinSquare.empty()) {
            const double square = m_columns.withinSquare[t];
            return m_dueSum - (1.0 - p - square) * m_dueSlope - square * m_dueSquare;
        }
        return m_dueSum - (1.0 - p) * m_dueSlope;
    case FractionalAge::Woolhouse2:
        return 1.0 - (m - 1.0) / (2.0 * m) * (1.0 - m_columns.v * p);
    case FractionalAge::Woolhouse3:
        return 1.0 - (m - 1.0) / (2.0 * m) * (1.0 - m_columns.v * p) -
               (m * m - 1.0) / (12.0 * m * m) *
                   (m_columns.slope[t] - m_columns.v * p * m_columns.slope[t + 1]);
    }
    return NAN;
}

double YearAnnuity::Arrears(int t) const {
    const double vp = m_columns.v * m_columns.oneYear[t];
    if (m_m == 1)
        return vp;
    return Advance(t) - (1.0 - vp) / m_m;
}

namespace {

// Adds value(t) * amount to the years [from, to) and returns the leg's EPV at issue.
template <class Value>
double AddYears(const LifeColumns& columns, std::vector<double>& years, int from, int to,
                double amount, Value value) {
    double epv = 0.0;
    for (int t = from; t < to; ++t) {
        const double inYear = amount * value(t);
        years[t] += inYear;
        epv += columns.Endowment(t) * inYear;
    }
    return epv;
}

} // namespace

YearValues ComputeYearValues(const LifeColumns& columns, const Basis& basis, const Product& product,
                             int premiumYears) {
    YearValues values;
    const std::size_t size = static_cast<std::size_t>(columns.years) + 1;
    values.benefit.assign(size, 0.0);
    values.premium.assign(size, 0.0);
    for (const BenefitLeg& leg : product.benefits) {
        const YearAnnuity annuity(columns, basis.fractional, leg.frequency);
        const int start = leg.deferral;
        const int end = LegEnd(leg, columns.years);
        double epv = 0.0;
        switch (leg.kind) {
        case LegKind::WholeLife:
        case LegKind::Term:
        case LegKind::Endowment: {
            epv = AddYears(columns, values.benefit, start, end, leg.amount,
                           [&](int t) { return annuity.Death(t); });
            break;
        }
        case LegKind::Annuity:
            epv = AddYears(columns, values.benefit, start, end, leg.amount, [&](int t) {
                return leg.timing == Timing::Advance ? annuity.Advance(t) : annuity.Arrears(t);
            });
            break;
        case LegKind::PureEndowment:
            break;
        }
        if (leg.kind == LegKind::Endowment || leg.kind == LegKind::PureEndowment) {
            values.benefit[end] += leg.amount;
            epv += columns.Endowment(end) * leg.amount;
        }
        values.legEpv.push_back(epv);
    }
    if (premiumYears == 0) {
        values.premium[0] = 1.0;
    } else {
        const YearAnnuity annuity(columns, basis.fractional, product.premium.frequency);
        AddYears(columns, values.premium, 0, premiumYears, 1.0,
                 [&](int t) { return annuity.Advance(t); });
    }
    return values;
}
