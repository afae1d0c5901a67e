// SPDX-License-Identifier: GPL-3.0-or-later
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

namespace string_list {

// An array of plain values in one malloc'ed block that grows with realloc: a large block
// grows by remapping its pages, so its old and new copies are never both in memory (a
// std::vector growing past a reserve of exactly a file's lines held both, 2 bytes a line
// twice over, when a report was appended to a journal of 50 million short lines).
template <class T> class GrowingArray {
public:
    GrowingArray() = default;
    GrowingArray(const GrowingArray& other) {
        Reserve(other.m_size);
        if (other.m_size > 0)
            std::memcpy(m_items, other.m_items, other.m_size * sizeof(T));
        m_size = other.m_size;
    }
    GrowingArray(GrowingArray&& other) noexcept
        : m_items(std::exchange(other.m_items, nullptr)), m_size(std::exchange(other.m_size, 0)),
          m_capacity(std::exchange(other.m_capacity, 0)) {}
    GrowingArray& operator=(GrowingArray other) noexcept {
        Swap(other);
        return *this;
    }
    ~GrowingArray() { std::free(m_items); }

    void Swap(GrowingArray& other) noexcept {
        std::swap(m_items, other.m_items);
        std::swap(m_size, other.m_size);
        std::swap(m_capacity, other.m_capacity);
    }
    std::size_t Size() const { return m_size; }
    T& operator[](std::size_t index) { return m_items[index]; }
    const T& operator[](std::size_t index) const { return m_items[index]; }

    // Room for at least capacity items, exactly as many when it grows.
    void Reserve(std::size_t capacity) {
        if (capacity <= m_capacity)
            return;
        if (capacity > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_alloc();
        void* items = std::realloc(m_items, capacity * sizeof(T));
        if (items == nullptr)
            throw std::bad_alloc();
        m_items = static_cast<T*>(items);
        m_capacity = capacity;
    }
    void PushBack(T item) {
        if (m_size == m_capacity)
            Reserve(m_capacity < 16 ? 16 : m_capacity + m_capacity / 2);
        m_items[m_size++] = item;
    }
    // New items are zero.
    void Resize(std::size_t size) {
        if (size > m_size) {
            if (size > m_capacity)
                Reserve(size > m_capacity + m_capacity / 2 ? size : m_capacity + m_capacity / 2);
            std::memset(static_cast<void*>(m_items + m_size), 0, (size - m_size) * sizeof(T));
        }
        m_size = size;
    }
    void Clear() { m_size = 0; }

private:
    T* m_items = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

} // namespace string_list

// All line texts live one after another in one buffer, so a line ends where the next one
// begins, and each line is found by where it starts: two bytes a line for the start within
// a block of 256 lines (eight for the lines of a block holding 64 KB of text or more), so a
// journal of a million lines costs little more than its bytes and no allocation per line,
// whatever its line lengths. A file is read straight into the buffer after the text and its
// lines are moved down into place (see RawSpace). The buffer grows with realloc, which moves
// large blocks by remapping their pages rather than copying them. Views returned by GetAt
// stay valid until the list is next changed.
class CStringList {
public:
    CStringList() = default;
    CStringList(const CStringList& other)
        : m_blocks(other.m_blocks), m_starts(other.m_starts), m_wideStarts(other.m_wideStarts) {
        GrowText(other.m_textSize);
        if (other.m_textSize > 0)
            std::memcpy(m_text, other.m_text, other.m_textSize);
        m_textSize = other.m_textSize;
    }
    CStringList(CStringList&& other) noexcept
        : m_text(std::exchange(other.m_text, nullptr)),
          m_textSize(std::exchange(other.m_textSize, 0)),
          m_textCapacity(std::exchange(other.m_textCapacity, 0)),
          m_blocks(std::move(other.m_blocks)), m_starts(std::move(other.m_starts)),
          m_wideStarts(std::move(other.m_wideStarts)) {
        other.m_blocks.clear();
    }
    CStringList& operator=(CStringList other) noexcept {
        std::swap(m_text, other.m_text);
        std::swap(m_textSize, other.m_textSize);
        std::swap(m_textCapacity, other.m_textCapacity);
        std::swap(m_blocks, other.m_blocks);
        m_starts.Swap(other.m_starts);
        m_wideStarts.Swap(other.m_wideStarts);
        return *this;
    }
    ~CStringList() { std::free(m_text); }

    std::size_t GetCount() const { return m_starts.Size(); }
    bool IsEmpty() const { return m_starts.Size() == 0; }

    // The line at a 0-based index; the index must be below GetCount().
    std::string_view GetAt(std::size_t index) const {
        const std::size_t begin = StartOf(index);
        const std::size_t end = index + 1 < m_starts.Size() ? StartOf(index + 1) : m_textSize;
        return {m_text + begin, end - begin};
    }

    // The line may lie anywhere, also in this list's text or in its RawSpace.
    void AddTail(std::string_view line) {
        if (m_textCapacity - m_textSize < line.size()) {
            // The line may be one of this list's own: find it again after the buffer moves.
            const auto address = reinterpret_cast<std::uintptr_t>(line.data());
            const auto start = reinterpret_cast<std::uintptr_t>(m_text);
            const bool own = address - start < m_textSize;
            GrowText(m_textSize + line.size());
            if (own)
                line = {m_text + (address - start), line.size()};
        }
        AddStart(m_textSize);
        if (!line.empty())
            std::memmove(m_text + m_textSize, line.data(), line.size());
        m_textSize += line.size();
    }

    // Keeps the first count lines and drops the rest (used to undo a partial append).
    void Truncate(std::size_t count) {
        if (count < m_starts.Size()) {
            m_textSize = StartOf(count);
            m_starts.Resize(count);
        }
        count = m_starts.Size();
        m_blocks.resize((count + kBlockLines - 1) / kBlockLines);
        // Wide blocks take their room in order: the last one kept ends the room kept.
        std::size_t wideKept = 0;
        for (auto block = m_blocks.rbegin(); block != m_blocks.rend(); ++block)
            if (block->wide != kNarrow) {
                wideKept = block->wide + kBlockLines;
                break;
            }
        m_wideStarts.Resize(wideKept);
    }

    void RemoveAll() { Truncate(0); }

    // Room for more lines and bytes, so a large append does not reallocate repeatedly.
    void Reserve(std::size_t lines, std::size_t bytes) {
        m_starts.Reserve(m_starts.Size() + lines);
        m_blocks.reserve((m_starts.Size() + lines + kBlockLines - 1) / kBlockLines);
        if (m_textCapacity - m_textSize < bytes)
            GrowText(m_textSize + bytes);
    }

    // Bytes the lines hold together.
    std::size_t GetTextBytes() const { return m_textSize; }

    // Filling the list straight from a file without an intermediate copy: RawSpace gives
    // room for bytes more bytes after the text (bytes written there by an earlier call are
    // kept when the room grows); the pointer stays valid until the next call that grows the
    // text. AddTail then takes lines that lie there, in order, without growing the text.
    char* RawSpace(std::size_t bytes) {
        if (m_textCapacity - m_textSize < bytes)
            GrowText(m_textSize + bytes);
        return m_text + m_textSize;
    }

    // Gives back the room after the text when most of the buffer is unused (after a file's
    // line ends were dropped, for instance).
    void ReleaseUnusedRoom() {
        if (m_textCapacity > 4096 && m_textSize < m_textCapacity / 2) {
            const std::size_t capacity = m_textSize < 256 ? 256 : m_textSize;
            if (void* text = std::realloc(m_text, capacity)) {
                m_text = static_cast<char*>(text);
                m_textCapacity = capacity;
            }
        }
    }

private:
    static constexpr std::size_t kBlockLines = 256;
    static constexpr std::uint32_t kNarrow = 0xFFFFFFFF;
    // Where the text of a block of lines begins, and where its starts are kept: narrow
    // blocks in m_starts (relative to base), wide ones in m_wideStarts from index wide.
    struct Block {
        std::uint64_t base;
        std::uint32_t wide;
    };

    std::size_t StartOf(std::size_t index) const {
        const Block& block = m_blocks[index / kBlockLines];
        return block.wide == kNarrow ? block.base + m_starts[index]
                                     : m_wideStarts[block.wide + index % kBlockLines];
    }

    void AddStart(std::size_t start) {
        const std::size_t index = m_starts.Size();
        if (index % kBlockLines == 0)
            m_blocks.push_back({start, kNarrow});
        Block& block = m_blocks.back();
        const std::uint64_t relative = start - block.base;
        if (block.wide == kNarrow && relative > 0xFFFF) {
            // The block's text outgrew two-byte starts: its starts move to full width.
            block.wide = static_cast<std::uint32_t>(m_wideStarts.Size());
            m_wideStarts.Resize(m_wideStarts.Size() + kBlockLines);
            for (std::size_t i = index - index % kBlockLines; i < index; ++i)
                m_wideStarts[block.wide + i % kBlockLines] = block.base + m_starts[i];
        }
        if (block.wide != kNarrow)
            m_wideStarts[block.wide + index % kBlockLines] = start;
        m_starts.PushBack(static_cast<std::uint16_t>(relative));
    }

    // At least needed bytes of capacity, growing by half again at a time; keeps the content.
    void GrowText(std::size_t needed) {
        if (needed <= m_textCapacity)
            return;
        std::size_t capacity = m_textCapacity + m_textCapacity / 2;
        if (capacity < needed)
            capacity = needed;
        if (capacity < 256)
            capacity = 256;
        void* text = std::realloc(m_text, capacity);
        if (text == nullptr)
            throw std::bad_alloc();
        m_text = static_cast<char*>(text);
        m_textCapacity = capacity;
    }

    char* m_text = nullptr; // the lines' bytes (malloc'ed)
    std::size_t m_textSize = 0;
    std::size_t m_textCapacity = 0;
    std::vector<Block> m_blocks;
    // Each line's start within its block (narrow blocks).
    string_list::GrowingArray<std::uint16_t> m_starts;
    string_list::GrowingArray<std::uint64_t> m_wideStarts;
};
