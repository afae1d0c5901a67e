// tabulon-cli batch: prices one policy per CSV row and prints one CSV row of results each.
#include "CliOptions.h"

#include "CalculationRecord.h"
#include "FileException.h"
#include "TextFile.h"

#include <array>
#include <charconv>
#include <iostream>
#include <string>
#include <string_view>

namespace {

constexpr const char* kColumns = "kind,policy,table,age,term,rate,amount,given";

// The comma-separated fields of a row; more than kMaxFields are counted but not kept.
constexpr std::size_t kMaxFields = 9;
struct Fields {
    std::array<std::string_view, kMaxFields> text;
    std::size_t count = 0;
};

Fields SplitFields(std::string_view row) {
    Fields fields;
    for (;;) {
        const std::size_t comma = row.find(',');
        if (fields.count < kMaxFields)
            fields.text[fields.count] = row.substr(0, comma);
        ++fields.count;
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

void AppendNumber(std::string& out, std::size_t value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

void AppendNumber(std::string& out, int value) {
    char text[16];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

// Checks one row; on success fills kind and values, otherwise returns the reason. texts is
// reused from row to row, so its strings keep their room and a row allocates nothing.
std::string ReadRow(std::string_view row, PolicyTexts& texts, PolicyKind& kind,
                    CPolicyDialogData& values) {
    const Fields fields = SplitFields(row);
    if (fields.count != 8)
        return "expected 8 columns (" + std::string(kColumns) + "), found " +
               std::to_string(fields.count) + ".";
    if (!ParseKind(std::string(TrimBlanks(fields.text[0])), kind))
        return "kind: '" + ShownInMessage(fields.text[0]) +
               "' is not accepted; use insurance or pension.";
    texts.policy = TrimBlanks(fields.text[1]);
    texts.table = TrimBlanks(fields.text[2]);
    texts.age = fields.text[3];
    texts.term = fields.text[4];
    texts.rate = fields.text[5];
    texts.amount = fields.text[6];
    texts.given = TrimBlanks(fields.text[7]);
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
    PolicyTexts texts;
    int refused = 0;
    for (std::size_t i = 0; i < rows.GetCount(); ++i) {
        const std::string_view row = rows.GetAt(i);
        if (TrimBlanks(row).empty() || row.front() == '#' || (i == 0 && row.rfind("kind", 0) == 0))
            continue;
        PolicyKind kind = PolicyKind::Insurance;
        CPolicyDialogData values;
        const std::string failure = ReadRow(row, texts, kind, values);
        if (!failure.empty()) {
            std::cerr << "tabulon-cli: " << ShownInMessage(path) << ":" << i + 1 << ": " << failure
                      << '\n';
            ++refused;
            continue;
        }
        const bool pension = kind == PolicyKind::Pension;
        CopyToRecord(values, record);
        record.m_bNetIncome = 1; // the EDNI column comes from the net income
        record.Calculate(kind);

        AppendNumber(out, i + 1);
        out += pension ? ",pension," : ",insurance,";
        for (const int value : {record.m_nPolicyType, record.m_nTable, record.m_nAge, record.m_nTerm,
                                values.m_nRate}) {
            AppendNumber(out, value);
            out += ',';
        }
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
