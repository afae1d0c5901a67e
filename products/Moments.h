// SPDX-License-Identifier: GPL-3.0-or-later
// The spread of a product's present values over the curtate time of death.
#pragma once

#include "LifeColumns.h"
#include "Product.h"

#include <limits>

struct Moments {
    double benefitSecondMoment = std::numeric_limits<double>::quiet_NaN(); // E[PV(benefits)^2]
    double benefitSd = std::numeric_limits<double>::quiet_NaN();           // its standard deviation
    double lossSd =
        std::numeric_limits<double>::quiet_NaN(); // of PV(benefits) - premium PV(premiums)
};

// Sums over K, the whole years lived after issue: K = k for k < columns.years with
// probability kp_x - (k+1)p_x, and K >= columns.years (alive at the product's end) with
// probability of that survival. Defined only for yearly legs: the benefits' moments when every
// benefit leg is yearly, the loss's when the premiums are yearly too; NaN otherwise. The
// spreads are taken about the means the valuation found: the benefits' EPV, and that less
// the premium times the premiums' EPV.
Moments ComputeMoments(const LifeColumns& columns, const Product& product, int premiumYears,
                       double premium, double benefitMean, double lossMean);
