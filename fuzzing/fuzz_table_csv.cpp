// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a CSV table file made of arbitrary bytes. Properties:
//  - the reader accepts the bytes or refuses them with one line naming the file;
//  - an accepted table has 1 to 151 ages within 0 to 150, q in [0, 1] or l positive and
//    never rising (only the last l may be 0), and its l(x) is closed by 0;
//  - the table written out as CSV reads back with the same ages and values.
#include "CsvTable.h"
#include "TableFuzzCheck.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = "fuzz/table.csv";
    MortalityTableData table;
    try {
        table = ParseCsvTable(bytes, path);
    } catch (const TableFormatError& error) {
        CheckRefusal(error, path);
        return 0;
    }
    FUZZ_CHECK(table.name == "table", "name %s", table.name.c_str());
    CheckTable(table);

    std::string written = table.kind == MortalityTableData::Kind::Q ? "age,qx\n" : "age,lx\n";
    for (std::size_t i = 0; i < table.values.size(); ++i)
        written += std::to_string(table.firstAge + static_cast<int>(i)) + "," +
                   FuzzDigits(table.values[i]) + "\n";
    try {
        CheckSameTable(ParseCsvTable(written, path), table);
    } catch (const TableFormatError& error) {
        FUZZ_CHECK(false, "the table written out is refused: %s", error.what());
    }
    return 0;
}
