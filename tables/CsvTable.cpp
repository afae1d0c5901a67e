// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvTable.h"

#include "SelectCsvTable.h"
#include "TableFormatError.h"
#include "TableText.h"

using table_text::Quoted;
using table_text::SameLetters;
using table_text::Trimmed;

namespace {

// The fields of a row, split at commas and trimmed: the first two are kept, and the count
// stops at 3.
struct Fields {
    std::string_view field[2];
    int count = 0;
};

Fields Split(std::string_view line) {
    Fields fields;
    for (;;) {
        const std::size_t comma = line.find(',');
        if (fields.count < 2)
            fields.field[fields.count] = Trimmed(line.substr(0, comma));
        ++fields.count;
        if (comma == std::string_view::npos || fields.count > 2)
            return fields;
        line.remove_prefix(comma + 1);
    }
}

} // namespace

MortalityTableData ParseCsvTable(std::string_view bytes, const std::string& path) {
    const auto refuse = [&path](int lineNumber, const std::string& problem) {
        return TableFormatError(path, "line " + std::to_string(lineNumber) + ": " + problem);
    };

    MortalityTableData table;
    table.name = table_text::BaseName(path);
    std::string column; // "qx" or "lx" once the header is read
    int headerLine = 0;
    int zeroLine = 0; // the line of an l of 0, which only the last row may hold
    table_text::CsvLines lines(bytes);
    for (std::string_view line; lines.Next(line);) {
        const int lineNumber = lines.LineNumber();

        const Fields fields = Split(line);
        if (column.empty()) {
            if (IsSelectCsvHeader(line))
                return ParseSelectCsvTable(bytes, path);
            if (fields.count != 2 || !SameLetters(fields.field[0], "age") ||
                !(SameLetters(fields.field[1], "qx") || SameLetters(fields.field[1], "lx")))
                throw refuse(lineNumber,
                             "the header must be age,qx or age,lx, not " + Quoted(line));
            column = SameLetters(fields.field[1], "qx") ? "qx" : "lx";
            table.kind = column == "qx" ? MortalityTableData::Kind::Q : MortalityTableData::Kind::L;
            headerLine = lineNumber;
            continue;
        }

        if (fields.count != 2)
            throw refuse(lineNumber, "a row holds 2 fields, age and " + column + ", not " +
                                         std::to_string(fields.count > 2 ? 3 : fields.count) +
                                         (fields.count > 2 ? " or more" : ""));
        const std::optional<int> age = table_text::WholeNumber(fields.field[0]);
        if (!age)
            throw refuse(lineNumber,
                         "the age " + Quoted(fields.field[0]) + " is not a whole number");
        if (*age < kTableFirstAllowedAge || *age > kTableLastAllowedAge)
            throw refuse(lineNumber, "age " + std::to_string(*age) + " lies outside " +
                                         std::to_string(kTableFirstAllowedAge) + " to " +
                                         std::to_string(kTableLastAllowedAge));
        if (table.values.empty()) {
            table.firstAge = *age;
        } else if (*age != table.LastAge() + 1) {
            throw refuse(lineNumber, "age " + std::to_string(*age) + " follows age " +
                                         std::to_string(table.LastAge()) +
                                         "; ages must be consecutive");
        }
        const std::optional<double> value = table_text::Number(fields.field[1]);
        if (!value)
            throw refuse(lineNumber, column + " " + Quoted(fields.field[1]) + " is not a number");
        if (table.kind == MortalityTableData::Kind::Q) {
            if (!(*value >= 0.0 && *value <= 1.0))
                throw refuse(lineNumber, "qx " + Quoted(fields.field[1]) + " lies outside 0 to 1");
        } else {
            if (zeroLine != 0)
                throw refuse(zeroLine, "lx is 0 before the last age");
            if (*value < 0.0)
                throw refuse(lineNumber, "lx " + Quoted(fields.field[1]) + " is negative");
            if (*value == 0.0 && table.values.empty())
                throw refuse(lineNumber, "lx is 0 at the first age");
            if (!table.values.empty() && *value > table.values.back())
                throw refuse(lineNumber, "lx " + Quoted(fields.field[1]) +
                                             " rises above lx at age " +
                                             std::to_string(table.LastAge()));
            if (*value == 0.0)
                zeroLine = lineNumber;
        }
        table.values.push_back(*value);
    }
    if (column.empty())
        throw TableFormatError(path, "no header line age,qx or age,lx");
    if (table.values.empty())
        throw refuse(headerLine, "no ages follow the header");
    return table;
}
