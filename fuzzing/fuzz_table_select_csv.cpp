// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a select-and-ultimate CSV table file made of arbitrary bytes. Properties:
//  - the reader accepts the bytes or refuses them with one line naming the file;
//  - an accepted table has a select period of at least one year, issue ages within 0 to
//    150, each row one to period rates in [0, 1], and ultimate rates that keep the rules of
//    a table by age from the first issue age + period on (closed by l = 0);
//  - the table written out as a select CSV reads back with the same rates.
#include "SelectCsvTable.h"
#include "TableFuzzCheck.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

void CheckSelectRates(const MortalityTableData& table) {
    const SelectRates& rates = table.select;
    FUZZ_CHECK(rates.period >= 1, "select period %d", rates.period);
    FUZZ_CHECK(!rates.rows.empty(), "no issue ages");
    FUZZ_CHECK(rates.firstAge >= kTableFirstAllowedAge && rates.LastAge() <= kTableLastAllowedAge,
               "issue ages %d to %d", rates.firstAge, rates.LastAge());
    FUZZ_CHECK(table.firstAge == rates.firstAge + rates.period, "ultimate from %d, select from %d",
               table.firstAge, rates.firstAge);
    FUZZ_CHECK(table.values.size() <= rates.rows.size(), "%zu ultimate rates for %zu issue ages",
               table.values.size(), rates.rows.size());
    for (std::size_t i = 0; i < rates.rows.size(); ++i) {
        const std::vector<double>& row = rates.rows[i];
        FUZZ_CHECK(!row.empty() && row.size() <= static_cast<std::size_t>(rates.period),
                   "%zu rates at issue age index %zu", row.size(), i);
        // A row cut short ends the table: no ultimate rate beside it.
        FUZZ_CHECK(row.size() == static_cast<std::size_t>(rates.period) || i >= table.values.size(),
                   "a short row at index %zu has an ultimate rate", i);
        for (const double q : row)
            FUZZ_CHECK(q >= 0.0 && q <= 1.0, "q[x]+s %.17g at index %zu", q, i);
    }
}

std::string WrittenOut(const MortalityTableData& table) {
    const SelectRates& rates = table.select;
    std::string written = "age";
    for (int j = 1; j <= rates.period; ++j)
        written += "," + std::to_string(j);
    written += ",ultimate\n";
    for (std::size_t i = 0; i < rates.rows.size(); ++i) {
        written += std::to_string(rates.firstAge + static_cast<int>(i));
        for (int s = 0; s < rates.period; ++s)
            written += "," + (static_cast<std::size_t>(s) < rates.rows[i].size()
                                  ? FuzzDigits(rates.rows[i][static_cast<std::size_t>(s)])
                                  : std::string());
        written += "," + (i < table.values.size() ? FuzzDigits(table.values[i]) : std::string());
        written += "\n";
    }
    return written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = "fuzz/select.csv";
    MortalityTableData table;
    try {
        table = ParseSelectCsvTable(bytes, path);
    } catch (const TableFormatError& error) {
        CheckRefusal(error, path);
        return 0;
    }
    FUZZ_CHECK(table.name == "select", "name %s", table.name.c_str());
    FUZZ_CHECK(table.kind == MortalityTableData::Kind::Q, "a select table of l");
    FUZZ_CHECK(table.selectProblem.empty(), "select problem %s", table.selectProblem.c_str());
    CheckTable(table);
    CheckSelectRates(table);

    try {
        const MortalityTableData again = ParseSelectCsvTable(WrittenOut(table), path);
        CheckSameTable(again, table);
        FUZZ_CHECK(again.select.period == table.select.period &&
                       again.select.firstAge == table.select.firstAge &&
                       again.select.rows == table.select.rows,
                   "the select rates written out read back differently");
    } catch (const TableFormatError& error) {
        FUZZ_CHECK(false, "the table written out is refused: %s", error.what());
    }
    return 0;
}
