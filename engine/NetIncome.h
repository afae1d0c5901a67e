// SPDX-License-Identifier: GPL-3.0-or-later
// One row of the distribution of the insurer's net income by age at death.
#pragma once

struct NetIncomeRow {
    int age;          // age at death; for the survivors' row, the age reached alive
    bool survivors;   // the row of those alive at the end of the term
    bool valuesShown; // false for a survivors' row past the table: probability only
    double probability;
    double undiscounted; // net income in money of the day
    double discounted;   // net income discounted to the start of the policy
};
