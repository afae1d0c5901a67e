// SPDX-License-Identifier: GPL-3.0-or-later
// Text helpers the table readers share: blanks, numbers read without the locale, and
// file text shown in a message.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace table_text {

// Without leading and trailing blanks, tabs, CR and LF.
std::string_view Trimmed(std::string_view text);

// Whether text is lowerCase in any mix of cases (ASCII only, whatever the process locale).
bool SameLetters(std::string_view text, std::string_view lowerCase);

// A whole number of decimal digits with an optional minus sign, nothing else.
std::optional<int> WholeNumber(std::string_view text);

// A finite decimal number as C writes it (digits, point, exponent, optional minus sign);
// no hexadecimal, inf, nan or thousands separators. Independent of the process locale.
std::optional<double> Number(std::string_view text);

// Text from the file as a message shows it: in double quotes, control bytes as \xNN,
// cut after 40 bytes so that the message stays readable.
std::string Quoted(std::string_view text);

// The lines of a CSV table file that hold values, after any UTF-8 byte-order mark, each
// trimmed; blank lines and comments (a '#' first) are passed over but counted.
class CsvLines {
public:
    explicit CsvLines(std::string_view bytes);
    // The next line that holds values; false at the end of the file.
    bool Next(std::string_view& line);
    int LineNumber() const { return m_lineNumber; } // of the line Next gave, from 1

private:
    std::string_view m_rest;
    int m_lineNumber = 0;
};

// The file's name without its folder and its last extension ("tables/SULT.csv" -> "SULT").
std::string BaseName(const std::string& path);

} // namespace table_text
