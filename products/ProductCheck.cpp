// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProductCheck.h"

#include "ProductNames.h"
#include "SelectLife.h"

#include <cmath>

bool IsAllowedFrequency(int frequency) {
    return frequency == 1 || frequency == 2 || frequency == 4 || frequency == 12;
}

namespace {

using Field = ProductFault::Field;

std::optional<std::string> LegFault(const BenefitLeg& leg, int toTableEnd) {
    const bool needsTerm = leg.kind == LegKind::Term || leg.kind == LegKind::Endowment ||
                           leg.kind == LegKind::PureEndowment;
    const std::string kind = LegKindName(leg.kind);
    if (!std::isfinite(leg.amount) || leg.amount < 0.0)
        return "the amount of a " + kind + " leg must be a finite number of 0 or more";
    if (needsTerm && leg.term < 1)
        return "a " + kind + " leg needs a term of at least 1 year";
    if (leg.kind == LegKind::WholeLife && leg.term != 0)
        return std::string("a whole-life leg takes no term (use term for cover that ends)");
    if (leg.term < 0 || leg.deferral < 0)
        return "the term and deferral of a " + kind + " leg cannot be negative";
    if (!IsAllowedFrequency(leg.frequency))
        return "frequency " + std::to_string(leg.frequency) + " is not 1, 2, 4 or 12";
    if (leg.deferral > toTableEnd || leg.term > toTableEnd - leg.deferral)
        return "deferral " + std::to_string(leg.deferral) + " and term " +
               std::to_string(leg.term) + " run past the table's end (" +
               std::to_string(toTableEnd) + " years from issue)";
    return std::nullopt;
}

bool HasAtMostDecimals(double value, int decimals) {
    const double scaled = value * std::pow(10.0, decimals);
    return std::fabs(scaled - std::nearbyint(scaled)) <= 1e-9 * std::fmax(1.0, std::fabs(scaled));
}

} // namespace

std::optional<ProductFault> FindProductFault(const TableRegistry& tables, const Life& life,
                                             const Basis& basis, const Product& product) {
    const RegisteredTable* table = tables.Find(life.tableId);
    if (table == nullptr)
        return ProductFault{Field::Table, -1, "there is no table " + std::to_string(life.tableId)};
    if (const auto reason = SelectFault(*table, life))
        return ProductFault{table->select.period == 0 ? Field::Table : Field::Age, -1, *reason};
    // A select life has someone alive at its issue age; its own table ends at lastAge.
    const int lastAge = LastAgeOfLife(*table, life);
    if (!life.select && (life.issueAge < table->firstAge || life.issueAge > table->lastAge))
        return ProductFault{Field::Age, -1,
                            "the age lies outside the table's ages " +
                                std::to_string(table->firstAge) + ".." +
                                std::to_string(table->lastAge)};
    if (!life.select && !(table->Living(life.issueAge) > 0.0))
        return ProductFault{Field::Age, -1,
                            "nobody is alive at that age in the table " + table->name};
    if (!(basis.ratePercent >= 0.0 && basis.ratePercent <= 100.0) ||
        !HasAtMostDecimals(basis.ratePercent, kMaxRateDecimals))
        return ProductFault{Field::Rate, -1,
                            "the rate must lie from 0 to 100 percent, with at "
                            "most 4 decimals"};
    if (product.benefits.empty())
        return ProductFault{Field::Benefit, -1, "a product needs at least one benefit leg"};
    const int toTableEnd = lastAge + 1 - life.issueAge;
    for (std::size_t i = 0; i < product.benefits.size(); ++i)
        if (const auto reason = LegFault(product.benefits[i], toTableEnd))
            return ProductFault{Field::Benefit, static_cast<int>(i), *reason};
    const PremiumLeg& premium = product.premium;
    const int end = ProductEnd(product, toTableEnd);
    if (!premium.forLife && (premium.term < 0 || premium.term > end))
        return ProductFault{Field::PremiumTerm, -1,
                            "premiums can be paid for 0 to " + std::to_string(end) +
                                " years, the product's length"};
    if (!IsAllowedFrequency(premium.frequency))
        return ProductFault{Field::PremiumFrequency, -1, "the frequency must be 1, 2, 4 or 12"};
    if (premium.given && !(std::isfinite(*premium.given) && *premium.given >= 0.0))
        return ProductFault{Field::Premium, -1, "the premium must be a finite number of 0 or more"};
    return std::nullopt;
}
