// SPDX-License-Identifier: GPL-3.0-or-later
// Finding text in the journal's lines: the next or previous line that holds it, and where.
#pragma once

#include "StringList.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Searches the lines' bytes for any of a few spellings of the same text (its UTF-8 bytes and,
// for a text Latin-1 can spell, its Latin-1 bytes, as a journal line shows either), ignoring
// the case of ASCII letters.
class LineSearch {
public:
    struct Match {
        std::int64_t line = -1; // -1: not found
        std::size_t offset = 0; // byte offset of the match within the line
        std::size_t length = 0; // bytes matched
        bool wrapped = false;   // the search went past the last (or first) line and on
    };

    // An empty spelling is left out; with none, nothing is ever found.
    explicit LineSearch(std::vector<std::string> spellings);

    bool IsEmpty() const { return m_spellings.empty(); }
    // The first match within the line, or length 0.
    Match FindIn(std::string_view line) const;
    // The first line after from (forward) or before it (backward) that holds the text,
    // wrapping around at the journal's end (and saying so); from itself is searched last.
    // From -1 a forward search starts at the first line, a backward one at the last.
    Match Find(const CStringList& lines, std::int64_t from, bool forward) const;

private:
    std::vector<std::string> m_spellings; // ASCII letters in lower case
};
