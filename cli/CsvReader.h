// SPDX-License-Identifier: GPL-3.0-or-later
// Reading CSV rows one at a time from a file descriptor, in constant memory.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Rows as RFC 4180 writes them, one row a line: fields separated by commas; a field that
// starts with a double quote runs to the next lone double quote and may hold commas and ""
// for a quote, but not a line break (a quote still open at the end of the line is a fault
// of that row alone, and the next line is the next row); a row ends at LF or CR LF. A UTF-8
// byte-order mark at the start is skipped. Two liberties: a line whose first byte is '#' is
// a comment and is skipped whole, and trailing bytes 0-31 of an unquoted last field are
// dropped, as a journal line's are.
//
// Memory does not grow with the input: only the first kKeptFields fields of a row and the
// first kKeptFieldBytes of each are kept; the rest is counted.
class CsvReader {
public:
    static constexpr std::size_t kKeptFields = 16;
    static constexpr std::size_t kKeptFieldBytes = 4096;

    struct Field {
        std::string text;       // the field's bytes, quotes removed; at most kKeptFieldBytes
        std::size_t length = 0; // its full length: more than text.size() when it was cut
        bool quoted = false;
    };

    // name is the file's name in messages. beforeWait is called before each read from an
    // input that is not a regular file, where the read may wait for the next rows, so that
    // the caller can write out what it has.
    CsvReader(int fd, std::string name, std::function<void()> beforeWait);

    // Reads the next row that is not a comment; false at the end of the input. Throws
    // CFileException when reading fails.
    bool Next();

    std::size_t Line() const { return m_line; } // the line the row starts on, from 1
    std::size_t FieldCount() const { return m_fieldCount; }
    // Field i of the row, for i below FieldCount() and kKeptFields.
    const Field& At(std::size_t i) const { return m_fields[i]; }
    // What is wrong with the row's quotes, or nullptr.
    const char* Fault() const { return m_fault; }
    // The row's line is empty or holds only blanks (spaces and tabs) before its end.
    bool Blank() const { return m_blank; }

private:
    std::size_t ReadMore();
    bool Fill();
    void SkipByteOrderMark();
    void SkipComment();
    void ReadRow();
    void StartField();
    void Append(const char* bytes, std::size_t count);
    void EndRow(bool lastFieldPlain);

    int m_fd;
    std::string m_name;
    std::function<void()> m_beforeWait;
    bool m_streamed = false; // not a regular file: a read may wait
    bool m_started = false;
    bool m_ended = false;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0, m_end = 0;
    std::size_t m_nextLine = 1, m_line = 0;
    std::array<Field, kKeptFields> m_fields;
    std::size_t m_fieldCount = 0;
    const char* m_fault = nullptr;
    bool m_blank = false;
};
