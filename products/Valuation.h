// SPDX-License-Identifier: GPL-3.0-or-later
// The value of a product on a life and a basis: a plain result of a pure function.
#pragma once

#include "Basis.h"
#include "Life.h"
#include "Product.h"
#include "TableRegistry.h"

#include <vector>

// Expected present values (EPV) are at issue, in the amounts' unit. A value that is not
// defined for the product is NaN (reports print it as null).
struct Valuation {
    std::vector<double> legEpv;     // each benefit leg's EPV, in the product's order
    double benefitEpv = 0.0;        // all legs together
    double premiumAnnuityEpv = 0.0; // of a premium of 1 a year (1 for a single premium)
    double netPremium = 0.0;        // benefitEpv / premiumAnnuityEpv: the equivalence premium
    double premium = 0.0;           // the premium valued: the given one, else netPremium
    // Over the curtate time of death, only when every benefit leg is yearly: the second
    // moment and standard deviation of the benefits' present value; and, when the premiums
    // are yearly too, the standard deviation of the loss at issue, PV(benefits) - premium
    // PV(premiums).
    double benefitSecondMoment = 0.0;
    double benefitSd = 0.0;
    double lossSd = 0.0;
    // tV, t = 0..the product's end, when asked for: the net policy value just before the
    // premium due at t, to a life alive at t (at the end, the amount then due).
    std::vector<double> policyValues;
};

// Values product on life and basis. The inputs must pass FindProductFault (ProductCheck.h);
// otherwise std::invalid_argument is thrown with its reason.
Valuation ValueProduct(const TableRegistry& tables, const Life& life, const Basis& basis,
                       const Product& product, bool withPolicyValues);
