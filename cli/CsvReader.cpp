// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvReader.h"

#include "FileDescriptor.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr std::size_t kBufferBytes = 1 << 16;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

constexpr const char* kNotClosed =
    "unclosed quote: a quoted field is not closed before the end of its line.";
constexpr const char* kTextAfterQuote = "a quoted field is followed by text before the next comma.";

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 32;
}

} // namespace

CsvReader::CsvReader(int fd, std::string name, std::function<void()> beforeWait)
    : m_fd(fd), m_name(std::move(name)), m_beforeWait(std::move(beforeWait)),
      m_buffer(kBufferBytes) {
    struct stat st {};
    m_streamed = ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode);
}

// Reads into the buffer at m_end; returns the number of bytes, 0 at the end of the input.
std::size_t CsvReader::ReadMore() {
    if (m_ended)
        return 0;
    if (m_streamed && m_beforeWait)
        m_beforeWait();
    const std::size_t n = ReadSome(m_fd, m_buffer.data() + m_end, m_buffer.size() - m_end, m_name);
    if (n == 0)
        m_ended = true;
    m_end += n;
    return n;
}

// Makes at least one unread byte available; false at the end of the input.
bool CsvReader::Fill() {
    if (m_pos < m_end)
        return true;
    m_pos = m_end = 0;
    return ReadMore() > 0;
}

// A pipe may deliver the mark's three bytes in separate reads.
void CsvReader::SkipByteOrderMark() {
    while (m_end < 3 && ReadMore() > 0) {
    }
    if (m_end >= 3 && std::memcmp(m_buffer.data(), kByteOrderMark, 3) == 0)
        m_pos = 3;
}

void CsvReader::SkipComment() {
    while (Fill()) {
        const char* const base = m_buffer.data();
        const void* end = std::memchr(base + m_pos, '\n', m_end - m_pos);
        if (end != nullptr) {
            m_pos = static_cast<std::size_t>(static_cast<const char*>(end) - base) + 1;
            ++m_nextLine;
            return;
        }
        m_pos = m_end;
    }
}

bool CsvReader::Next() {
    if (!m_started) {
        m_started = true;
        SkipByteOrderMark();
    }
    while (Fill()) {
        if (m_buffer[m_pos] == '#') {
            SkipComment();
            continue;
        }
        ReadRow();
        return true;
    }
    return false;
}

void CsvReader::StartField() {
    if (m_fieldCount < kKeptFields) {
        Field& field = m_fields[m_fieldCount];
        field.text.clear();
        field.length = 0;
        field.quoted = false;
    }
    ++m_fieldCount;
}

void CsvReader::Append(const char* bytes, std::size_t count) {
    const std::size_t index = m_fieldCount - 1;
    if (index >= kKeptFields)
        return;
    Field& field = m_fields[index];
    field.length += count;
    field.text.append(bytes, std::min(count, kKeptFieldBytes - field.text.size()));
}

void CsvReader::EndRow(bool lastFieldPlain) {
    const std::size_t last = m_fieldCount - 1;
    if (!lastFieldPlain || last >= kKeptFields)
        return;
    Field& field = m_fields[last];
    if (field.length != field.text.size())
        return;
    // Blanks alone, before the line end's CR or none, make a blank line.
    m_blank = m_fieldCount == 1 && field.text.find_first_not_of(" \t\r") == std::string::npos;
    while (!field.text.empty() && IsControl(field.text.back()))
        field.text.pop_back();
    field.length = field.text.size();
}

void CsvReader::ReadRow() {
    enum class State { FieldStart, Plain, Quoted, QuoteInQuoted, AfterQuote };
    State state = State::FieldStart;
    m_line = m_nextLine;
    m_fieldCount = 0;
    m_fault = nullptr;
    m_blank = false;
    StartField();
    while (Fill()) {
        const char* const base = m_buffer.data();
        switch (state) {
        case State::FieldStart:
            if (base[m_pos] == '"') {
                ++m_pos;
                if (m_fieldCount <= kKeptFields)
                    m_fields[m_fieldCount - 1].quoted = true;
                state = State::Quoted;
                break;
            }
            state = State::Plain;
            [[fallthrough]];
        case State::Plain: {
            std::size_t stop = m_pos;
            while (stop < m_end && base[stop] != ',' && base[stop] != '\n')
                ++stop;
            Append(base + m_pos, stop - m_pos);
            m_pos = stop;
            if (stop == m_end)
                break;
            ++m_pos;
            if (base[stop] == '\n') {
                ++m_nextLine;
                EndRow(true);
                return;
            }
            StartField();
            state = State::FieldStart;
            break;
        }
        case State::Quoted: {
            // A row is one line: a quote still open at the line's end refuses the row, and
            // the next line is the next row.
            std::size_t stop = m_pos;
            while (stop < m_end && base[stop] != '"' && base[stop] != '\n')
                ++stop;
            Append(base + m_pos, stop - m_pos);
            m_pos = stop;
            if (stop == m_end)
                break;
            ++m_pos;
            if (base[stop] == '\n') {
                ++m_nextLine;
                m_fault = kNotClosed;
                return;
            }
            state = State::QuoteInQuoted;
            break;
        }
        case State::QuoteInQuoted:
            if (base[m_pos] == '"') {
                Append(base + m_pos, 1);
                ++m_pos;
                state = State::Quoted;
                break;
            }
            state = State::AfterQuote;
            [[fallthrough]];
        case State::AfterQuote: {
            // Blanks and control bytes (the CR of CR LF) may stand between the closing quote
            // and the comma or the row's end; anything else is a fault of the row.
            const char c = base[m_pos++];
            if (c == ',') {
                StartField();
                state = State::FieldStart;
            } else if (c == '\n') {
                ++m_nextLine;
                return;
            } else if (c != ' ' && !IsControl(c) && m_fault == nullptr) {
                m_fault = kTextAfterQuote;
            }
            break;
        }
        }
    }
    if (state == State::Quoted)
        m_fault = kNotClosed;
    EndRow(state == State::Plain || state == State::FieldStart);
}
