// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProductRun.h"

#include "MortalityTables.h"
#include "Pricing.h"
#include "ProductCheck.h"
#include "ProductReport.h"
#include "SelectLife.h"

#include <algorithm>

namespace {

ImportedTableFile& TableFileLookup() {
    static ImportedTableFile lookup;
    return lookup;
}

struct Shipped {
    ShippedTablesReader reader;
    std::optional<std::vector<MortalityTableData>> tables;
};
Shipped& ShippedTables() {
    static Shipped shipped;
    return shipped;
}

// The imported or shipped table's whole file when it has select rates, else nullptr.
const MortalityTableData* SelectFile(int tableCode) {
    const MortalityTableData* data = nullptr;
    if (tableCode < 0)
        data = ShippedTable(tableCode);
    else if (tableCode > kTableCount && TableFileLookup())
        data = TableFileLookup()(tableCode);
    return data && data->select.period > 0 ? data : nullptr;
}

// Adds the desktop's table of tableCode to tables and returns its id; 0 when there is none.
int AddTable(int tableCode, TableRegistry& tables) {
    if (!ProductTableExists(tableCode))
        return 0;
    if (tableCode < 0)
        return tables.Add(*ShippedTable(tableCode));
    if (tableCode <= kTableCount)
        return tableCode;
    // A select table joins with its select and ultimate rates, as its file holds them.
    if (const MortalityTableData* file = SelectFile(tableCode))
        return tables.Add(*file);
    // Any other imported table joins as a file's numbers living would.
    const MortalityTable& table = MortalityTableOf(tableCode);
    MortalityTableData data;
    data.name = table.journalName;
    data.firstAge = table.firstAge;
    data.kind = MortalityTableData::Kind::L;
    data.values.assign(table.living.begin() + table.firstAge,
                       table.living.begin() + table.lastAge + 1);
    return tables.Add(data);
}

// tp of life for t = 0..years: on its own table (the select table of a select life), 0 past
// its end.
std::vector<double> SurvivalOf(const TableRegistry& tables, const Life& life, int years) {
    const RegisteredTable& registered = *tables.Find(life.tableId);
    const LifeTable lifeTable(registered, life);
    const RegisteredTable& table = lifeTable.Get();
    const int last = LastAgeOfLife(registered, life);
    std::vector<double> survival;
    const double start = table.Living(life.issueAge);
    for (int t = 0; t <= years; ++t) {
        const int age = life.issueAge + t;
        survival.push_back(age <= last + 1 ? table.Living(age) / start : 0.0);
    }
    return survival;
}

int YearsToEnd(const TableRegistry& tables, const Life& life) {
    return LastAgeOfLife(*tables.Find(life.tableId), life) + 1 - life.issueAge;
}

ProductRunFault FromProductFault(const ProductFault& fault) {
    using Field = ProductRunFault::Field;
    Field field = Field::Age;
    switch (fault.field) {
    case ProductFault::Field::Table:
        field = Field::Table;
        break;
    case ProductFault::Field::Age:
        field = Field::Age;
        break;
    case ProductFault::Field::Rate:
        field = Field::Rate;
        break;
    case ProductFault::Field::Benefit:
        field = Field::Benefit;
        break;
    case ProductFault::Field::PremiumTerm:
        field = Field::PremiumTerm;
        break;
    case ProductFault::Field::PremiumFrequency:
        field = Field::PremiumFrequency;
        break;
    case ProductFault::Field::Premium:
        field = Field::Premium;
        break;
    }
    return {field, fault.leg, fault.reason};
}

} // namespace

ProductDialogValues DefaultProductValues() {
    ProductDialogValues values;
    BenefitLeg leg;
    leg.kind = LegKind::WholeLife;
    leg.amount = 10000.0;
    values.product.benefits.push_back(leg);
    return values;
}

void SetImportedTableFile(ImportedTableFile lookup) {
    TableFileLookup() = std::move(lookup);
}

int SelectPeriodOf(int tableCode) {
    const MortalityTableData* file = SelectFile(tableCode);
    return file && file->selectProblem.empty() ? file->select.period : 0;
}

void SetShippedTables(ShippedTablesReader reader) {
    ShippedTables() = Shipped{std::move(reader), std::nullopt};
}

const MortalityTableData* ShippedTable(int tableCode) {
    Shipped& shipped = ShippedTables();
    if (!shipped.tables)
        shipped.tables = shipped.reader ? shipped.reader() : std::vector<MortalityTableData>();
    const std::size_t index = static_cast<std::size_t>(-1 - static_cast<long>(tableCode));
    return tableCode < 0 && index < shipped.tables->size() ? &(*shipped.tables)[index] : nullptr;
}

bool ProductTableExists(int tableCode) {
    return tableCode < 0 ? ShippedTable(tableCode) != nullptr
                         : tableCode >= 1 && tableCode <= MortalityTableCount();
}

bool ProductTables(const ProductDialogValues& values, TableRegistry& tables, Life& first,
                   std::optional<SecondLife>& second) {
    tables = TableRegistry();
    second.reset();
    first = Life();
    first.issueAge = values.age;
    first.select = values.select;
    first.tableId = AddTable(values.tableCode, tables);
    if (first.tableId == 0)
        return false;
    if (!values.twoLives)
        return true;
    SecondLife& other = second.emplace();
    other.life.issueAge = values.secondAge;
    other.life.tableId = values.secondTableCode == values.tableCode
                             ? first.tableId
                             : AddTable(values.secondTableCode, tables);
    other.status = values.status;
    other.premiumsLastSurvivor = values.premiumsLastSurvivor;
    return other.life.tableId != 0;
}

std::optional<ProductRunFault> FindProductRunFault(const ProductDialogValues& values) {
    using Field = ProductRunFault::Field;
    TableRegistry tables;
    Life life;
    std::optional<SecondLife> second;
    if (!ProductTables(values, tables, life, second)) {
        const bool firstMissing = !ProductTableExists(values.tableCode);
        return ProductRunFault{firstMissing ? Field::Table : Field::SecondTable, -1,
                               "there is no such table"};
    }
    const RegisteredTable& table = *tables.Find(life.tableId);
    if (const auto fault = SelectFault(table, life))
        return ProductRunFault{table.select.period == 0 ? Field::Select : Field::Age, -1, *fault};
    Life governing = life;
    if (second) {
        // The first life's table and age, with a leg any life can have.
        Product plain;
        plain.benefits.push_back(BenefitLeg{});
        if (const auto fault = FindProductFault(tables, life, values.basis, plain))
            return FromProductFault(*fault);
        if (const auto fault = FindTwoLifeFault(tables, life, *second, values.product)) {
            switch (fault->field) {
            case TwoLifeFault::Field::Table:
                return ProductRunFault{Field::SecondTable, -1, fault->reason};
            case TwoLifeFault::Field::Age:
                return ProductRunFault{Field::SecondAge, -1, fault->reason};
            case TwoLifeFault::Field::Lives:
                return ProductRunFault{Field::Lives, -1, fault->reason};
            }
        }
        governing = GoverningLife(tables, life, *second);
    }
    if (const auto fault = FindProductFault(tables, governing, values.basis, values.product))
        return FromProductFault(*fault);
    if (const auto fault = FindExpensesFault(values.expenses))
        return ProductRunFault{Field::Expenses, -1, *fault};
    return std::nullopt;
}

bool ValueProductRun(const ProductDialogValues& values, ProductResult& result) {
    if (FindProductRunFault(values))
        return false;
    TableRegistry tables;
    Life life;
    std::optional<SecondLife> second;
    ProductTables(values, tables, life, second);
    const RegisteredTable& table = *tables.Find(life.tableId);
    result.values = values;
    result.life = life;
    result.second = second;
    result.tableName = table.name;
    result.secondTableName = second ? tables.Find(second->life.tableId)->name : std::string();
    result.selectPeriod = life.select ? table.select.period : 0;
    // The policy values are always computed: the Charts window draws them.
    PricedProduct priced =
        PriceProduct(tables, life, second, values.basis, values.product, values.expenses, true);
    result.value = std::move(priced.net);
    result.gross = std::move(priced.gross);
    int years = YearsToEnd(tables, life);
    if (second)
        years = std::max(years, YearsToEnd(tables, second->life));
    result.survival = SurvivalOf(tables, life, years);
    result.secondSurvival =
        second ? SurvivalOf(tables, second->life, years) : std::vector<double>();
    return true;
}

std::vector<std::string> ProductReportLines(const ProductResult& result) {
    ReportAdditions additions;
    if (result.second)
        additions.secondLife = SecondLifeReportText(*result.second, result.secondTableName);
    if (result.values.expenses.Any()) {
        additions.expenses = ExpensesReportText(result.values.expenses);
        additions.expenseEpv = result.gross.expenseEpv;
        additions.grossPremium = result.gross.premium;
        additions.grossPolicyValues = &result.gross.policyValues;
    }
    const std::string text = ProductReportText(
        result.life, result.values.basis, result.values.product, result.tableName, result.value,
        result.values.distribution, result.values.policyValues, result.selectPeriod, additions);
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}
