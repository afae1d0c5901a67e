// SPDX-License-Identifier: GPL-3.0-or-later
// A product's cash flows as values by policy year: what falls in year t, valued at t to a
// life alive at t. Every EPV and every policy value is built from these.
#pragma once

#include "Basis.h"
#include "LifeColumns.h"
#include "Product.h"

#include <vector>

// Year t runs from duration t to t + 1. An amount due at duration t (an annuity-due's
// payment, a pure endowment) belongs to year t; one paid during or at the end of the year
// (a death benefit, an annuity-immediate's payment) too, discounted to t.
struct YearValues {
    std::vector<double> benefit; // benefits of all legs, t = 0..years
    std::vector<double> premium; // a premium of 1 a year, t = 0..years
    std::vector<double> legEpv;  // each leg's EPV at issue, sum of tE_x times its year values
};

// The value at t, to a life alive at t, of 1 a year paid `frequency` times within year t.
class YearAnnuity {
public:
    YearAnnuity(const LifeColumns& columns, FractionalAge fractional, int frequency);
    double Advance(int t) const; // P / m at t, t + 1/m, ..., t + (m - 1)/m
    double Arrears(int t) const; // P / m at t + 1/m, ..., t + 1
    // Of 1 paid at the end of the 1/m-year of death, per unit of q(x + t): deaths uniform
    // over the year, so v i / i^(m), summed as (1/m) sum over j = 1..m of v^(j/m).
    double DeathFactor() const { return m_death; }
    // Of 1 paid at the end of the 1/m-year in which the status fails during year t, to a
    // status alive at t: q(x + t) DeathFactor() for one life.
    double Death(int t) const;

private:
    const LifeColumns& m_columns;
    FractionalAge m_fractional;
    int m_m;
    double m_dueSum = 1.0;   // (1/m) sum over j = 0..m-1 of v^(j/m)
    double m_dueSlope = 0.0; // (1/m) sum over j = 0..m-1 of (j/m) v^(j/m)
    double m_death = 0.0;
    double m_dueSquare = 0.0;   // (1/m) sum over j = 0..m-1 of (j/m)^2 v^(j/m): two lives
    double m_deathSquare = 0.0; // sum over j = 1..m of ((j/m)^2 - ((j-1)/m)^2) v^(j/m)
};

YearValues ComputeYearValues(const LifeColumns& columns, const Basis& basis, const Product& product,
                             int premiumYears);
