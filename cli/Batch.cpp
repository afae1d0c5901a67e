// tabulon-cli batch: prices one policy per CSV row and prints one CSV row of results each.
#include "CliOptions.h"

#include "CalculationRecord.h"
#include "FileException.h"
#include "TextFile.h"

#include <charconv>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kColumns = "kind,policy,table,age,term,rate,amount,given";

std::vector<std::string_view> SplitFields(std::string_view row) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t comma = row.find(',');
        fields.push_back(row.substr(0, comma));
        if (comma == std::string_view::npos)
            return fields;
        row.remove_prefix(comma + 1);
    }
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

void AppendNumber(std::string& out, double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

// Checks one row; on success fills kind and values, otherwise returns the reason.
std::string ReadRow(std::string_view row, PolicyKind& kind, CPolicyDialogData& values) {
    const std::vector<std::string_view> fields = SplitFields(row);
    if (fields.size() != 8)
        return "expected 8 columns (" + std::string(kColumns) + "), found " +
               std::to_string(fields.size()) + ".";
    if (!ParseKind(std::string(TrimBlanks(fields[0])), kind))
        return "kind: '" + std::string(fields[0]) + "' is not accepted; use insurance or pension.";
    PolicyTexts texts;
    texts.policy = TrimBlanks(fields[1]);
    texts.table = TrimBlanks(fields[2]);
    texts.age = std::string(fields[3]);
    texts.term = std::string(fields[4]);
    texts.rate = std::string(fields[5]);
    texts.amount = std::string(fields[6]);
    texts.given = TrimBlanks(fields[7]);
    return CheckPolicyTexts(kind, texts, values);
}

} // namespace

int RunBatch(const std::string& path) {
    CStringList rows;
    try {
        ReadTextLines(path, rows);
    } catch (const CFileException& error) {
        std::cerr << "tabulon-cli: " << error.what() << '\n';
        return 1;
    }
    std::string out = "line,kind,policy,table,age,term,rate,amount,premium,unit_annual_pv,"
                      "unit_amount_pv,edni\n";
    CCalculationRecord record;
    int refused = 0;
    for (std::size_t i = 0; i < rows.GetCount(); ++i) {
        const std::string_view row = rows.GetAt(i);
        if (TrimBlanks(row).empty() || row.front() == '#' || (i == 0 && row.rfind("kind", 0) == 0))
            continue;
        PolicyKind kind = PolicyKind::Insurance;
        CPolicyDialogData values;
        const std::string failure = ReadRow(row, kind, values);
        if (!failure.empty()) {
            std::cerr << "tabulon-cli: " << path << ":" << i + 1 << ": " << failure << '\n';
            ++refused;
            continue;
        }
        const bool pension = kind == PolicyKind::Pension;
        CopyToRecord(values, record);
        record.LoadLivingColumn();
        record.ComputeLifeStatistics();
        record.ComputeTermQuantities();
        record.PricePolicy(pension);
        record.SolveAmountAndPremium();
        record.ComputeNetIncome(pension, {});

        out += std::to_string(i + 1);
        out += pension ? ",pension," : ",insurance,";
        out += std::to_string(record.m_nPolicyType) + "," + std::to_string(record.m_nTable) + "," +
               std::to_string(record.m_nAge) + "," + std::to_string(record.m_nTerm) + "," +
               std::to_string(values.m_nRate) + ",";
        for (const double value : {record.m_dAmount, record.m_dPremium, record.m_dUnitAnnualPV,
                                   record.m_dUnitAmountPV, record.m_dRunningSum}) {
            AppendNumber(out, value);
            out += ',';
        }
        out.back() = '\n';
        if (out.size() > (1 << 20)) {
            std::cout << out;
            out.clear();
        }
    }
    std::cout << out;
    std::cout.flush();
    if (!std::cout)
        return 1;
    return refused == 0 ? 0 : 2;
}
