// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportLine.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace report {

namespace {

// One conversion: %[flags][width][.precision]conversion.
struct Conversion {
    bool left = false;      // '-': pad on the right
    bool plus = false;      // '+': a sign also for non-negative numbers
    bool space = false;     // ' ': a blank where a plus sign would go
    bool zero = false;      // '0': pad numbers with zeros after the sign
    bool alternate = false; // '#': %f keeps its decimal point at precision 0
    int width = 0;
    int precision = -1; // -1: none given
    char type = 0;
};

// Appends to the line, dropping whatever falls beyond its last byte.
class LineWriter {
public:
    explicit LineWriter(char* out) : m_out(out) {}
    void Put(std::string_view text) {
        const std::size_t count = std::min(text.size(), kMaxLineLength - m_length);
        std::copy_n(text.data(), count, m_out + m_length);
        m_length += count;
    }
    void Put(char c) { Put(std::string_view(&c, 1)); }
    void Repeat(char c, std::size_t count) {
        count = std::min(count, kMaxLineLength - m_length);
        std::fill_n(m_out + m_length, count, c);
        m_length += count;
    }
    std::size_t Length() const { return m_length; }

private:
    char* m_out;
    std::size_t m_length = 0;
};

// Reads a run of decimal digits as a field width or precision (capped, as no line can
// hold more).
int ReadCount(const char*& p) {
    int count = 0;
    while (*p >= '0' && *p <= '9') {
        count = std::min(count * 10 + (*p - '0'), 1 << 20);
        ++p;
    }
    return count;
}

std::string_view SignOf(bool negative, const Conversion& c) {
    if (negative)
        return "-";
    if (c.plus)
        return "+";
    if (c.space)
        return " ";
    return {};
}

// A field of the given width: the sign, zeros, the digits and zeros again, padded with
// blanks on the left (on the right with '-'), or with zeros after the sign when zeroPad.
struct Field {
    std::string_view sign;
    std::string_view digits;
    std::size_t leadingZeros = 0;
    std::size_t trailingZeros = 0;
};

void PutField(LineWriter& line, const Conversion& c, const Field& field, bool zeroPad) {
    const std::size_t length =
        field.sign.size() + field.leadingZeros + field.digits.size() + field.trailingZeros;
    const std::size_t width = static_cast<std::size_t>(c.width);
    const std::size_t padding = width > length ? width - length : 0;
    if (!c.left && !zeroPad)
        line.Repeat(' ', padding);
    line.Put(field.sign);
    if (!c.left && zeroPad)
        line.Repeat('0', padding);
    line.Repeat('0', field.leadingZeros);
    line.Put(field.digits);
    line.Repeat('0', field.trailingZeros);
    if (c.left)
        line.Repeat(' ', padding);
}

void PutInteger(LineWriter& line, const Conversion& c, long long value) {
    const unsigned long long magnitude = value < 0 ? 0ull - static_cast<unsigned long long>(value)
                                                   : static_cast<unsigned long long>(value);
    char digits[32];
    char* end = digits;
    // A precision is the least number of digits; a zero with precision 0 has none.
    if (!(c.precision == 0 && magnitude == 0))
        end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    const std::size_t count = static_cast<std::size_t>(end - digits);
    const std::size_t least = c.precision > 0 ? static_cast<std::size_t>(c.precision) : 0;
    PutField(
        line, c,
        {SignOf(value < 0, c), std::string_view(digits, count), least > count ? least - count : 0},
        c.zero && c.precision < 0);
}

void PutFloating(LineWriter& line, const Conversion& c, double value) {
    if (std::isnan(value)) {
        PutField(line, c, {SignOf(false, c), "nan"}, false);
        return;
    }
    if (std::isinf(value)) {
        PutField(line, c, {SignOf(value < 0, c), "inf"}, false);
        return;
    }
    const int precision = c.precision < 0 ? 6 : c.precision;
    const double magnitude = std::fabs(value);
    // The exact decimal expansion of a double has at most 1074 digits after the point;
    // beyond them printf writes zeros, which are added here without formatting them. A
    // whole number below 2^53 (the counts living and dying) is its integer digits and zeros.
    constexpr int kExactDigits = 1100;
    char digits[320 + kExactDigits];
    char* end = digits;
    std::size_t zeros = 0;
    if (magnitude < 9007199254740992.0 && magnitude == std::trunc(magnitude)) {
        end = std::to_chars(digits, digits + sizeof digits,
                            static_cast<unsigned long long>(magnitude))
                  .ptr;
        if (precision > 0)
            *end++ = '.';
        zeros = static_cast<std::size_t>(precision);
    } else {
        const int formatted = std::min(precision, kExactDigits);
        const std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, magnitude,
                                                          std::chars_format::fixed, formatted);
        if (result.ec != std::errc())
            return;
        end = result.ptr;
        zeros = static_cast<std::size_t>(precision - formatted);
    }
    if (c.alternate && precision == 0)
        *end++ = '.';
    PutField(line, c,
             {SignOf(std::signbit(value), c),
              std::string_view(digits, static_cast<std::size_t>(end - digits)), 0, zeros},
             c.zero);
}

void PutText(LineWriter& line, const Conversion& c, std::string_view text) {
    if (c.precision >= 0 && static_cast<std::size_t>(c.precision) < text.size())
        text = text.substr(0, static_cast<std::size_t>(c.precision));
    PutField(line, c, {{}, text}, false);
}

} // namespace

std::size_t FormatLine(char (&out)[kMaxLineLength + 1], const char* format,
                       std::span<const FormatArg> args) {
    LineWriter line(out);
    std::size_t next = 0;
    const char* p = format;
    while (*p != '\0') {
        if (*p != '%') {
            const char* start = p;
            while (*p != '\0' && *p != '%')
                ++p;
            line.Put(std::string_view(start, static_cast<std::size_t>(p - start)));
            continue;
        }
        const char* start = p++;
        Conversion c;
        for (;; ++p) {
            if (*p == '-')
                c.left = true;
            else if (*p == '+')
                c.plus = true;
            else if (*p == ' ')
                c.space = true;
            else if (*p == '0')
                c.zero = true;
            else if (*p == '#')
                c.alternate = true;
            else
                break;
        }
        c.width = ReadCount(p);
        if (*p == '.') {
            ++p;
            c.precision = ReadCount(p);
        }
        c.type = *p;
        if (c.type == '%' && p == start + 1) {
            line.Put('%');
            ++p;
            continue;
        }
        const bool integer = c.type == 'd' || c.type == 'i';
        if (!integer && c.type != 'f' && c.type != 's') {
            // Not a conversion of ours: the text stands as it is.
            line.Put(std::string_view(start, static_cast<std::size_t>(p - start)));
            continue;
        }
        ++p;
        if (next >= args.size())
            continue;
        const FormatArg& arg = args[next++];
        if (integer && arg.GetType() == FormatArg::Type::Integer)
            PutInteger(line, c, arg.GetInteger());
        else if (c.type == 'f' && arg.GetType() == FormatArg::Type::Floating)
            PutFloating(line, c, arg.GetFloating());
        else if (c.type == 's' && arg.GetType() == FormatArg::Type::Text)
            PutText(line, c, arg.GetText());
    }
    out[line.Length()] = '\0';
    return line.Length();
}

} // namespace report
