// SPDX-License-Identifier: GPL-3.0-or-later
// Pricing a life selected at issue: identities that hold for any select table, published
// values on the Standard Select Survival Model and on a select table of the SULT, and
// tabulon-cli price --select.
#include "FaultTestSupport.h"
#include "ProductNames.h"
#include "ProductTestSupport.h"
#include "TableFile.h"
#include "Valuation.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iomanip>
#include <sstream>
#include <string>

namespace {

using namespace product_support;
using fault_support::RunCli;

const std::string kStandard = std::string(TABULON_STANDARD_TABLES) + "/";

// Registered once: the shipped SSSM and SULT; the SULT with select rates equal to its
// ultimate ones (select period 3); and the SOA sample question's select table on the SULT,
// q[x]+s = (0.7 + 0.1 s) q(x+s) for s < 3.
struct SelectRegistry {
    TableRegistry tables;
    int sssm = 0, sult = 0, sultAsSelect = 0, soaSelect = 0;
};

const SelectRegistry& Registry() {
    static const SelectRegistry registry = [] {
        SelectRegistry made;
        const MortalityTableData sult = ReadMortalityTableFile(kStandard + "SULT.csv");
        made.sssm = made.tables.Add(ReadMortalityTableFile(kStandard + "SSSM.csv"));
        made.sult = made.tables.Add(sult);
        const auto withSelect = [&sult](double (*factor)(int)) {
            MortalityTableData table = sult;
            table.select.period = 3;
            table.select.firstAge = sult.firstAge;
            for (int x = sult.firstAge; x + 3 <= sult.LastAge(); ++x) {
                std::vector<double> row;
                for (int s = 0; s < 3; ++s)
                    row.push_back(factor(s) * sult.values[x + s - sult.firstAge]);
                table.select.rows.push_back(row);
            }
            return table;
        };
        made.sultAsSelect = made.tables.Add(withSelect([](int) { return 1.0; }));
        made.soaSelect = made.tables.Add(withSelect([](int s) { return 0.7 + 0.1 * s; }));
        return made;
    }();
    return registry;
}

Valuation Value(int table, int age, bool select, const Product& product, double rate = 5.0,
                FractionalAge fractional = FractionalAge::Udd) {
    Life life{table, age};
    life.select = select;
    return ValueProduct(Registry().tables, life, {rate, fractional}, product, true);
}

struct IdentityCase {
    int age;
    FractionalAge fractional;
    int frequency;
};

void PrintTo(const IdentityCase& c, std::ostream* out) {
    *out << "age " << c.age << ' ' << FractionalName(c.fractional) << " m=" << c.frequency;
}

std::uint64_t Bits(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

class SelectIdentities : public ::testing::TestWithParam<IdentityCase> {};

// Select rates equal to the ultimate ones give the ultimate values bit for bit: every EPV,
// premium, moment and policy value. Age 20 is the table's first age.
TEST_P(SelectIdentities, SelectRatesEqualToUltimateOnesGiveUltimateValuesBitForBit) {
    const IdentityCase& c = GetParam();
    const Product product =
        WithPremiums(Of({Leg(LegKind::Term, 1000, 5, 0, c.frequency),
                         Leg(LegKind::Endowment, 250, 3, 1), Annuity(0, c.frequency)}),
                     3, c.frequency);
    const int id = Registry().sultAsSelect;
    const Valuation ultimate = Value(id, c.age, false, product, 4.0, c.fractional);
    const Valuation select = Value(id, c.age, true, product, 4.0, c.fractional);
    EXPECT_EQ(select.legEpv, ultimate.legEpv);
    EXPECT_EQ(select.netPremium, ultimate.netPremium);
    EXPECT_EQ(select.policyValues, ultimate.policyValues);
    // NaN where the moments are undefined (payments more often than yearly).
    EXPECT_EQ(Bits(select.benefitSecondMoment), Bits(ultimate.benefitSecondMoment));
    EXPECT_EQ(Bits(select.lossSd), Bits(ultimate.lossSd));
}

INSTANTIATE_TEST_SUITE_P(Select, SelectIdentities,
                         ::testing::Values(IdentityCase{20, FractionalAge::Udd, 1},
                                           IdentityCase{21, FractionalAge::Woolhouse3, 12},
                                           IdentityCase{50, FractionalAge::Woolhouse3, 4},
                                           IdentityCase{50, FractionalAge::Woolhouse2, 12},
                                           IdentityCase{90, FractionalAge::Udd, 2},
                                           IdentityCase{125, FractionalAge::Woolhouse3, 12}));

// A life selected k or more years ago is an ultimate life: [50]'s policy values from
// duration 2 on are those of an ultimate life aged 52 on the same premium; before that,
// the select life dies less often.
TEST(SelectLife, AfterTheSelectPeriodTheLifeIsUltimate) {
    Product product = WithPremiums(Of({Leg(LegKind::Endowment, 1000, 30)}), 30);
    const Valuation select = Value(Registry().sssm, 50, true, product);
    product.premium.given = select.premium;
    product.benefits[0].term = 28;
    product.premium.term = 28;
    const Valuation ultimate = Value(Registry().sssm, 52, false, product);
    for (int t = 2; t <= 30; ++t)
        EXPECT_NEAR(select.policyValues[t], ultimate.policyValues[t - 2],
                    1e-12 * std::fabs(ultimate.policyValues[t - 2]))
            << t;
    EXPECT_NEAR(select.policyValues[0], 0.0, 1e-9);
    const Product wholeLife = Of({Leg(LegKind::WholeLife)});
    EXPECT_LT(Value(Registry().sssm, 50, true, wholeLife).benefitEpv,
              Value(Registry().sssm, 50, false, wholeLife).benefitEpv);
}

struct PublishedSelectCase {
    const char* name;
    const char* source;
    double expected;
    double tolerance; // half a unit of the last printed decimal
    double computed;
};

TEST(SelectPublished, MeetThePrintedFigures) {
    // AMLCR: Dickson, Hardy and Waters, Actuarial Mathematics for Life Contingent Risks, 2nd ed.
    const Product endowment = WithPremiums(Of({Leg(LegKind::Endowment, 500000, 20)}), 20);
    Product wholeLife = WithPremiums(Of({Leg(LegKind::WholeLife, 1000)}), 0);
    const Valuation soa = Value(Registry().soaSelect, 70, true, wholeLife);
    wholeLife.premium.given = 35.168;
    const Valuation soaGiven = Value(Registry().soaSelect, 70, true, wholeLife);
    const TableRegistry& tables = Registry().tables;
    const RegisteredTable& soaTable = *tables.Find(Registry().soaSelect);
    const PublishedSelectCase cases[] = {
        {"20-year endowment premium on [50]", "AMLCR Example 7.1 (SSSM, 5%)", 15114.33, 0.005,
         Value(Registry().sssm, 50, true, endowment).netPremium},
        {"q[70]", "SOA sample question (select SULT, 0.7 q70)", 0.007289, 5e-7,
         soaTable.select.rows[70 - 20][0]},
        {"q[70]+1", "SOA sample question", 0.009336, 5e-7, soaTable.select.rows[70 - 20][1]},
        {"q[70]+2", "SOA sample question", 0.011773, 5e-7, soaTable.select.rows[70 - 20][2]},
        {"q70", "SOA sample question (SULT)", 0.010413, 5e-7, soaTable.ultimateQ[70 - 20]},
        {"q71", "SOA sample question (SULT)", 0.011670, 5e-7, soaTable.ultimateQ[71 - 20]},
        {"q72", "SOA sample question (SULT)", 0.013081, 5e-7, soaTable.ultimateQ[72 - 20]},
        {"whole life net premium on [70]", "SOA sample question (5%)", 35.168, 5e-4,
         soa.netPremium},
        {"1V with that premium", "SOA sample question (5%)", 29.86, 5e-3, soaGiven.policyValues[1]},
    };
    for (const PublishedSelectCase& c : cases)
        EXPECT_NEAR(c.computed, c.expected, c.tolerance)
            << std::setprecision(17) << c.name << " from " << c.source << ": computed "
            << c.computed;
}

double JsonNumber(const std::string& json, const std::string& name) {
    const std::size_t at = json.find("\"" + name + "\":");
    return at == std::string::npos ? std::nan("")
                                   : std::strtod(json.c_str() + at + name.size() + 3, nullptr);
}

// price --select values [x]; without it a select file gives its ultimate rates.
TEST(PriceSelect, PricesTheSelectLifeAndNamesTheSelectPeriod) {
    const std::vector<std::string> args = {"price",
                                           "--age",
                                           "50",
                                           "--table-file",
                                           kStandard + "SSSM.csv",
                                           "--benefit",
                                           "endowment,amount=500000,term=20",
                                           "--premium-term",
                                           "20"};
    std::vector<std::string> select = args, json = args, selectJson = args;
    select.push_back("--select");
    selectJson.insert(selectJson.end(), {"--select", "--json"});
    json.push_back("--json");
    const fault_support::CliResult selected = RunCli(selectJson);
    ASSERT_EQ(selected.status, 0) << selected.err;
    const Product endowment = WithPremiums(Of({Leg(LegKind::Endowment, 500000, 20)}), 20);
    EXPECT_EQ(JsonNumber(selected.out, "net_premium"),
              Value(Registry().sssm, 50, true, endowment).netPremium);
    EXPECT_NE(selected.out.find("\"select\":true,\"select_period\":2,"), std::string::npos)
        << selected.out;

    const fault_support::CliResult ultimate = RunCli(json);
    ASSERT_EQ(ultimate.status, 0) << ultimate.err;
    EXPECT_EQ(JsonNumber(ultimate.out, "net_premium"),
              Value(Registry().sssm, 50, false, endowment).netPremium);
    EXPECT_NE(ultimate.out.find("\"select\":false,\"select_period\":null,"), std::string::npos);

    const fault_support::CliResult report = RunCli(select);
    ASSERT_EQ(report.status, 0) << report.err;
    EXPECT_NE(report.out.find("select period 2 years, life selected at age 50\n"),
              std::string::npos)
        << report.out;
}

} // namespace
