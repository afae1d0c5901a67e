// SPDX-License-Identifier: GPL-3.0-or-later
// Reading typed numbers: the syntax the dialogs and the command line share, and inclusive range
// checks.
#pragma once

#include <string>
#include <string_view>

// Optional blanks, optional sign, decimal digits, optional blanks; the value must fit an int.
bool ParseInteger(std::string_view text, int& value);

// Optional blanks, optional sign, digits with an optional decimal point and an optional
// decimal exponent, optional blanks. No hexadecimal, no inf or nan, no separators.
// The value is rounded to single precision; a magnitude too large for a float is infinite.
bool ParseSingle(std::string_view text, float& value);

// Each check reads one field and returns an empty string when the value is accepted,
// otherwise a sentence naming the field and what it accepts. value is set only on success.
std::string CheckIntegerField(std::string_view text, const std::string& field, int min, int max,
                              int& value);
std::string CheckSingleField(std::string_view text, const std::string& field, float min, float max,
                             float& value);
