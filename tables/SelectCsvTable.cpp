// SPDX-License-Identifier: GPL-3.0-or-later
#include "SelectCsvTable.h"

#include "TableFormatError.h"
#include "TableText.h"

#include <vector>

using table_text::Quoted;
using table_text::SameLetters;
using table_text::Trimmed;

namespace {

// Every field of a line, split at commas and trimmed.
std::vector<std::string_view> SplitAll(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t comma = line.find(',');
        fields.push_back(Trimmed(line.substr(0, comma)));
        if (comma == std::string_view::npos)
            return fields;
        line.remove_prefix(comma + 1);
    }
}

} // namespace

bool IsSelectCsvHeader(std::string_view line) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos || !SameLetters(Trimmed(line.substr(0, comma)), "age"))
        return false;
    const std::string_view rest = line.substr(comma + 1);
    return Trimmed(rest.substr(0, rest.find(','))) == "1";
}

MortalityTableData ParseSelectCsvTable(std::string_view bytes, const std::string& path) {
    const auto refuse = [&path](int lineNumber, std::size_t column, const std::string& problem) {
        return TableFormatError(
            path, "line " + std::to_string(lineNumber) +
                      (column != 0 ? ", column " + std::to_string(column) : std::string()) + ": " +
                      problem);
    };

    MortalityTableData table;
    table.name = table_text::BaseName(path);
    table.kind = MortalityTableData::Kind::Q;
    SelectRates& rates = table.select;
    int headerLine = 0;
    bool ultimateEnded = false; // a row left "ultimate" empty: so must every later row
    table_text::CsvLines lines(bytes);
    for (std::string_view line; lines.Next(line);) {
        const int lineNumber = lines.LineNumber();
        const std::vector<std::string_view> fields = SplitAll(line);

        if (headerLine == 0) {
            bool header = fields.size() >= 3 && SameLetters(fields.front(), "age") &&
                          SameLetters(fields.back(), "ultimate");
            for (std::size_t j = 1; header && j + 1 < fields.size(); ++j)
                header = fields[j] == std::to_string(j);
            if (!header)
                throw refuse(lineNumber, 0,
                             "the header of a select table must be age,1,2,...,k,ultimate, "
                             "not " +
                                 Quoted(line));
            rates.period = static_cast<int>(fields.size()) - 2;
            headerLine = lineNumber;
            continue;
        }

        const std::size_t width = static_cast<std::size_t>(rates.period) + 2;
        if (fields.size() != width)
            throw refuse(lineNumber, 0,
                         "a row holds " + std::to_string(width) + " fields, as the header, not " +
                             std::to_string(fields.size()));
        const std::optional<int> age = table_text::WholeNumber(fields[0]);
        if (!age)
            throw refuse(lineNumber, 1, "the age " + Quoted(fields[0]) + " is not a whole number");
        if (*age < kTableFirstAllowedAge || *age > kTableLastAllowedAge)
            throw refuse(lineNumber, 1,
                         "age " + std::to_string(*age) + " lies outside " +
                             std::to_string(kTableFirstAllowedAge) + " to " +
                             std::to_string(kTableLastAllowedAge));
        if (rates.rows.empty())
            rates.firstAge = *age;
        else if (*age != rates.LastAge() + 1)
            throw refuse(lineNumber, 1,
                         "age " + std::to_string(*age) + " follows age " +
                             std::to_string(rates.LastAge()) + "; ages must be consecutive");

        std::vector<double> row;
        std::optional<double> ultimate;
        std::size_t emptyColumn = 0; // the first empty cell of the row
        for (std::size_t j = 1; j < width; ++j) {
            const bool isUltimate = j + 1 == width;
            const std::string name = isUltimate ? "ultimate" : "q[x]+" + std::to_string(j - 1);
            if (fields[j].empty()) {
                if (j == 1)
                    throw refuse(lineNumber, j + 1, "q[x] is empty; a row needs its first rate");
                if (emptyColumn == 0)
                    emptyColumn = j;
                continue;
            }
            if (emptyColumn != 0)
                throw refuse(lineNumber, j + 1,
                             name + " follows the empty column " + std::to_string(emptyColumn + 1) +
                                 "; only the end of a row may be empty");
            const std::optional<double> value = table_text::Number(fields[j]);
            if (!value)
                throw refuse(lineNumber, j + 1, Quoted(fields[j]) + " is not a number");
            if (!(*value >= 0.0 && *value <= 1.0))
                throw refuse(lineNumber, j + 1, Quoted(fields[j]) + " lies outside 0 to 1");
            if (isUltimate)
                ultimate = *value;
            else
                row.push_back(*value);
        }
        if (ultimate) {
            if (ultimateEnded)
                throw refuse(lineNumber, width,
                             "an ultimate rate after a row that left it empty; the ultimate "
                             "ages must be consecutive");
            table.values.push_back(*ultimate);
        } else {
            ultimateEnded = true;
        }
        rates.rows.push_back(std::move(row));
    }
    if (headerLine == 0)
        throw TableFormatError(path, "no header line age,1,2,...,k,ultimate");
    if (rates.rows.empty())
        throw refuse(headerLine, 0, "no ages follow the header");
    if (table.values.empty())
        throw refuse(headerLine, 0, "no row gives an ultimate rate");
    table.firstAge = rates.firstAge + rates.period;
    if (table.LastAge() > kTableLastAllowedAge)
        throw refuse(headerLine, 0,
                     "the ultimate rates run to age " + std::to_string(table.LastAge()) +
                         ", past " + std::to_string(kTableLastAllowedAge));
    return table;
}
