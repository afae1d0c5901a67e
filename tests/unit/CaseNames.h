// SPDX-License-Identifier: GPL-3.0-or-later
// Names of table-driven test cases as ctest and --gtest_filter show them: words, never bytes.
#pragma once

#include <cctype>
#include <string>
#include <string_view>

namespace testing_support {

// "clip on a row boundary" -> "ClipOnARowBoundary": letters and digits of each word, the
// word's first letter made capital.
inline std::string CaseName(std::string_view words) {
    std::string name;
    bool wordStart = true;
    for (const char c : words) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            wordStart = true;
            continue;
        }
        name += wordStart ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        wordStart = false;
    }
    return name;
}

// A typed text spelt out so that it can name a case: " +5" -> "Blank_Plus5", "" -> "Empty".
inline std::string SpeltText(std::string_view text) {
    if (text.empty())
        return "Empty";
    std::string name;
    for (const char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            name += c;
            continue;
        }
        switch (c) {
        case ' ':
            name += "_Blank_";
            break;
        case '+':
            name += "_Plus_";
            break;
        case '-':
            name += "_Minus_";
            break;
        case '.':
            name += "_Point_";
            break;
        case ',':
            name += "_Comma_";
            break;
        case '%':
            name += "_Percent_";
            break;
        default:
            name += "_x" + std::to_string(static_cast<unsigned char>(c)) + "_";
            break;
        }
    }
    return name;
}

} // namespace testing_support
