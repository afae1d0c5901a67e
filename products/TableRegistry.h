// SPDX-License-Identifier: GPL-3.0-or-later
// Mortality tables by stable id for the product engine: the four built-in tables as ids 1..4,
// tables read from files after them. An id, once given, always names the same table.
#pragma once

#include "MortalityTableData.h"

#include <string>
#include <vector>

// One table: l(x), the number living at exact age x, for x = firstAge..lastAge + 1, closed
// with l(lastAge + 1) = 0 (nobody is alive a year after the last age).
struct RegisteredTable {
    int id = 0;
    std::string name; // as reports print it
    int firstAge = 0;
    int lastAge = 0;
    std::vector<double> living; // living[x - firstAge] is l(x)
    // A select-and-ultimate table's select rates (period 0 for any other table), and then
    // its ultimate q(x), x = firstAge..lastAge, from which living was built.
    SelectRates select;
    std::vector<double> ultimateQ;
    std::string selectProblem; // why a file's select table cannot be used, or ""

    double Living(int age) const { return living[static_cast<std::size_t>(age - firstAge)]; }
};

// A plain object: each front end holds its own, and nothing in it is shared between threads
// unless the holder shares it (reading from several threads at once is safe).
class TableRegistry {
public:
    // The built-in tables 1..4 (ages 0..106), their l as the calculation record reads them.
    TableRegistry();

    // Adds a table read from a file and returns its id (one more than the last given).
    // The file's name in data.name names it.
    int Add(const MortalityTableData& data);
    // Removes the table of id; the other ids stay as they are. Built-in tables stay.
    void Remove(int id);

    // The table of id, or nullptr when there is none.
    const RegisteredTable* Find(int id) const;

private:
    std::vector<RegisteredTable> m_tables; // in increasing id
    int m_nextId = 1;
};
