// SPDX-License-Identifier: GPL-3.0-or-later
// A product: benefit legs, each with its own amount, and a premium leg. Plain data.
//
// Times are in whole years from issue. A leg deferred U years starts U years after issue and
// its term of N years counts from then: it covers the policy years U..U + N - 1.
#pragma once

#include <optional>
#include <vector>

enum class LegKind {
    WholeLife,     // the amount at the end of the year (or 1/m-year) of death, for life
    Term,          // the same, for death within the term
    Endowment,     // Term, plus the amount on survival to the end of the term
    PureEndowment, // the amount on survival to the end of the term
    Annuity,       // the annual amount while alive, for life or for the term
};

// When an annuity's payments fall within each 1/m-year.
enum class Timing {
    Advance, // at its start (annuity-due)
    Arrears, // at its end, to a life still alive then (annuity-immediate)
};

struct BenefitLeg {
    LegKind kind = LegKind::WholeLife;
    double amount = 1.0; // death or survival benefit; for an annuity the amount a year, paid
                         // amount / frequency each time
    int term = 0;        // years from the leg's start; 0 for a life-long leg
    int deferral = 0;    // years from issue to the leg's start
    Timing timing = Timing::Advance; // annuities only
    int frequency = 1; // payments a year (1, 2, 4, 12); for death benefits, paid at the
                       // end of the 1/m-year of death
};

// Premiums are paid in advance while the life is alive: a single premium at issue (term 0),
// or a level annual premium P for `term` years, P / frequency each 1/frequency-year.
struct PremiumLeg {
    int term = 0;                // years of premiums; 0: a single premium
    bool forLife = false;        // premiums for as long as the life is alive and the product runs
    int frequency = 1;           // 1, 2, 4 or 12
    std::optional<double> given; // the annual premium of an existing policy; none: solved
};

struct Product {
    std::vector<BenefitLeg> benefits;
    PremiumLeg premium;
};

// The year after a leg's last: deferral + term, or the table's end (lastAge + 1 - issueAge)
// for a life-long leg. A pure endowment pays at this time.
int LegEnd(const BenefitLeg& leg, int yearsToTableEnd);
// The last leg's end: the policy values run from 0 to here.
int ProductEnd(const Product& product, int yearsToTableEnd);
// Years of premiums: 0 for a single premium, the product's end for premiums for life.
int PremiumYears(const Product& product, int yearsToTableEnd);
