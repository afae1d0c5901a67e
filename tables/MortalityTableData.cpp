// SPDX-License-Identifier: GPL-3.0-or-later
#include "MortalityTableData.h"

std::vector<double> LivingByAge(const MortalityTableData& table) {
    std::vector<double> living;
    living.reserve(table.values.size() + 1);
    if (table.kind == MortalityTableData::Kind::L) {
        living = table.values;
    } else if (!table.values.empty()) {
        living.push_back(kTableRadix);
        for (std::size_t i = 0; i + 1 < table.values.size(); ++i)
            living.push_back(living.back() * (1.0 - table.values[i]));
    }
    living.push_back(0.0);
    return living;
}
