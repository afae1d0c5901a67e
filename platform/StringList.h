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
        other.m_starts.clear();
        other.m_wideStarts.clear();
    }
    CStringList& operator=(CStringList other) noexcept {
        std::swap(m_text, other.m_text);
        std::swap(m_textSize, other.m_textSize);
        std::swap(m_textCapacity, other.m_textCapacity);
        std::swap(m_blocks, other.m_blocks);
        std::swap(m_starts, other.m_starts);
        std::swap(m_wideStarts, other.m_wideStarts);
        return *this;
    }
    ~CStringList() { std::free(m_text); }

    std::size_t GetCount() const { return m_starts.size(); }
    bool IsEmpty() const { return m_starts.empty(); }

    // The line at a 0-based index; the index must be below GetCount().
    std::string_view GetAt(std::size_t index) const {
        const std::size_t begin = StartOf(index);
        const std::size_t end = index + 1 < m_starts.size() ? StartOf(index + 1) : m_textSize;
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
        if (count < m_starts.size()) {
            m_textSize = StartOf(count);
            m_starts.resize(count);
        }
        count = m_starts.size();
        m_blocks.resize((count + kBlockLines - 1) / kBlockLines);
        // Wide blocks take their room in order: the last one kept ends the room kept.
        std::size_t wideKept = 0;
        for (auto block = m_blocks.rbegin(); block != m_blocks.rend(); ++block)
            if (block->wide != kNarrow) {
                wideKept = block->wide + kBlockLines;
                break;
            }
        m_wideStarts.resize(wideKept);
    }

    void RemoveAll() { Truncate(0); }

    // Room for more lines and bytes, so a large append does not reallocate repeatedly.
    void Reserve(std::size_t lines, std::size_t bytes) {
        m_starts.reserve(m_starts.size() + lines);
        m_blocks.reserve((m_starts.size() + lines + kBlockLines - 1) / kBlockLines);
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
        const std::size_t index = m_starts.size();
        if (index % kBlockLines == 0)
            m_blocks.push_back({start, kNarrow});
        Block& block = m_blocks.back();
        const std::uint64_t relative = start - block.base;
        if (block.wide == kNarrow && relative > 0xFFFF) {
            // The block's text outgrew two-byte starts: its starts move to full width.
            block.wide = static_cast<std::uint32_t>(m_wideStarts.size());
            m_wideStarts.resize(m_wideStarts.size() + kBlockLines);
            for (std::size_t i = index - index % kBlockLines; i < index; ++i)
                m_wideStarts[block.wide + i % kBlockLines] = block.base + m_starts[i];
        }
        if (block.wide != kNarrow)
            m_wideStarts[block.wide + index % kBlockLines] = start;
        m_starts.push_back(static_cast<std::uint16_t>(relative));
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
    std::vector<std::uint16_t> m_starts; // each line's start within its block (narrow blocks)
    std::vector<std::uint64_t> m_wideStarts;
};
