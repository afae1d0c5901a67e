// SPDX-License-Identifier: GPL-3.0-or-later
// A mortality table read from a user's file: its name and q(x) or l(x) by age.
#pragma once

#include <string>
#include <vector>

// Ages a table file may hold, in completed years.
constexpr int kTableFirstAllowedAge = 0;
constexpr int kTableLastAllowedAge = 150;
// l(x) at a table's first age when the file gives q(x).
constexpr double kTableRadix = 100000.0;

// The select rates of a select-and-ultimate table: for a life selected (accepted after
// underwriting) at issue age x, q[x]+s for the policy years s = 0..period - 1; the life
// follows the ultimate rates from age x + period on.
struct SelectRates {
    int period = 0;   // k, the select period in years; 0: the table has no select rates
    int firstAge = 0; // the issue age of rows[0]
    // rows[x - firstAge][s] is q[x]+s. A row may be shorter than period when the table ends
    // before the select period does: the life is then closed after its last rate.
    std::vector<std::vector<double>> rows;

    int LastAge() const { return firstAge + static_cast<int>(rows.size()) - 1; }
};

struct MortalityTableData {
    // What the file's column holds: probabilities of death q(x) within the year of age x, or
    // the numbers living l(x) at exact age x.
    enum class Kind { Q, L };

    std::string name;
    int firstAge = 0; // age of values[0]
    Kind kind = Kind::Q;
    std::vector<double> values; // one per age, first age to last age: the ultimate rates
                                // of a select-and-ultimate table
    SelectRates select;         // empty for a table by age alone (kind is Q when not)
    // Why the select rates of a select-and-ultimate file cannot be used ("" when they can or
    // when there are none); the ultimate rates serve as they are.
    std::string selectProblem;

    int LastAge() const { return firstAge + static_cast<int>(values.size()) - 1; }
};

// l(x) from the first age to the last age + 1. The table is closed after its last age:
// l(last + 1) = 0. From q, l(first) = 100000 and l(x + 1) = l(x) * (1 - q(x)); from l,
// the file's numbers as they stand.
std::vector<double> LivingByAge(const MortalityTableData& table);
