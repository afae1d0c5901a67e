// SPDX-License-Identifier: GPL-3.0-or-later
#include "TwoLives.h"

#include "SelectLife.h"

#include <algorithm>
#include <cmath>

namespace {

int YearsToTableEnd(const TableRegistry& tables, const Life& life) {
    return LastAgeOfLife(*tables.Find(life.tableId), life) + 1 - life.issueAge;
}

// One life's columns for durations 0..years, nobody alive past its table's end.
LifeColumns LongColumns(const TableRegistry& tables, const Life& life, const Basis& basis,
                        int years, bool withSlope) {
    const int own = std::min(years, YearsToTableEnd(tables, life));
    const LifeTable lifeTable(*tables.Find(life.tableId), life); // [x]+t for a select life
    LifeColumns columns =
        ComputeLifeColumns(lifeTable.Get(), life.issueAge, basis.ratePercent, own, withSlope);
    const std::size_t size = static_cast<std::size_t>(years) + 1;
    columns.years = years;
    columns.survival.resize(size, 0.0);
    columns.oneYear.resize(size - 1, 0.0);
    for (int t = own + 1; t <= years; ++t)
        columns.discount.push_back(std::pow(columns.v, static_cast<double>(t)));
    if (withSlope)
        columns.slope.resize(size, 0.0);
    return columns;
}

double Ratio(double part, double whole) {
    return whole > 0.0 ? part / whole : 0.0;
}

// The status of both lives: survival the product of theirs, mu the sum of theirs.
LifeColumns JointColumns(const LifeColumns& x, const LifeColumns& y) {
    LifeColumns joint = x;
    joint.withinSquare.assign(x.oneYear.size(), 0.0);
    for (std::size_t t = 0; t < x.survival.size(); ++t) {
        joint.survival[t] = x.survival[t] * y.survival[t];
        if (t < x.oneYear.size()) {
            joint.oneYear[t] = x.oneYear[t] * y.oneYear[t];
            joint.withinSquare[t] = -(1.0 - x.oneYear[t]) * (1.0 - y.oneYear[t]);
        }
        if (!x.slope.empty())
            joint.slope[t] =
                x.slope[t] == 0.0 || y.slope[t] == 0.0 ? 0.0 : x.slope[t] + y.slope[t] - x.delta;
    }
    return joint;
}

// The status of at least one life: survival tp_x + tp_y - tp_xy, its one-year survival,
// within-year shape and mu from that survival function.
LifeColumns LastSurvivorColumns(const LifeColumns& x, const LifeColumns& y,
                                const LifeColumns& joint) {
    LifeColumns last = x;
    last.withinSquare.assign(x.oneYear.size(), 0.0);
    for (std::size_t t = 0; t < x.survival.size(); ++t)
        last.survival[t] = x.survival[t] + y.survival[t] - joint.survival[t];
    for (std::size_t t = 0; t < x.oneYear.size(); ++t) {
        last.oneYear[t] = Ratio(last.survival[t + 1], last.survival[t]);
        last.withinSquare[t] = Ratio(
            joint.survival[t] * (1.0 - x.oneYear[t]) * (1.0 - y.oneYear[t]), last.survival[t]);
    }
    if (!x.slope.empty()) {
        for (std::size_t t = 0; t < x.survival.size(); ++t) {
            const bool finite = (x.survival[t] == 0.0 || x.slope[t] != 0.0) &&
                                (y.survival[t] == 0.0 || y.slope[t] != 0.0);
            const double muX = x.survival[t] > 0.0 ? x.slope[t] - x.delta : 0.0;
            const double muY = y.survival[t] > 0.0 ? y.slope[t] - y.delta : 0.0;
            const double density =
                x.survival[t] * muX + y.survival[t] * muY - joint.survival[t] * (muX + muY);
            last.slope[t] =
                finite && last.survival[t] > 0.0 ? x.delta + density / last.survival[t] : 0.0;
        }
    }
    return last;
}

// A status's flows and the sign they enter the product with.
struct Part {
    const LifeColumns* columns;
    double sign;
};

// Adds sign * S_part(t) / S_in_force(t) * from[t] to into[t].
void AddWeighted(std::vector<double>& into, const std::vector<double>& from, const Part& part,
                 const LifeColumns& inForce) {
    for (std::size_t t = 0; t < into.size(); ++t) {
        const double weight =
            part.columns == &inForce ? 1.0 : Ratio(part.columns->survival[t], inForce.survival[t]);
        into[t] += part.sign * weight * from[t];
    }
}

bool PaysOnDeath(const BenefitLeg& leg) {
    return leg.kind == LegKind::WholeLife || leg.kind == LegKind::Term ||
           leg.kind == LegKind::Endowment;
}

} // namespace

const char* LifeStatusName(LifeStatus status) {
    switch (status) {
    case LifeStatus::Joint:
        return "joint";
    case LifeStatus::LastSurvivor:
        return "last-survivor";
    case LifeStatus::Reversionary:
        return "reversionary";
    }
    return "?";
}

std::optional<LifeStatus> LifeStatusNamed(std::string_view name) {
    for (const LifeStatus status :
         {LifeStatus::Joint, LifeStatus::LastSurvivor, LifeStatus::Reversionary})
        if (name == LifeStatusName(status))
            return status;
    return std::nullopt;
}

std::optional<TwoLifeFault> FindTwoLifeFault(const TableRegistry& tables, const Life& first,
                                             const SecondLife& second, const Product& product) {
    using Field = TwoLifeFault::Field;
    const RegisteredTable* table = tables.Find(second.life.tableId);
    if (table == nullptr)
        return TwoLifeFault{Field::Table,
                            "there is no table " + std::to_string(second.life.tableId)};
    const int age = second.life.issueAge;
    if (age < table->firstAge || age > table->lastAge)
        return TwoLifeFault{Field::Age, "the age lies outside the table's ages " +
                                            std::to_string(table->firstAge) + ".." +
                                            std::to_string(table->lastAge)};
    if (!(table->Living(age) > 0.0))
        return TwoLifeFault{Field::Age, "nobody is alive at that age in the table " + table->name};
    if (second.status == LifeStatus::Reversionary &&
        std::any_of(product.benefits.begin(), product.benefits.end(), PaysOnDeath))
        return TwoLifeFault{Field::Lives, "a reversionary status pays annuities (and pure "
                                          "endowments) only, no death benefit"};
    (void)first;
    return std::nullopt;
}

Life GoverningLife(const TableRegistry& tables, const Life& first, const SecondLife& second) {
    const bool lastSurvivor =
        second.status == LifeStatus::LastSurvivor || second.premiumsLastSurvivor;
    if (!lastSurvivor && second.status == LifeStatus::Reversionary)
        return second.life;
    const bool firstLonger = YearsToTableEnd(tables, first) >= YearsToTableEnd(tables, second.life);
    return firstLonger == lastSurvivor ? first : second.life;
}

ProductFlows TwoLifeFlows(const TableRegistry& tables, const Life& first, const SecondLife& second,
                          const Basis& basis, const Product& product) {
    const int toEnd = YearsToTableEnd(tables, GoverningLife(tables, first, second));
    const int end = ProductEnd(product, toEnd);
    const bool withSlope = NeedsSlope(basis, product);
    const LifeColumns x = LongColumns(tables, first, basis, end, withSlope);
    const LifeColumns y = LongColumns(tables, second.life, basis, end, withSlope);
    const LifeColumns joint = JointColumns(x, y);
    const LifeColumns last = LastSurvivorColumns(x, y, joint);

    const bool anyLast = second.status == LifeStatus::LastSurvivor || second.premiumsLastSurvivor;
    const LifeColumns& inForce = anyLast                                     ? last
                                 : second.status == LifeStatus::Reversionary ? y
                                                                             : joint;
    std::vector<Part> benefitParts;
    switch (second.status) {
    case LifeStatus::Joint:
        benefitParts = {{&joint, 1.0}};
        break;
    case LifeStatus::LastSurvivor:
        benefitParts = {{&last, 1.0}};
        break;
    case LifeStatus::Reversionary:
        benefitParts = {{&y, 1.0}, {&joint, -1.0}};
        break;
    }
    const Part premiumPart{second.premiumsLastSurvivor ? &last : &joint, 1.0};

    ProductFlows flows;
    flows.columns = inForce;
    flows.premiumYears = PremiumYears(product, toEnd);
    flows.withMoments = benefitParts.size() == 1 && benefitParts[0].columns == &inForce &&
                        premiumPart.columns == &inForce;
    const std::size_t size = static_cast<std::size_t>(end) + 1;
    flows.years.benefit.assign(size, 0.0);
    flows.years.premium.assign(size, 0.0);
    flows.years.legEpv.assign(product.benefits.size(), 0.0);
    flows.claims.assign(size, 0.0);
    for (const Part& part : benefitParts) {
        const ProductFlows own = [&] {
            ProductFlows made;
            made.columns = *part.columns;
            made.years = ComputeYearValues(made.columns, basis, product, flows.premiumYears);
            return made;
        }();
        AddWeighted(flows.years.benefit, own.years.benefit, part, inForce);
        for (std::size_t i = 0; i < own.years.legEpv.size(); ++i)
            flows.years.legEpv[i] += part.sign * own.years.legEpv[i];
        if (part.columns == premiumPart.columns)
            AddWeighted(flows.years.premium, own.years.premium, premiumPart, inForce);
    }
    if (std::none_of(benefitParts.begin(), benefitParts.end(),
                     [&](const Part& part) { return part.columns == premiumPart.columns; }))
        AddWeighted(
            flows.years.premium,
            ComputeYearValues(*premiumPart.columns, basis, product, flows.premiumYears).premium,
            premiumPart, inForce);
    Product claims;
    for (BenefitLeg leg : product.benefits) {
        if (!PaysOnDeath(leg))
            continue;
        leg.kind = leg.kind == LegKind::Endowment ? LegKind::Term : leg.kind;
        leg.amount = 1.0;
        claims.benefits.push_back(leg);
    }
    if (!claims.benefits.empty())
        for (const Part& part : benefitParts)
            AddWeighted(flows.claims,
                        ComputeYearValues(*part.columns, basis, claims, flows.premiumYears).benefit,
                        part, inForce);
    return flows;
}
