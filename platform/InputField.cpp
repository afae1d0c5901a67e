// SPDX-License-Identifier: GPL-3.0-or-later
#include "InputField.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Accepts [sign] digits [. digits] [e [sign] digits], with digits on at least one side of the
// point.
bool IsDecimalNumber(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        std::size_t exponentDigits = 0;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++exponentDigits;
        if (exponentDigits == 0)
            return false;
    }
    return i == s.size();
}

// The decimal exponent of the first nonzero digit of an unsigned number IsDecimalNumber
// accepted; a huge exponent counts as +-2^40. It only tells a value out of a float's range
// that is too large (positive) from one that is too small, whose magnitudes lie far apart.
long long DecimalMagnitude(std::string_view s) {
    const std::size_t exponentAt = std::min(s.find_first_of("eE"), s.size());
    const std::string_view digits = s.substr(0, exponentAt);
    const std::size_t point = std::min(digits.find('.'), digits.size());
    const std::size_t firstNonzero = digits.find_first_not_of("0.");
    long long magnitude = 0;
    if (firstNonzero < point)
        magnitude = static_cast<long long>(point - firstNonzero) - 1;
    else if (firstNonzero != std::string_view::npos)
        magnitude = -static_cast<long long>(firstNonzero - point);
    if (exponentAt == s.size())
        return magnitude;
    std::string_view exponentText = s.substr(exponentAt + 1);
    const bool negative = exponentText.front() == '-';
    if (exponentText.front() == '+' || negative)
        exponentText.remove_prefix(1);
    long long exponent = 0;
    const auto result =
        std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    if (result.ec != std::errc() || exponent > (1LL << 40))
        exponent = 1LL << 40;
    return magnitude + (negative ? -exponent : exponent);
}

// Every digit of a whole-number limit, as "%.0f" prints it, in any locale.
std::string FormatLimit(float limit) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, static_cast<double>(limit),
                                      std::chars_format::fixed, 0);
    return std::string(text, result.ptr);
}

} // namespace

bool ParseInteger(std::string_view text, int& value) {
    std::string_view s = Trim(text);
    // from_chars takes a minus sign but no plus; one sign, followed by a digit.
    const bool plus = !s.empty() && s.front() == '+';
    if (plus)
        s.remove_prefix(1);
    const std::size_t firstDigit = !plus && !s.empty() && s.front() == '-' ? 1 : 0;
    if (s.size() == firstDigit || !IsDigit(s[firstDigit]))
        return false;
    int parsed = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), parsed);
    if (error != std::errc() || end != s.data() + s.size())
        return false;
    value = parsed;
    return true;
}

bool ParseSingle(std::string_view text, float& value) {
    const std::string_view s = Trim(text);
    if (!IsDecimalNumber(s))
        return false;
    // from_chars reads the digits the same in every locale and rounds to nearest as strtof
    // does; it takes no plus sign and leaves a value out of a float's range to the caller.
    const bool negative = s.front() == '-';
    const std::string_view unsignedText = s.substr(s.front() == '+' || negative ? 1 : 0);
    float parsed = 0;
    const auto [end, error] =
        std::from_chars(unsignedText.data(), unsignedText.data() + unsignedText.size(), parsed);
    if (error == std::errc::result_out_of_range)
        parsed = DecimalMagnitude(unsignedText) > 0 ? std::numeric_limits<float>::infinity() : 0.0f;
    else if (error != std::errc() || end != unsignedText.data() + unsignedText.size())
        return false;
    // Adding zero turns a typed "-0" (or a negative value too small for a float) into
    // plain zero, so that a report never shows an amount of -0.00.
    value = (negative ? -parsed : parsed) + 0.0f;
    return true;
}

std::string CheckIntegerField(std::string_view text, const std::string& field, int min, int max,
                              int& value) {
    const std::string accepted =
        "a whole number from " + std::to_string(min) + " to " + std::to_string(max);
    int parsed = 0;
    if (!ParseInteger(text, parsed))
        return field + ": please enter " + accepted + ".";
    if (parsed < min || parsed > max)
        return field + ": " + std::to_string(parsed) + " is out of range; please enter " +
               accepted + ".";
    value = parsed;
    return {};
}

std::string CheckSingleField(std::string_view text, const std::string& field, float min, float max,
                             float& value) {
    const std::string accepted = "a number from " + FormatLimit(min) + " to " + FormatLimit(max) +
                                 " (digits, an optional decimal point, no commas)";
    float parsed = 0;
    if (!ParseSingle(text, parsed))
        return field + ": please enter " + accepted + ".";
    if (!(parsed >= min && parsed <= max))
        return field + ": " + std::string(Trim(text)) + " is out of range; please enter " +
               accepted + ".";
    value = parsed;
    return {};
}
