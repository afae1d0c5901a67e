// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed-pitch report of a valued product, which tabulon-cli price prints and the desktop
// journal appends.
#pragma once

#include "Basis.h"
#include "Expenses.h"
#include "Life.h"
#include "Product.h"
#include "TwoLives.h"
#include "Valuation.h"

#include <string>
#include <vector>

// What the report adds for a second life and for expenses.
struct ReportAdditions {
    std::string secondLife; // its lines, after the first life's ("": one life)
    std::string expenses;   // the expenses in words, when grossPolicyValues is given
    double expenseEpv = 0;
    double grossPremium = 0;
    const std::vector<double>* grossPolicyValues = nullptr; // by duration; nullptr: no expenses
};

// ReportAdditions::secondLife for second on the table named tableName: its age and table,
// the status that pays the benefits, the one that pays the premiums and the life the
// policy values are held for.
std::string SecondLifeReportText(const SecondLife& second, const std::string& tableName);
// ReportAdditions::expenses: the five expenses in words.
std::string ExpensesReportText(const Expenses& expenses);

// The report as lines of fixed-pitch text, each ended by a line feed: the life, the basis
// with its fractional-age convention (always named), each leg and its EPV, the premiums, the
// spread of the present values when withMoments, and the policy values by duration when
// withPolicyValues (value must then hold them).
std::string ProductReportText(const Life& life, const Basis& basis, const Product& product,
                              const std::string& tableName, const Valuation& value,
                              bool withMoments, bool withPolicyValues, int selectPeriod = 0,
                              const ReportAdditions& additions = {});

// One labelled line of the report ("  Label    value\n").
std::string ReportLine(const char* label, const std::string& value);

// A rate in percent as the report prints it: the shortest digits that read back as the
// same double ("5", "3.25"), without the process locale.
std::string RateText(double ratePercent);
