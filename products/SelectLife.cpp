// SPDX-License-Identifier: GPL-3.0-or-later
#include "SelectLife.h"

IssueAges IssueAgesOf(const RegisteredTable& table, bool select) {
    if (select && table.select.period > 0)
        return {table.select.firstAge, table.select.LastAge()};
    return {table.firstAge, table.lastAge};
}

std::optional<std::string> SelectFault(const RegisteredTable& table, const Life& life) {
    if (!life.select)
        return std::nullopt;
    if (table.select.period == 0)
        return "the table " + table.name + " has no select rates";
    const IssueAges ages = IssueAgesOf(table, true);
    if (life.issueAge < ages.first || life.issueAge > ages.last)
        return "the age lies outside the select table's issue ages " + std::to_string(ages.first) +
               ".." + std::to_string(ages.last);
    return std::nullopt;
}

int LastAgeOfLife(const RegisteredTable& table, const Life& life) {
    if (!life.select)
        return table.lastAge;
    const SelectRates& rates = table.select;
    const int x = life.issueAge;
    const int selectYears =
        static_cast<int>(rates.rows[static_cast<std::size_t>(x - rates.firstAge)].size());
    const int ultimateAge = x + rates.period;
    if (selectYears == rates.period && ultimateAge >= table.firstAge &&
        ultimateAge <= table.lastAge)
        return table.lastAge;
    return x + selectYears - 1;
}

LifeTable::LifeTable(const RegisteredTable& table, const Life& life) : m_table(table) {
    if (!life.select)
        return;
    const SelectRates& rates = table.select;
    const int x = life.issueAge;
    const std::vector<double>& row = rates.rows[static_cast<std::size_t>(x - rates.firstAge)];
    const auto isUltimateAge = [&table](int age) {
        return age >= table.firstAge && age <= table.lastAge;
    };
    // Ages x..last, q[x]+t for the select years, then the ultimate q while the table runs.
    const int selectYears = static_cast<int>(row.size());
    const int last = LastAgeOfLife(table, life);
    const auto q = [&](int age) {
        const int t = age - x;
        return t < selectYears ? row[static_cast<std::size_t>(t)]
                               : table.ultimateQ[static_cast<std::size_t>(age - table.firstAge)];
    };

    RegisteredTable& own = m_own.emplace();
    own.id = table.id;
    own.name = table.name;
    const bool ultimateAtIssue = isUltimateAge(x) && table.Living(x) > 0.0;
    own.firstAge = ultimateAtIssue && isUltimateAge(x - 1) ? x - 1 : x;
    own.lastAge = last;
    own.living.reserve(static_cast<std::size_t>(last - own.firstAge) + 2);
    if (own.firstAge < x)
        own.living.push_back(table.Living(x - 1));
    own.living.push_back(ultimateAtIssue ? table.Living(x) : kTableRadix);
    for (int age = x; age < last; ++age)
        own.living.push_back(own.living.back() * (1.0 - q(age)));
    own.living.push_back(0.0);
}
