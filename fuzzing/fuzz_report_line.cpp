// Report lines: the fast formatting of the journal's lines against the C library's printf,
// over arbitrary values (every double bit pattern: NaN, infinities, -0, subnormals, huge
// values) and every format a report prints, plus arbitrary widths and precisions.
// Property: the journal line is exactly what printf gives (a NaN printed without a sign).
#include "FuzzCheck.h"
#include "ReportLine.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace {

// Formats with values, as the report prints them.
const char* const kRealFormats[] = {
    "%5d %7.0f %7.0f %6.2f %11.4f %12.4f %12.4f",
    "Age at death    ... Mean=%7.2f Standard deviation=%7.2f ",
    "%20s        %3d        %15.2f %10.2f ",
    "Discount rate = %.2f percent. ",
    "%9d %11.4f %12.2f %10.2f ",
    "%8d+ %11.4f %12.2f %10.2f",
    "%8d+ %11.4f",
    "               1.0000        EDNI= %10.2f ",
};

double AnyDouble(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0: {
        const auto bits = input.ConsumeIntegral<std::uint64_t>();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    case 1:
        return input.ConsumeFloatingPoint<double>();
    case 2:
        return static_cast<double>(input.ConsumeIntegral<std::int32_t>()) / 100.0;
    default:
        return static_cast<double>(input.ConsumeFloatingPoint<float>());
    }
}

std::string Line(const CStringList& lines) {
    return std::string(lines.GetAt(lines.GetCount() - 1));
}

void Compare(const std::string& journal, const char* format, const char* printed) {
    FUZZ_CHECK(journal == printed, "format \"%s\": journal \"%s\", printf \"%s\"", format,
               journal.c_str(), printed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    CStringList lines;
    char printed[512];
    const int n = input.ConsumeIntegral<int>();
    const double a = AnyDouble(input), b = AnyDouble(input), c = AnyDouble(input);
    const double d = AnyDouble(input), e = AnyDouble(input), f = AnyDouble(input);
    const int choice = input.ConsumeIntegralInRange(0, 8);
    const char* format = choice < 8 ? kRealFormats[choice] : nullptr;
    using report::Printable;
    switch (choice) {
    case 0:
        report::AppendLine(lines, format, n, a, b, c, d, e, f);
        std::snprintf(printed, sizeof printed, format, n, Printable(a), Printable(b), Printable(c),
                      Printable(d), Printable(e), Printable(f));
        break;
    case 1:
        report::AppendLine(lines, format, a, b);
        std::snprintf(printed, sizeof printed, format, Printable(a), Printable(b));
        break;
    case 2:
        report::AppendLine(lines, format, "Term life insurance", n, a, b);
        std::snprintf(printed, sizeof printed, format, "Term life insurance", n, Printable(a),
                      Printable(b));
        break;
    case 3:
    case 7: {
        report::AppendLine(lines, format, a);
        std::snprintf(printed, sizeof printed, format, Printable(a));
        // The fast path itself must take these lines (not leave them all to printf).
        const report::Value value = report::ToValue(Printable(a));
        char line[512];
        std::size_t length = 0;
        FUZZ_CHECK(report::FormatLine(line, sizeof line, format, &value, 1, length),
                   "the fast path refused \"%s\" for %.17g", format, a);
        Compare(std::string(line, length), format, printed);
        break;
    }
    case 4:
    case 5:
        report::AppendLine(lines, format, n, a, b, c);
        std::snprintf(printed, sizeof printed, format, n, Printable(a), Printable(b), Printable(c));
        break;
    case 6:
        report::AppendLine(lines, format, n, a);
        std::snprintf(printed, sizeof printed, format, n, Printable(a));
        break;
    default: {
        // Any width and precision; a line longer than the buffer is cut at 511 bytes.
        const std::string made = "<%" + std::to_string(input.ConsumeIntegralInRange(0, 520)) + "." +
                                 std::to_string(input.ConsumeIntegralInRange(0, 120)) + "f>";
        report::AppendLine(lines, made.c_str(), a);
        std::snprintf(printed, sizeof printed, made.c_str(), Printable(a));
        Compare(Line(lines), made.c_str(), printed);
        return 0;
    }
    }
    Compare(Line(lines), format, printed);
    FUZZ_CHECK(Line(lines).find("-nan") == std::string::npos, "a signed NaN: %s", printed);
    return 0;
}
