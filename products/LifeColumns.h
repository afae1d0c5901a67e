// SPDX-License-Identifier: GPL-3.0-or-later
// The columns every value of a product is built from, each computed once: survival and
// discount from issue, one-year survival, and the Woolhouse slope delta + mu.
#pragma once

#include "Basis.h"
#include "TableRegistry.h"

#include <vector>

// Index t is the policy duration in whole years, the life then aged issueAge + t.
struct LifeColumns {
    int years = 0;                // the columns cover durations 0..years
    double v = 1.0;               // 100 / (100 + rate): one year's discount
    double delta = 0.0;           // ln(1 + rate / 100): the force of interest
    std::vector<double> survival; // tp_x = l(x + t) / l(x), t = 0..years
    std::vector<double> oneYear;  // p(x + t) = l(x + t + 1) / l(x + t) (0 when l is 0), t < years
    std::vector<double> discount; // v^t = pow(v, t), t = 0..years
    std::vector<double> slope;    // delta + mu(x + t), 0 where mu is not finite, t = 0..years;
                                  // filled only when asked for
    // Two lives only: within year t the status survives to t + s with probability
    // 1 - s c1 - s^2 c2, each life's deaths uniform over the year; this is c2, and
    // c1 = 1 - oneYear - c2. Empty for one life (c2 = 0, c1 = q).
    std::vector<double> withinSquare;

    double Endowment(int t) const { return discount[t] * survival[t]; } // tE_x
};

// The columns for a life aged issueAge on table, for durations 0..years (issueAge + years at
// most lastAge + 1). mu(y) = -(ln p(y - 1) + ln p(y)) / 2, or -ln p(y) at the table's first
// age; at the table's last age p is 0 and the slope is 0, which leaves Woolhouse's formula
// its two terms there.
LifeColumns ComputeLifeColumns(const RegisteredTable& table, int issueAge, double ratePercent,
                               int years, bool withSlope);
