// SPDX-License-Identifier: GPL-3.0-or-later
// Two tables with published present values, derived from their formulas and written as
// table files: the Standard Ultimate Life Table (Makeham, ages 20 to 130, as age,lx) and
// the Illustrative Life Table (Makeham, ages 0 to 130, as age,qx). Tests read them through
// the same reader users use, and price on them against the published values.
#pragma once

#include <charconv>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <string>

namespace published_tables {

// A number exactly as it reads back: 17 significant digits, without the process locale.
inline std::string Digits(double value) {
    char text[32];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17);
    return std::string(text, result.ptr);
}

// Standard Ultimate Life Table: mu(x) = A + B c^x with A = 0.00022, B = 0.0000027,
// c = 1.124, so l(x) = l(20) exp(-A (x - 20) - B / ln(c) c^20 (c^(x - 20) - 1)),
// l(20) = 100000, ages 20 to 130.
inline std::string StandardUltimateLifeTableCsv() {
    const double a = 0.00022, b = 0.0000027, c = 1.124;
    std::string csv = "# Standard Ultimate Life Table (Makeham)\nage,lx\n";
    for (int age = 20; age <= 130; ++age) {
        const double living =
            100000.0 * std::exp(-a * (age - 20) - b / std::log(c) * std::pow(c, 20.0) *
                                                      (std::pow(c, age - 20.0) - 1.0));
        csv += std::to_string(age) + "," + Digits(living) + "\n";
    }
    return csv;
}

// Illustrative Life Table: 1000 mu(x) = 0.7 + 0.05 * 10^(0.04 x), so the force over the
// year of age x integrates to 0.0007 + 0.00005 (10^(0.04 (x + 1)) - 10^(0.04 x)) /
// (0.04 ln 10) and q(x) = 1 - exp(-that); ages 0 to 130 (l(0) = 100000 in the reader).
inline std::string IllustrativeLifeTableCsv() {
    std::string csv = "# Illustrative Life Table (Makeham)\nage,qx\n";
    for (int age = 0; age <= 130; ++age) {
        const double force =
            0.0007 + 0.00005 * (std::pow(10.0, 0.04 * (age + 1)) - std::pow(10.0, 0.04 * age)) /
                         (0.04 * std::log(10.0));
        csv += std::to_string(age) + "," + Digits(-std::expm1(-force)) + "\n";
    }
    return csv;
}

inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

// Writes SULT.csv and ILT.csv into folder.
inline void WriteTableFiles(const std::string& folder) {
    WriteFile(folder + "/SULT.csv", StandardUltimateLifeTableCsv());
    WriteFile(folder + "/ILT.csv", IllustrativeLifeTableCsv());
}

} // namespace published_tables
