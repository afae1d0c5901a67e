// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineSearch.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The first place in line where spelling (lower case) appears, ASCII letters in either case;
// npos when nowhere. The first byte is looked for with memchr in both cases, which keeps a
// search through a long journal at memory speed.
std::size_t FindFolded(std::string_view line, std::string_view spelling) {
    const char first = spelling.front();
    const char upper = first >= 'a' && first <= 'z' ? static_cast<char>(first - 'a' + 'A') : first;
    const std::size_t last = line.size() < spelling.size() ? 0 : line.size() - spelling.size() + 1;
    std::size_t at = 0;
    while (at < last) {
        const auto* lowerAt =
            static_cast<const char*>(std::memchr(line.data() + at, first, last - at));
        const char* upperAt =
            upper == first
                ? nullptr
                : static_cast<const char*>(std::memchr(line.data() + at, upper, last - at));
        const char* candidate =
            lowerAt && upperAt ? std::min(lowerAt, upperAt) : (lowerAt ? lowerAt : upperAt);
        if (!candidate)
            return std::string_view::npos;
        at = static_cast<std::size_t>(candidate - line.data());
        std::size_t i = 1;
        while (i < spelling.size() && Lower(line[at + i]) == spelling[i])
            ++i;
        if (i == spelling.size())
            return at;
        ++at;
    }
    return std::string_view::npos;
}
} // namespace

LineSearch::LineSearch(std::vector<std::string> spellings) {
    for (std::string& spelling : spellings) {
        if (spelling.empty())
            continue;
        std::transform(spelling.begin(), spelling.end(), spelling.begin(), Lower);
        if (std::find(m_spellings.begin(), m_spellings.end(), spelling) == m_spellings.end())
            m_spellings.push_back(std::move(spelling));
    }
}

LineSearch::Match LineSearch::FindIn(std::string_view line) const {
    Match best;
    for (const std::string& spelling : m_spellings) {
        const std::size_t at = FindFolded(line, spelling);
        if (at != std::string_view::npos && (best.length == 0 || at < best.offset)) {
            best.offset = at;
            best.length = spelling.size();
        }
    }
    return best;
}

LineSearch::Match LineSearch::Find(const CStringList& lines, std::int64_t from,
                                   bool forward) const {
    const auto count = static_cast<std::int64_t>(lines.GetCount());
    if (count == 0 || m_spellings.empty())
        return {};
    // A search from no line starts just before the first line (forward) or after the last.
    if (from < 0 || from >= count)
        from = forward ? -1 : count;
    const std::int64_t step = forward ? 1 : -1;
    std::int64_t line = from;
    bool wrapped = false;
    for (std::int64_t searched = 0; searched < count; ++searched) {
        line += step;
        if (line >= count || line < 0) {
            line = forward ? 0 : count - 1;
            wrapped = true;
        }
        Match match = FindIn(lines.GetAt(static_cast<std::size_t>(line)));
        if (match.length > 0) {
            match.line = line;
            match.wrapped = wrapped;
            return match;
        }
    }
    return {};
}
