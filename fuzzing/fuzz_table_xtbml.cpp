// SPDX-License-Identifier: GPL-3.0-or-later
// Reading an XTbML table file made of arbitrary bytes. Properties:
//  - the reader accepts the bytes or refuses them with one line naming the file;
//  - an accepted table has a one-line name, 1 to 151 ages within 0 to 150 and q in [0, 1],
//    and its l(x) starts at 100000 and is closed by 0;
//  - the table written out as a plain XTbML file reads back with the same name, ages and
//    values;
//  - the name as --json writes it is one JSON string of well-formed UTF-8, whatever bytes
//    the <TableName> held;
//  - the <Values> contents read in small pieces (as a large file's are) give the same
//    table, select rates and select problem, or the same refusal.
#include "JsonReport.h"
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

// Whether text is a JSON string (quotes around it, no raw control byte or lone quote or
// backslash inside) of well-formed UTF-8: each character decoded, and refused when it is
// cut, overlong, a surrogate or past U+10FFFF.
bool IsJsonStringOfUtf8(std::string_view text) {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"')
        return false;
    text = text.substr(1, text.size() - 2);
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead == '\\') {
            if (i + 1 >= text.size())
                return false;
            i += text[i + 1] == 'u' ? 6 : 2;
            continue;
        }
        if (lead < 0x20 || lead == '"')
            return false;
        const std::size_t length = lead < 0x80       ? 1
                                   : lead >> 5 == 6  ? 2
                                   : lead >> 4 == 14 ? 3
                                   : lead >> 3 == 30 ? 4
                                                     : 0;
        if (length == 0 || i + length > text.size())
            return false;
        std::uint32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if (next >> 6 != 2)
                return false;
            code = code << 6 | (next & 0x3Fu);
        }
        const std::uint32_t lowest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < lowest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

void CheckSameInPieces(std::string_view bytes, const std::string& path,
                       const MortalityTableData* whole, const std::string& refusal) {
    MortalityTableData table;
    try {
        table = ParseXtbmlTable(bytes, path, XtbmlPieces{0, 64, 0.0});
    } catch (const TableFormatError& error) {
        FUZZ_CHECK(!whole && refusal == error.what(), "in pieces: %s; at once: %s", error.what(),
                   refusal.c_str());
        return;
    }
    FUZZ_CHECK(whole, "in pieces accepted; at once: %s", refusal.c_str());
    FUZZ_CHECK(table.name == whole->name && table.selectProblem == whole->selectProblem &&
                   table.select.period == whole->select.period &&
                   table.select.firstAge == whole->select.firstAge &&
                   table.select.rows == whole->select.rows,
               "in pieces: '%s' [%s]; at once: '%s' [%s]", table.name.c_str(),
               table.selectProblem.c_str(), whole->name.c_str(), whole->selectProblem.c_str());
    CheckSameTable(table, *whole);
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
        CheckSameInPieces(bytes, path, nullptr, error.what());
        return 0;
    }
    CheckSameInPieces(bytes, path, &table, "");
    FUZZ_CHECK(table.kind == MortalityTableData::Kind::Q, "an XTbML table of l");
    FUZZ_CHECK(!table.name.empty() && table.name.front() != ' ' && table.name.back() != ' ',
               "name '%s'", table.name.c_str());
    for (const char c : table.name)
        FUZZ_CHECK(static_cast<unsigned char>(c) >= 32 && c != 127, "a control byte in the name");
    CheckTable(table);
    FUZZ_CHECK(IsJsonStringOfUtf8(JsonString(table.name)), "name '%s' makes no valid JSON",
               table.name.c_str());

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
