// SPDX-License-Identifier: GPL-3.0-or-later
// Expenses, the gross premium that meets them and the gross premium policy values.
#pragma once

#include "ProductFlows.h"

#include <optional>
#include <string>
#include <vector>

struct Expenses {
    double initial = 0.0;               // at issue
    double initialPremiumPercent = 0.0; // of the premiums of the first policy year
    double renewal = 0.0;               // at the start of each policy year from the second
    double renewalPremiumPercent = 0.0; // of every premium from the second policy year
    double claim = 0.0;                 // with every death benefit paid

    bool Any() const {
        return initial != 0.0 || initialPremiumPercent != 0.0 || renewal != 0.0 ||
               renewalPremiumPercent != 0.0 || claim != 0.0;
    }
};

// The first amount that cannot be valued (amounts finite and 0 or more, percents below 100),
// as "renewal-premium: ..."; none when all can.
std::optional<std::string> FindExpensesFault(const Expenses& expenses);

struct GrossValues {
    double expenseEpv = 0.0;          // of the expenses, at the premium valued (given, else G)
    double premium = 0.0;             // G by the equivalence principle on the expense-loaded basis
    std::vector<double> policyValues; // when asked for: tV with expenses, at G or the given one
};

// With no expenses the gross premium and policy values are the net ones, bit for bit.
// Renewal expenses fall at the durations 1..end - 1 while the status is in force.
GrossValues ValueGross(const ProductFlows& flows, const Product& product, const Expenses& expenses,
                       const Valuation& net, bool withPolicyValues);
