// Formats one report line with C printf rules and appends it to the journal.
#pragma once

#include "StringList.h"

#include <cmath>
#include <cstdio>
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

template <class... Args> void AppendLine(CStringList& lines, const char* format, Args... args) {
    char line[512];
    int length = 0;
    if constexpr (sizeof...(Args) == 0)
        length = std::snprintf(line, sizeof line, "%s", format);
    else
        length = std::snprintf(line, sizeof line, format, Printable(args)...);
    if (length < 0)
        length = 0;
    if (static_cast<std::size_t>(length) >= sizeof line)
        length = sizeof line - 1;
    lines.AddTail(std::string_view(line, static_cast<std::size_t>(length)));
}

} // namespace report
