#include "InputField.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Accepts [sign] digits [. digits] [e [sign] digits], with digits on at least one side of the point.
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

std::string FormatLimit(float limit) {
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", static_cast<double>(limit));
    return text;
}

} // namespace

bool ParseInteger(std::string_view text, int& value) {
    const std::string_view s = Trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    if (i == s.size())
        return false;
    long long magnitude = 0;
    for (; i < s.size(); ++i) {
        if (!IsDigit(s[i]))
            return false;
        magnitude = magnitude * 10 + (s[i] - '0');
        if (magnitude > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(signedValue);
    return true;
}

bool ParseSingle(std::string_view text, float& value) {
    const std::string s(Trim(text));
    if (!IsDecimalNumber(s))
        return false;
    // Adding zero turns a typed "-0" (or a negative value too small for a float) into
    // plain zero, so that a report never shows an amount of -0.00.
    value = std::strtof(s.c_str(), nullptr) + 0.0f;
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

std::string CheckSingleField(std::string_view text, const std::string& field, float min,
                             float max, float& value) {
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
