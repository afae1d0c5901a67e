// Ordered list of single-byte text lines: constant-time access by index, cheap appends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

// All line texts live in one buffer, each line found by its offset and length, so a journal
// of a million lines costs little more than its bytes and no allocation per line. A file is
// read straight into the buffer and its lines are marked where they lie, line ends and all
// (see RawSpace). The buffer grows with realloc, which moves large blocks by remapping their
// pages rather than copying them. Views returned by GetAt stay valid until the list is next
// changed.
class CStringList {
public:
    // Where a line lies in the text buffer.
    struct LineSpan {
        std::uint64_t offset;
        std::uint64_t length;
    };

    CStringList() = default;
    CStringList(const CStringList& other) : m_lines(other.m_lines) {
        GrowText(other.m_nTextSize);
        if (other.m_nTextSize > 0)
            std::memcpy(m_pText, other.m_pText, other.m_nTextSize);
        m_nTextSize = other.m_nTextSize;
    }
    CStringList(CStringList&& other) noexcept
        : m_pText(std::exchange(other.m_pText, nullptr)),
          m_nTextSize(std::exchange(other.m_nTextSize, 0)),
          m_nTextCapacity(std::exchange(other.m_nTextCapacity, 0)),
          m_lines(std::move(other.m_lines)) {
        other.m_lines.clear();
    }
    CStringList& operator=(CStringList other) noexcept {
        std::swap(m_pText, other.m_pText);
        std::swap(m_nTextSize, other.m_nTextSize);
        std::swap(m_nTextCapacity, other.m_nTextCapacity);
        std::swap(m_lines, other.m_lines);
        return *this;
    }
    ~CStringList() { std::free(m_pText); }

    std::size_t GetCount() const { return m_lines.size(); }
    bool IsEmpty() const { return m_lines.empty(); }

    // The line at a 0-based index; the index must be below GetCount().
    std::string_view GetAt(std::size_t index) const {
        const LineSpan& line = m_lines[index];
        return {m_pText + line.offset, static_cast<std::size_t>(line.length)};
    }

    void AddTail(std::string_view line) {
        if (m_nTextCapacity - m_nTextSize < line.size()) {
            // The line may be one of this list's own: find it again after the buffer moves.
            const auto address = reinterpret_cast<std::uintptr_t>(line.data());
            const auto start = reinterpret_cast<std::uintptr_t>(m_pText);
            const bool own = address - start < m_nTextSize;
            GrowText(m_nTextSize + line.size());
            if (own)
                line = {m_pText + (address - start), line.size()};
        }
        if (!line.empty())
            std::memcpy(m_pText + m_nTextSize, line.data(), line.size());
        m_lines.push_back({m_nTextSize, line.size()});
        m_nTextSize += line.size();
    }

    // Keeps the first count lines and drops the rest, and any bytes after the last line
    // kept (used to undo a partial append).
    void Truncate(std::size_t count) {
        if (count < m_lines.size())
            m_lines.resize(count);
        m_nTextSize = m_lines.empty() ? 0 : m_lines.back().offset + m_lines.back().length;
    }

    void RemoveAll() { Truncate(0); }

    // Room for more lines and bytes, so a large append does not reallocate repeatedly.
    void Reserve(std::size_t lines, std::size_t bytes) {
        m_lines.reserve(m_lines.size() + lines);
        if (m_nTextCapacity - m_nTextSize < bytes)
            GrowText(m_nTextSize + bytes);
    }

    // Bytes the text buffer holds: the lines, and the line ends of lines read from a file.
    std::size_t GetTextBytes() const { return m_nTextSize; }

    // Filling the list straight from a file without an intermediate copy: RawSpace gives
    // room for bytes more bytes at the end of the text (bytes written there by an earlier
    // call are kept when the room grows); the pointer stays valid until the next call that
    // grows the text. AppendRaw then makes the first bytes written there part of the text,
    // and AddTailsAt marks the lines within them where they lie.
    char* RawSpace(std::size_t bytes) {
        if (m_nTextCapacity - m_nTextSize < bytes)
            GrowText(m_nTextSize + bytes);
        return m_pText + m_nTextSize;
    }
    // Returns the text offset of the bytes appended, for AddTailsAt.
    std::size_t AppendRaw(std::size_t bytes) {
        const std::size_t start = m_nTextSize;
        m_nTextSize += bytes;
        return start;
    }
    // Lines that lie within bytes appended by AppendRaw, each given by its text offset and
    // length, in order.
    void AddTailsAt(const LineSpan* spans, std::size_t count) {
        m_lines.insert(m_lines.end(), spans, spans + count);
    }

private:
    // At least needed bytes of capacity, growing by half again at a time; keeps the content.
    void GrowText(std::size_t needed) {
        if (needed <= m_nTextCapacity)
            return;
        std::size_t capacity = m_nTextCapacity + m_nTextCapacity / 2;
        if (capacity < needed)
            capacity = needed;
        if (capacity < 256)
            capacity = 256;
        void* text = std::realloc(m_pText, capacity);
        if (text == nullptr)
            throw std::bad_alloc();
        m_pText = static_cast<char*>(text);
        m_nTextCapacity = capacity;
    }

    char* m_pText = nullptr; // the lines' bytes (malloc'ed)
    std::size_t m_nTextSize = 0;
    std::size_t m_nTextCapacity = 0;
    std::vector<LineSpan> m_lines;
};
