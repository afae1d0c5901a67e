// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProductRun.h"

#include "MortalityTableData.h"
#include "MortalityTables.h"
#include "ProductCheck.h"
#include "ProductReport.h"

ProductDialogValues DefaultProductValues() {
    ProductDialogValues values;
    BenefitLeg leg;
    leg.kind = LegKind::WholeLife;
    leg.amount = 10000.0;
    values.product.benefits.push_back(leg);
    return values;
}

bool ProductTables(int tableCode, TableRegistry& tables, int& id) {
    tables = TableRegistry();
    if (tableCode < 1 || tableCode > MortalityTableCount())
        return false;
    if (tableCode <= kTableCount) {
        id = tableCode;
        return true;
    }
    // An imported table joins the registry as a file's numbers living would.
    const MortalityTable& table = MortalityTableOf(tableCode);
    MortalityTableData data;
    data.name = table.journalName;
    data.firstAge = table.firstAge;
    data.kind = MortalityTableData::Kind::L;
    data.values.assign(table.living.begin() + table.firstAge,
                       table.living.begin() + table.lastAge + 1);
    id = tables.Add(data);
    return true;
}

bool ValueProductRun(const ProductDialogValues& values, ProductResult& result) {
    TableRegistry tables;
    Life life;
    life.issueAge = values.age;
    if (!ProductTables(values.tableCode, tables, life.tableId))
        return false;
    if (FindProductFault(tables, life, values.basis, values.product))
        return false;
    const RegisteredTable& table = *tables.Find(life.tableId);
    result.values = values;
    result.life = life;
    result.tableName = table.name;
    // The policy values are always computed: the Charts window draws them.
    result.value = ValueProduct(tables, life, values.basis, values.product, true);
    result.survival.clear();
    const double start = table.Living(life.issueAge);
    for (int age = life.issueAge; age <= table.lastAge + 1; ++age)
        result.survival.push_back(table.Living(age) / start);
    return true;
}

std::vector<std::string> ProductReportLines(const ProductResult& result) {
    const std::string text =
        ProductReportText(result.life, result.values.basis, result.values.product, result.tableName,
                          result.value, result.values.distribution, result.values.policyValues);
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
