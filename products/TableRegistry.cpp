// SPDX-License-Identifier: GPL-3.0-or-later
#include "TableRegistry.h"

#include "MortalityTables.h"

#include <algorithm>

namespace {

constexpr int kBuiltInLastAge = 106;

} // namespace

TableRegistry::TableRegistry() {
    for (int code = 1; code <= kTableCount; ++code) {
        RegisteredTable table;
        table.id = m_nextId++;
        table.name = MortalityTableOf(code).journalName;
        table.firstAge = 0;
        table.lastAge = kBuiltInLastAge;
        // float to double is exact: the same l the record reads; age 107 holds 0.
        const float* living = g_fLivingTables[code - 1];
        table.living.assign(living, living + kBuiltInLastAge + 1);
        table.living.push_back(0.0);
        m_tables.push_back(std::move(table));
    }
}

int TableRegistry::Add(const MortalityTableData& data) {
    RegisteredTable table;
    table.id = m_nextId++;
    table.name = data.name;
    // A control byte in the name would split the report line that names the table.
    std::replace_if(
        table.name.begin(), table.name.end(),
        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7f'; }, ' ');
    table.firstAge = data.firstAge;
    table.lastAge = data.LastAge();
    table.living = LivingByAge(data);
    if (data.select.period > 0) {
        table.select = data.select;
        table.ultimateQ = data.values;
    }
    table.selectProblem = data.selectProblem;
    m_tables.push_back(std::move(table));
    return m_tables.back().id;
}

void TableRegistry::Remove(int id) {
    if (id <= kTableCount)
        return;
    std::erase_if(m_tables, [id](const RegisteredTable& table) { return table.id == id; });
}

const RegisteredTable* TableRegistry::Find(int id) const {
    const auto found = std::find_if(m_tables.begin(), m_tables.end(),
                                    [id](const RegisteredTable& table) { return table.id == id; });
    return found == m_tables.end() ? nullptr : &*found;
}
