// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the two standard tables Tabulon ships, from their force of mortality:
//   SULT.csv: the Standard Ultimate Life Table, Makeham's law mu(x) = A + B c^x with
//             A = 0.00022, B = 2.7e-6, c = 1.124, q(x) for ages 20..130;
//   SSSM.csv: the Standard Select Survival Model on it, select period 2, with
//             mu[x]+s = 0.9^(2-s) mu(x+s) for 0 <= s < 2: q[x], q[x]+1 and q(x+2) for each
//             issue age x whose ultimate age x + 2 lies within 20..130.
// Each q is 1 - exp(-integral of mu over the year), the integral in closed form, printed with
// 17 significant digits so that reading it back gives the same double. The files are written
// once and checked in (tables/standard/); run again only to check them:
//   c++ -std=c++20 -O2 -ffp-contract=off tools/standard-tables.cpp -o standard-tables
//   ./standard-tables tables/standard
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr double kA = 0.00022;
constexpr double kB = 2.7e-6;
constexpr double kC = 1.124;
constexpr double kSelectFactor = 0.9;
constexpr int kFirstAge = 20;
constexpr int kLastAge = 130;

// The integral of r^s over s from 0 to 1: (r - 1) / ln r.
double YearOf(double r) {
    return (r - 1.0) / std::log(r);
}

// The ultimate q(y): the integral of A + B c^(y+s) over the year is A + B c^y (c - 1) / ln c.
double UltimateQ(int y) {
    return -std::expm1(-(kA + kB * std::pow(kC, y) * YearOf(kC)));
}

// q[x]+s for s = 0, 1: the integral over [s, s + 1] of 0.9^(2-u) (A + B c^(x+u)) du, which is
// 0.9^(2-s) times the integral over [0, 1] of A 0.9^-u + B c^(x+s) (c / 0.9)^u du.
double SelectQ(int x, int s) {
    const double r = 1.0 / kSelectFactor;
    const double integral =
        std::pow(kSelectFactor, 2 - s) *
        (kA * YearOf(r) + kB * std::pow(kC, x + s) * YearOf(kC / kSelectFactor));
    return -std::expm1(-integral);
}

bool Write(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

std::string Number(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: standard-tables FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::string sult = "# Standard Ultimate Life Table (Dickson, Hardy and Waters, Actuarial "
                       "Mathematics for Life\n# Contingent Risks): Makeham's law, A = 0.00022, "
                       "B = 2.7e-6, c = 1.124.\nage,qx\n";
    for (int y = kFirstAge; y <= kLastAge; ++y)
        sult += std::to_string(y) + "," + Number(UltimateQ(y)) + "\n";
    std::string sssm = "# Standard Select Survival Model (Dickson, Hardy and Waters, Actuarial "
                       "Mathematics for Life\n# Contingent Risks): the Standard Ultimate Life "
                       "Table with mu[x]+s = 0.9^(2-s) mu(x+s),\n# select period 2.\n"
                       "age,1,2,ultimate\n";
    for (int x = kFirstAge - 2; x + 2 <= kLastAge; ++x)
        sssm += std::to_string(x) + "," + Number(SelectQ(x, 0)) + "," + Number(SelectQ(x, 1)) +
                "," + Number(UltimateQ(x + 2)) + "\n";
    if (!Write(folder + "/SULT.csv", sult) || !Write(folder + "/SSSM.csv", sssm)) {
        std::fprintf(stderr, "standard-tables: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
