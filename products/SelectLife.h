// SPDX-License-Identifier: GPL-3.0-or-later
// A life selected at issue: the table of l it is valued on, built from a select-and-ultimate
// table's select rates for the select period and its ultimate rates after.
#pragma once

#include "Life.h"
#include "TableRegistry.h"

#include <optional>
#include <string>

// The issue ages a life may have on table: the select table's issue ages for a select life,
// the table's ages otherwise.
struct IssueAges {
    int first = 0;
    int last = 0;
};
IssueAges IssueAgesOf(const RegisteredTable& table, bool select);

// Why life cannot be valued as a select life on table (no select rates, an issue age outside
// the select table's), or nothing; nothing for an ultimate life.
std::optional<std::string> SelectFault(const RegisteredTable& table, const Life& life);

// The last age of the table life is valued on (LifeTable below), without building it.
int LastAgeOfLife(const RegisteredTable& table, const Life& life);

// The table life is valued on. An ultimate life uses table as it stands. A life selected at
// issue age x has a table of its own, l at its ages x + t: l(x) is the ultimate table's
// (100000 when x lies outside its ages), then l(x + t + 1) = l(x + t) (1 - q[x]+t) while
// t < k and l(x + t + 1) = l(x + t) (1 - q(x + t)) after, closed a year after its last age,
// as any table read from q is. So one-year survival at duration t is that of [x]+t, and a
// select table whose select rates equal its ultimate ones gives the ultimate l bit for bit.
// The table also holds the ultimate l(x - 1) where there is one, for the force of mortality
// at issue that Woolhouse's three-term formula takes from ages x - 1 and x.
// SelectFault(table, life) must be empty.
class LifeTable {
public:
    LifeTable(const RegisteredTable& table, const Life& life);

    const RegisteredTable& Get() const { return m_own ? *m_own : m_table; }

private:
    const RegisteredTable& m_table;
    std::optional<RegisteredTable> m_own; // for a select life
};
