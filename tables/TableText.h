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

// The file's name without its folder and its last extension ("tables/SULT.csv" -> "SULT").
std::string BaseName(const std::string& path);

} // namespace table_text
