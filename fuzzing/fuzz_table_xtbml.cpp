// SPDX-License-Identifier: GPL-3.0-or-later
// Reading an XTbML table file made of arbitrary bytes. Properties:
//  - the reader accepts the bytes or refuses them with one line naming the file;
//  - an accepted table has a one-line name, 1 to 151 ages within 0 to 150 and q in [0, 1],
//    and its l(x) starts at 100000 and is closed by 0;
//  - the table written out as a plain XTbML file reads back with the same name, ages and
//    values.
#include "TableFuzzCheck.h"
#include "XtbmlTable.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

std::string Escaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = "fuzz/table.xml";
    MortalityTableData table;
    try {
        table = ParseXtbmlTable(bytes, path);
    } catch (const TableFormatError& error) {
        CheckRefusal(error, path);
        return 0;
    }
    FUZZ_CHECK(table.kind == MortalityTableData::Kind::Q, "an XTbML table of l");
    FUZZ_CHECK(!table.name.empty() && table.name.front() != ' ' && table.name.back() != ' ',
               "name '%s'", table.name.c_str());
    for (const char c : table.name)
        FUZZ_CHECK(static_cast<unsigned char>(c) >= 32 && c != 127, "a control byte in the name");
    CheckTable(table);

    std::string written = "<XTbML><ContentClassification><TableName>" + Escaped(table.name) +
                          "</TableName></ContentClassification><Table><MetaData>"
                          "<AxisDef id=\"Age\"/></MetaData><Values><Axis>";
    for (std::size_t i = 0; i < table.values.size(); ++i)
        written += "<Y t=\"" + std::to_string(table.firstAge + static_cast<int>(i)) + "\">" +
                   FuzzDigits(table.values[i]) + "</Y>";
    written += "</Axis></Values></Table></XTbML>";
    try {
        const MortalityTableData again = ParseXtbmlTable(written, path);
        FUZZ_CHECK(again.name == table.name, "name '%s' reads back as '%s'", table.name.c_str(),
                   again.name.c_str());
        CheckSameTable(again, table);
    } catch (const TableFormatError& error) {
        FUZZ_CHECK(false, "the table written out is refused: %s", error.what());
    }
    return 0;
}
