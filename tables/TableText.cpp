// SPDX-License-Identifier: GPL-3.0-or-later
#include "TableText.h"

#include "MessageText.h"

#include <charconv>
#include <cmath>

namespace table_text {

bool SameLetters(std::string_view text, std::string_view lowerCase) {
    if (text.size() != lowerCase.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c =
            text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
        if (c != lowerCase[i])
            return false;
    }
    return true;
}

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<int> WholeNumber(std::string_view text) {
    int value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

std::optional<double> Number(std::string_view text) {
    // from_chars would also take "inf", "nan" and "infinity"; a number starts with a
    // digit or a point after its optional sign.
    const std::string_view digits = text.substr(!text.empty() && text.front() == '-' ? 1 : 0);
    if (digits.empty() ||
        !(digits.front() == '.' || (digits.front() >= '0' && digits.front() <= '9')))
        return std::nullopt;
    double value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

CsvLines::CsvLines(std::string_view bytes) : m_rest(bytes) {
    if (m_rest.substr(0, 3) == "\xEF\xBB\xBF")
        m_rest.remove_prefix(3);
}

bool CsvLines::Next(std::string_view& line) {
    while (!m_rest.empty()) {
        const std::size_t end = m_rest.find('\n');
        line = Trimmed(m_rest.substr(0, end));
        m_rest.remove_prefix(end == std::string_view::npos ? m_rest.size() : end + 1);
        ++m_lineNumber;
        if (!line.empty() && line.front() != '#')
            return true;
    }
    return false;
}

std::string Quoted(std::string_view text) {
    constexpr std::size_t kShown = 40;
    if (text.size() > kShown)
        return '"' + ShownInMessage(text.substr(0, kShown)) + "...\"";
    return '"' + ShownInMessage(text) + '"';
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

} // namespace table_text
