// Ordered list of single-byte text lines: constant-time access by index, cheap appends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// All line texts live back to back in one buffer, with one offset per line, so a
// journal of a million lines costs little more than its bytes and no allocation
// per line. Views returned by GetAt stay valid until the list is next changed.
class CStringList {
public:
    std::size_t GetCount() const { return m_starts.size() - 1; }
    bool IsEmpty() const { return GetCount() == 0; }

    // The line at a 0-based index; the index must be below GetCount().
    std::string_view GetAt(std::size_t index) const {
        const std::size_t begin = m_starts[index];
        return {m_text.data() + begin, m_starts[index + 1] - begin};
    }

    void AddTail(std::string_view line) {
        m_text.insert(m_text.end(), line.begin(), line.end());
        m_starts.push_back(m_text.size());
    }

    // Drops every line from the given count on (used to undo a partial append).
    void Truncate(std::size_t count) {
        if (count >= GetCount())
            return;
        m_starts.resize(count + 1);
        m_text.resize(m_starts.back());
    }

    void RemoveAll() { Truncate(0); }

    // Room for more lines and bytes, so a large append does not reallocate repeatedly.
    void Reserve(std::size_t lines, std::size_t bytes) {
        m_starts.reserve(m_starts.size() + lines);
        m_text.reserve(m_text.size() + bytes);
    }

    std::size_t GetTextBytes() const { return m_text.size(); }

private:
    std::vector<char> m_text;
    std::vector<std::uint64_t> m_starts{0};
};
