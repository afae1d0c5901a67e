// SPDX-License-Identifier: GPL-3.0-or-later
#include "LifeColumns.h"

#include <cmath>

namespace {

// p(y) = l(y + 1) / l(y) for an age y within the table; 0 where nobody is alive at y.
double OneYearSurvival(const RegisteredTable& table, int age) {
    const double living = table.Living(age);
    return living > 0.0 ? table.Living(age + 1) / living : 0.0;
}

} // namespace

LifeColumns ComputeLifeColumns(const RegisteredTable& table, int issueAge, double ratePercent,
                               int years, bool withSlope) {
    LifeColumns columns;
    columns.years = years;
    columns.v = 100.0 / (100.0 + ratePercent);
    columns.delta = std::log1p(ratePercent / 100.0);
    const std::size_t size = static_cast<std::size_t>(years) + 1;
    columns.survival.resize(size);
    columns.oneYear.resize(size - 1);
    columns.discount.resize(size);
    const double atIssue = table.Living(issueAge);
    for (int t = 0; t <= years; ++t) {
        columns.survival[t] = table.Living(issueAge + t) / atIssue;
        // v^t by powers of v^16 and a product within each run of 16 years: a few powers
        // instead of one a year, each value within a few units in the last place of v^t.
        columns.discount[t] = t % 16 == 0 ? std::pow(columns.v, static_cast<double>(t))
                                          : columns.discount[t - 1] * columns.v;
        if (t < years)
            columns.oneYear[t] = OneYearSurvival(table, issueAge + t);
    }
    if (!withSlope)
        return columns;
    columns.slope.resize(size);
    for (int t = 0; t <= years; ++t) {
        const int age = issueAge + t;
        const double lnHere =
            age <= table.lastAge ? std::log(OneYearSurvival(table, age)) : -INFINITY;
        const double mu = age == table.firstAge
                              ? -lnHere
                              : -0.5 * (std::log(OneYearSurvival(table, age - 1)) + lnHere);
        columns.slope[t] = std::isfinite(mu) ? columns.delta + mu : 0.0;
    }
    return columns;
}
