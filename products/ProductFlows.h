// SPDX-License-Identifier: GPL-3.0-or-later
// A product's flows by policy year on the status that keeps it in force (one life, or two
// lives together), and the net valuation built from them.
#pragma once

#include "Basis.h"
#include "Life.h"
#include "LifeColumns.h"
#include "Product.h"
#include "TableRegistry.h"
#include "Valuation.h"
#include "YearValues.h"

#include <vector>

struct ProductFlows {
    LifeColumns columns;        // of the status in force: survival, one-year survival, discount
    YearValues years;           // benefits and a premium of 1 a year, to the status alive at t
    std::vector<double> claims; // death benefits paid in year t, by number (a claim of 1 each)
    int premiumYears = 0;
    bool withMoments = true; // one status pays benefits and premiums: the moments are defined
};

// The flows of product on one life ([x]+t for a select life); claims only when withClaims
// (claim expenses need them). Inputs free of faults.
ProductFlows SingleLifeFlows(const TableRegistry& tables, const Life& life, const Basis& basis,
                             const Product& product, bool withClaims);

// Whether the basis needs mu (Woolhouse's third term) for any payment of product.
bool NeedsSlope(const Basis& basis, const Product& product);

// The net valuation from the flows: for one life the same numbers as ValueProduct, bit for
// bit. Policy values are to the status in force at t.
Valuation ValueFlows(const ProductFlows& flows, const Product& product, bool withPolicyValues);

// tV by one backward recursion from the end: tV = net[t] + v p(t) (t+1)V, net[t] the value
// at t of the year's flows, to the status alive at t.
std::vector<double> BackwardValues(const LifeColumns& columns, const std::vector<double>& net);
