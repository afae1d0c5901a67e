// SPDX-License-Identifier: GPL-3.0-or-later
// The valuation basis: an interest rate and the convention for fractional ages.
#pragma once

// How payments made m times a year are valued between integer ages. Each is named on every
// report, as they give different values.
enum class FractionalAge {
    // Uniform distribution of deaths between integer ages: l is linear over each year of
    // age, and the payments of each year are summed exactly on it.
    Udd,
    // Woolhouse's formula to two terms: a-due(m) = a-due - (m - 1) / 2m (E_start - E_end).
    Woolhouse2,
    // Woolhouse's formula to three terms: also - (m^2 - 1) / 12m^2 (E_start (delta + mu_start)
    // - E_end (delta + mu_end)), mu from the table as -(ln p(x - 1) + ln p(x)) / 2.
    Woolhouse3,
};

struct Basis {
    double ratePercent = 5.0; // effective annual interest rate in percent, 0..100
    FractionalAge fractional = FractionalAge::Udd;
};
