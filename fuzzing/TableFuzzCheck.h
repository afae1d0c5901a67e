// SPDX-License-Identifier: GPL-3.0-or-later
// What the two table-reader targets check of every input: a refusal is one line naming
// the file; an accepted table keeps the reader's rules, closes with l = 0, and reads back
// the same when written out again.
#pragma once

#include "FuzzCheck.h"
#include "MortalityTableData.h"
#include "TableFormatError.h"

#include <charconv>
#include <cmath>
#include <string>

// A number as it reads back exactly: 17 significant digits, without the process locale.
inline std::string FuzzDigits(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17);
    return std::string(text, end.ptr);
}

inline void CheckRefusal(const TableFormatError& error, const std::string& path) {
    const std::string message = error.what();
    const std::string start = "Cannot use \"" + path + "\" as a mortality table: ";
    FUZZ_CHECK(message.compare(0, start.size(), start) == 0, "message: %s", message.c_str());
    FUZZ_CHECK(message.size() > start.size() + 1 && message.back() == '.', "message: %s",
               message.c_str());
    for (const char c : message)
        FUZZ_CHECK(static_cast<unsigned char>(c) >= 32 && c != 127,
                   "a control byte %d in the message", c);
}

inline void CheckTable(const MortalityTableData& table) {
    FUZZ_CHECK(!table.values.empty(), "a table without ages");
    FUZZ_CHECK(table.firstAge >= kTableFirstAllowedAge && table.LastAge() <= kTableLastAllowedAge,
               "ages %d to %d", table.firstAge, table.LastAge());
    for (std::size_t i = 0; i < table.values.size(); ++i) {
        const double value = table.values[i];
        if (table.kind == MortalityTableData::Kind::Q) {
            FUZZ_CHECK(value >= 0.0 && value <= 1.0, "q %.17g at index %zu", value, i);
        } else {
            const bool last = i + 1 == table.values.size();
            FUZZ_CHECK(std::isfinite(value) && (value > 0.0 || (last && value == 0.0)),
                       "l %.17g at index %zu", value, i);
            FUZZ_CHECK(i == 0 || value <= table.values[i - 1], "l rises at index %zu", i);
        }
    }
    const std::vector<double> living = LivingByAge(table);
    FUZZ_CHECK(living.size() == table.values.size() + 1, "%zu values of l", living.size());
    FUZZ_CHECK(living.back() == 0.0, "the table is not closed");
    if (table.kind == MortalityTableData::Kind::Q)
        FUZZ_CHECK(living.front() == kTableRadix, "l at the first age %.17g", living.front());
    for (std::size_t i = 0; i < living.size(); ++i) {
        FUZZ_CHECK(std::isfinite(living[i]) && living[i] >= 0.0, "l %.17g", living[i]);
        FUZZ_CHECK(i == 0 || living[i] <= living[i - 1], "l rises at index %zu", i);
    }
}

inline void CheckSameTable(const MortalityTableData& a, const MortalityTableData& b) {
    FUZZ_CHECK(a.kind == b.kind && a.firstAge == b.firstAge && a.values == b.values,
               "the table written out reads back differently");
}
