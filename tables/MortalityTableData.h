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

struct MortalityTableData {
    // What the file's column holds: probabilities of death q(x) within the year of age x, or
    // the numbers living l(x) at exact age x.
    enum class Kind { Q, L };

    std::string name;
    int firstAge = 0; // age of values[0]
    Kind kind = Kind::Q;
    std::vector<double> values; // one per age, first age to last age

    int LastAge() const { return firstAge + static_cast<int>(values.size()) - 1; }
};

// l(x) from the first age to the last age + 1. The table is closed after its last age:
// l(last + 1) = 0. From q, l(first) = 100000 and l(x + 1) = l(x) * (1 - q(x)); from l,
// the file's numbers as they stand.
std::vector<double> LivingByAge(const MortalityTableData& table);
