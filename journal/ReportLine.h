// Formats one report line with C printf rules and appends it to the journal.
#pragma once

#include "StringList.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string_view>
#include <type_traits>

namespace report {

// A NaN prints as "nan" whatever its sign bit, so reports agree across processors.
template <class T> T Printable(T value) {
    if constexpr (std::is_floating_point_v<T>)
        return std::isnan(value) ? std::numeric_limits<T>::quiet_NaN() : value;
    else
        return value;
}

// One value of a report line: reports print ints, doubles and C strings.
struct Value {
    enum class Kind { Integer, Real, Text, Other } kind = Kind::Other;
    long long integer = 0;
    double real = 0;
    const char* text = nullptr;
};

template <class T> Value ToValue(T value) {
    Value result;
    if constexpr (std::is_integral_v<T>) {
        result.kind = Value::Kind::Integer;
        result.integer = value;
    } else if constexpr (std::is_floating_point_v<T>) {
        result.kind = Value::Kind::Real;
        result.real = static_cast<double>(value);
    } else if constexpr (std::is_convertible_v<T, const char*>) {
        result.kind = Value::Kind::Text;
        result.text = value;
    }
    return result;
}

// Formats the conversions reports use, %[width][.precision] with d, s and f, and %%, as
// printf does: std::to_chars gives the same digits as printf in the C locale, rounding
// included, at a fraction of the cost. Returns false for anything else (flags, other
// conversions, a value of another kind, a line longer than size - 1), and the caller then
// uses snprintf itself.
inline bool FormatLine(char* line, std::size_t size, const char* format, const Value* values,
                       std::size_t count, std::size_t& length) {
    std::size_t used = 0;
    std::size_t next = 0;
    const auto append = [&](const char* text, std::size_t n, std::size_t width) {
        const std::size_t padding = width > n ? width - n : 0;
        if (used + padding + n >= size)
            return false;
        std::memset(line + used, ' ', padding);
        std::memcpy(line + used + padding, text, n);
        used += padding + n;
        return true;
    };
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            if (used + 1 >= size)
                return false;
            line[used++] = *p;
            continue;
        }
        ++p;
        if (*p == '%') {
            if (!append("%", 1, 0))
                return false;
            continue;
        }
        std::size_t width = 0;
        while (*p >= '0' && *p <= '9') {
            if (width == 0 && *p == '0')
                return false; // the 0 flag
            width = width * 10 + static_cast<std::size_t>(*p++ - '0');
            if (width >= size)
                return false;
        }
        int precision = -1;
        if (*p == '.') {
            precision = 0;
            while (*++p >= '0' && *p <= '9') {
                precision = precision * 10 + (*p - '0');
                if (precision > 100)
                    return false;
            }
        }
        if (next >= count)
            return false;
        const Value& value = values[next++];
        char text[400];
        std::to_chars_result result{};
        if (*p == 'd' && value.kind == Value::Kind::Integer && precision < 0) {
            result = std::to_chars(text, text + sizeof text, value.integer);
        } else if (*p == 'f' && value.kind == Value::Kind::Real) {
            result = std::to_chars(text, text + sizeof text, value.real, std::chars_format::fixed,
                                   precision < 0 ? 6 : precision);
        } else if (*p == 's' && value.kind == Value::Kind::Text && value.text && precision < 0) {
            if (!append(value.text, std::strlen(value.text), width))
                return false;
            continue;
        } else {
            return false;
        }
        if (result.ec != std::errc() ||
            !append(text, static_cast<std::size_t>(result.ptr - text), width))
            return false;
    }
    length = used;
    return true;
}

template <class... Args> void AppendLine(CStringList& lines, const char* format, Args... args) {
    if constexpr (sizeof...(Args) == 0) {
        // A line without values is the text itself (up to the same 511 bytes).
        lines.AddTail(std::string_view(format).substr(0, 511));
    } else {
        char line[512];
        const Value values[] = {ToValue(Printable(args))...};
        std::size_t length = 0;
        if (!FormatLine(line, sizeof line, format, values, sizeof...(Args), length)) {
            int printed = std::snprintf(line, sizeof line, format, Printable(args)...);
            if (printed < 0)
                printed = 0;
            if (static_cast<std::size_t>(printed) >= sizeof line)
                printed = sizeof line - 1;
            length = static_cast<std::size_t>(printed);
        }
        lines.AddTail(std::string_view(line, length));
    }
}

} // namespace report
