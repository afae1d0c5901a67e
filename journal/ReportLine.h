// SPDX-License-Identifier: GPL-3.0-or-later
// Formats one report line as C printf formats it in the C locale and appends it to the journal.
#pragma once

#include "StringList.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace report {

// A line holds at most this many bytes; anything beyond is cut off.
constexpr std::size_t kMaxLineLength = 511;

// A NaN prints as "nan" whatever its sign bit, so reports agree across processors.
template <class T> T Printable(T value) {
    if constexpr (std::is_floating_point_v<T>)
        return std::isnan(value) ? std::numeric_limits<T>::quiet_NaN() : value;
    else
        return value;
}

// One value for a conversion: an integer for %d and %i, a floating-point number for %f, a
// text for %s.
class FormatArg {
public:
    enum class Type { Integer, Floating, Text };

    template <class T>
    requires std::is_integral_v<T> FormatArg(T value)
        : m_type(Type::Integer), m_integer(static_cast<long long>(value)) {}
    template <class T>
    requires std::is_floating_point_v<T> FormatArg(T value)
        : m_type(Type::Floating), m_floating(static_cast<double>(value)) {}
    FormatArg(const char* text) : m_type(Type::Text), m_text(text ? text : "") {}
    FormatArg(std::string_view text) : m_type(Type::Text), m_text(text) {}
    FormatArg(const std::string& text) : m_type(Type::Text), m_text(text) {}

    Type GetType() const { return m_type; }
    long long GetInteger() const { return m_integer; }
    double GetFloating() const { return m_floating; }
    std::string_view GetText() const { return m_text; }

private:
    Type m_type;
    long long m_integer = 0;
    double m_floating = 0;
    std::string_view m_text;
};

// Writes into out the bytes C printf writes for format and args in the C locale, cut at
// kMaxLineLength, and returns their count. Conversions d, i, f and s with the flags '-',
// '+', ' ', '0' and '#', a width and a precision, and "%%"; a NaN prints as "nan" (or
// "+nan", " nan" with those flags) whatever its sign, infinities as "inf" and "-inf",
// through the same widths. A conversion without a matching argument prints nothing; any
// other '%' sequence is copied as it stands. The digits come from std::to_chars, which is
// defined to give exactly printf's digits in the C locale, whatever locale is set.
std::size_t FormatLine(char (&out)[kMaxLineLength + 1], const char* format,
                       std::span<const FormatArg> args);

// Appends one line formatted from format and args; a line without values is its text.
template <class... Args> void AppendLine(CStringList& lines, const char* format, Args... args) {
    if constexpr (sizeof...(Args) == 0) {
        lines.AddTail(std::string_view(format).substr(0, kMaxLineLength));
    } else {
        const FormatArg values[] = {FormatArg(args)...};
        char line[kMaxLineLength + 1];
        lines.AddTail(std::string_view(line, FormatLine(line, format, values)));
    }
}

} // namespace report
