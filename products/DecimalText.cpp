// SPDX-License-Identifier: GPL-3.0-or-later
#include "DecimalText.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The text without the blanks and tabs around it.
std::string_view WithoutBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

int DecimalPlaces(std::string_view number) {
    const std::size_t exponentAt = std::min(number.find_first_of("eE"), number.size());
    std::string_view mantissa = number.substr(0, exponentAt);
    int places = 0;
    const std::size_t point = mantissa.find('.');
    if (point != std::string_view::npos) {
        std::string_view fraction = mantissa.substr(point + 1);
        while (!fraction.empty() && fraction.back() == '0')
            fraction.remove_suffix(1);
        places = static_cast<int>(fraction.size());
    }
    if (exponentAt < number.size()) {
        int exponent = 0;
        std::string_view text = number.substr(exponentAt + 1);
        if (!text.empty() && text.front() == '+')
            text.remove_prefix(1);
        std::from_chars(text.data(), text.data() + text.size(), exponent);
        places -= exponent;
    }
    return places;
}

bool ParseDecimal(std::string_view text, double& value) {
    const std::string_view number = WithoutBlanks(text);
    std::size_t i = 0;
    if (i < number.size() && (number[i] == '+' || number[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < number.size() && IsDigit(number[i]))
        ++i, ++digits;
    if (i < number.size() && number[i] == '.')
        for (++i; i < number.size() && IsDigit(number[i]); ++i)
            ++digits;
    if (digits == 0)
        return false;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        if (i < number.size() && (number[i] == '+' || number[i] == '-'))
            ++i;
        std::size_t exponentDigits = 0;
        while (i < number.size() && IsDigit(number[i]))
            ++i, ++exponentDigits;
        if (exponentDigits == 0)
            return false;
    }
    if (i != number.size())
        return false;
    // from_chars takes no plus sign.
    const std::string_view unsigned_ = number.front() == '+' ? number.substr(1) : number;
    double parsed = 0.0;
    const auto result =
        std::from_chars(unsigned_.data(), unsigned_.data() + unsigned_.size(), parsed);
    if (result.ec != std::errc() || !std::isfinite(parsed))
        return false;
    value = parsed == 0.0 ? 0.0 : parsed; // never -0
    return true;
}

std::string FullNumber(double value) {
    if (value == 0.0)
        return "0";
    char text[40];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17);
    return std::string(text, result.ptr);
}
