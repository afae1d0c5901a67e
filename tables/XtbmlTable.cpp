// SPDX-License-Identifier: GPL-3.0-or-later
#include "XtbmlTable.h"

#include "TableFormatError.h"
#include "TableText.h"

#include <pugixml.hpp>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

using table_text::Quoted;
using table_text::Trimmed;

namespace {

// The largest power of ten a <ScalingFactor> may name (values per 10^9 at most).
constexpr int kMaxScalingFactor = 9;

std::vector<pugi::xml_node> Children(const pugi::xml_node& parent, const char* name) {
    std::vector<pugi::xml_node> children;
    for (const pugi::xml_node& child : parent.children(name))
        children.push_back(child);
    return children;
}

// The ids of a table's axes, <AxisDef id="Age"> and so on, in order.
std::vector<std::string> AxisIds(const pugi::xml_node& table) {
    std::vector<std::string> ids;
    for (const pugi::xml_node& axis : table.child("MetaData").children("AxisDef"))
        ids.emplace_back(axis.attribute("id").value());
    return ids;
}

// The text of an element with every run of blanks, line ends and control bytes made one
// blank, so that it reads as one line.
std::string OneLine(std::string_view text) {
    std::string line;
    bool blank = false;
    for (const char c : Trimmed(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127 || c == ' ') {
            blank = true;
            continue;
        }
        if (blank && !line.empty())
            line += ' ';
        blank = false;
        line += c;
    }
    return line;
}

// Which bytes are line feeds, one bit each: the parser changes the buffer as it goes, and
// a refusal names the line as the file has it.
class LineFeeds {
public:
    explicit LineFeeds(std::string_view bytes) : m_bits((bytes.size() + 63) / 64) {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            if (bytes[i] == '\n')
                m_bits[i / 64] |= std::uint64_t{1} << (i % 64);
    }
    // The line of the byte at offset, from 1.
    std::size_t LineAt(std::size_t offset) const {
        offset = std::min(offset, m_bits.size() * 64);
        std::size_t line = 1;
        for (std::size_t i = 0; i < offset / 64; ++i)
            line += static_cast<std::size_t>(std::popcount(m_bits[i]));
        if (offset % 64 != 0)
            line += static_cast<std::size_t>(
                std::popcount(m_bits[offset / 64] & ((std::uint64_t{1} << (offset % 64)) - 1)));
        return line;
    }

private:
    std::vector<std::uint64_t> m_bits;
};

// The table's <ScalingFactor> (0 when it has none); sets problem when it is not one.
int ScalingOf(const pugi::xml_node& table, std::string& problem) {
    const pugi::xml_node element = table.child("MetaData").child("ScalingFactor");
    if (!element)
        return 0;
    const std::optional<int> factor = table_text::WholeNumber(Trimmed(element.text().get()));
    if (!factor || *factor < 0 || *factor > kMaxScalingFactor) {
        problem = "<ScalingFactor> " + Quoted(Trimmed(element.text().get())) +
                  " is not a whole number from 0 to " + std::to_string(kMaxScalingFactor);
        return 0;
    }
    return *factor;
}

// 10^scaling, an exact power of ten, so that each value is rounded once.
double Divisor(int scaling) {
    double divisor = 1.0;
    for (int i = 0; i < scaling; ++i)
        divisor *= 10.0;
    return divisor;
}

// The select rates of a table by age and duration: <Values><Axis t="issue age"><Axis><Y
// t="duration">, durations 1, 2, ... in order. Empty cells may end a row (the table ends
// there); issue ages are consecutive. Returns "" or the first problem.
std::string ReadSelectRates(const pugi::xml_node& table, SelectRates& rates) {
    std::string problem;
    const int scaling = ScalingOf(table, problem);
    if (!problem.empty())
        return problem;
    const double divisor = Divisor(scaling);
    for (const pugi::xml_node& ageAxis : table.child("Values").children("Axis")) {
        const std::string_view ageText = Trimmed(ageAxis.attribute("t").value());
        const std::string where = "<Axis t=" + Quoted(ageText) + ">";
        const std::optional<int> age = table_text::WholeNumber(ageText);
        if (!age)
            return where + ": the issue age is not a whole number";
        if (*age < kTableFirstAllowedAge || *age > kTableLastAllowedAge)
            return where + ": issue age " + std::to_string(*age) + " lies outside " +
                   std::to_string(kTableFirstAllowedAge) + " to " +
                   std::to_string(kTableLastAllowedAge);
        std::vector<double> row;
        bool ended = false; // an empty cell was met
        for (const pugi::xml_node& cell : ageAxis.child("Axis").children("Y")) {
            const std::string_view durationText = Trimmed(cell.attribute("t").value());
            const std::string at = where + " <Y t=" + Quoted(durationText) + ">";
            const std::optional<int> duration = table_text::WholeNumber(durationText);
            if (!duration)
                return at + ": the duration is not a whole number";
            const std::string_view text = Trimmed(cell.text().get());
            if (text.empty()) {
                ended = true;
                continue;
            }
            if (ended)
                return at + ": a rate follows an empty cell";
            if (*duration != static_cast<int>(row.size()) + 1)
                return at + ": duration " + std::to_string(*duration) + " where " +
                       std::to_string(row.size() + 1) + " is due";
            const std::optional<double> value = table_text::Number(text);
            if (!value)
                return at + ": " + Quoted(text) + " is not a number";
            const double q = *value / divisor;
            if (!(q >= 0.0 && q <= 1.0))
                return at + ": q " + Quoted(text) + " lies outside 0 to 1";
            row.push_back(q);
        }
        if (row.empty())
            return where + ": no select rates at issue age " + std::to_string(*age);
        if (rates.rows.empty())
            rates.firstAge = *age;
        else if (*age != rates.LastAge() + 1)
            return where + ": issue age " + std::to_string(*age) + " follows " +
                   std::to_string(rates.LastAge()) + "; issue ages must be consecutive";
        rates.period = std::max(rates.period, static_cast<int>(row.size()));
        rates.rows.push_back(std::move(row));
    }
    if (rates.rows.empty())
        return "the select table holds no rates";
    return {};
}

// Reads the select table at <Table> index into table.select, or, when it cannot be used,
// says why in table.selectProblem: the ultimate rates serve either way.
void ReadSelectPart(const pugi::xml_node& select, std::size_t index, std::size_t tableCount,
                    MortalityTableData& table) {
    const std::string where = "<Table> " + std::to_string(index);
    SelectRates rates;
    std::string problem = ReadSelectRates(select, rates);
    if (problem.empty() && tableCount > 2)
        problem = "more than one select table";
    for (int x = rates.firstAge; problem.empty() && x <= rates.LastAge(); ++x) {
        const auto& row = rates.rows[static_cast<std::size_t>(x - rates.firstAge)];
        const int ultimateAge = x + static_cast<int>(row.size());
        if (static_cast<int>(row.size()) == rates.period && ultimateAge < table.firstAge)
            problem = "issue age " + std::to_string(x) + " reaches age " +
                      std::to_string(ultimateAge) + ", before the ultimate rates (from age " +
                      std::to_string(table.firstAge) + ")";
    }
    if (problem.empty())
        table.select = std::move(rates);
    else
        table.selectProblem = where + ": " + problem;
}

} // namespace

MortalityTableData ParseXtbmlTable(std::string_view bytes, const std::string& path) {
    std::string copy(bytes);
    return ParseXtbmlTableInPlace(copy, path);
}

MortalityTableData ParseXtbmlTableInPlace(std::string& bytes, const std::string& path) {
    const auto refuse = [&path](const std::string& problem) {
        return TableFormatError(path, problem);
    };

    // Text is kept as the element's own value rather than a node of its own: a file of many
    // cells takes less memory, and text() reads it either way.
    const LineFeeds lineFeeds(bytes);
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer_inplace(
        bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_embed_pcdata);
    if (!parsed) {
        const auto offset = static_cast<std::size_t>(std::max<std::ptrdiff_t>(parsed.offset, 0));
        throw refuse("line " + std::to_string(lineFeeds.LineAt(offset)) +
                     ": the XML is not well formed (" + parsed.description() + ")");
    }
    const pugi::xml_node root = document.document_element();
    if (std::strcmp(root.name(), "XTbML") != 0)
        throw refuse("the root element is " + Quoted(root.name()) + ", not <XTbML>");

    MortalityTableData table;
    table.kind = MortalityTableData::Kind::Q;
    table.name = OneLine(root.child("ContentClassification").child("TableName").text().get());
    if (table.name.empty())
        throw refuse("<ContentClassification> has no <TableName>");

    // The ultimate table: the one <Table> with a single Age axis. Any other <Table> must be
    // a select table, by age and duration.
    const std::vector<pugi::xml_node> tables = Children(root, "Table");
    if (tables.empty())
        throw refuse("<XTbML> holds no <Table>");
    pugi::xml_node ultimate, select;
    std::size_t selectIndex = 0;
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const std::vector<std::string> axes = AxisIds(tables[i]);
        const std::string where = "<Table> " + std::to_string(i + 1);
        if (axes == std::vector<std::string>{"Age"}) {
            if (ultimate)
                throw refuse(where + ": a second table by age alone");
            ultimate = tables[i];
        } else if (tables.size() == 1 || axes != std::vector<std::string>{"Age", "Duration"}) {
            std::string shown;
            for (const std::string& axis : axes)
                shown += (shown.empty() ? "" : ", ") + Quoted(axis);
            throw refuse(where + ": its axes are " + (shown.empty() ? "none" : shown) +
                         "; a table by age alone is needed");
        } else if (!select) {
            select = tables[i];
            selectIndex = i + 1;
        }
    }
    if (!ultimate)
        throw refuse("no <Table> by age alone (the ultimate table)");
    if (tables.size() > 1)
        table.name += " (ultimate)";

    std::string problem;
    const int scaling = ScalingOf(ultimate, problem);
    if (!problem.empty())
        throw refuse(problem);
    const double divisor = Divisor(scaling);

    const pugi::xml_node axis = ultimate.child("Values").child("Axis");
    for (const pugi::xml_node& cell : axis.children("Y")) {
        const std::string_view ageText = Trimmed(cell.attribute("t").value());
        const std::string where = "<Y t=" + Quoted(ageText) + ">";
        const std::optional<int> age = table_text::WholeNumber(ageText);
        if (!age)
            throw refuse(where + ": the age is not a whole number");
        const std::string_view text = Trimmed(cell.text().get());
        if (text.empty()) {
            if (table.values.empty())
                continue;
            throw refuse(where + ": no value at age " + std::to_string(*age));
        }
        if (*age < kTableFirstAllowedAge || *age > kTableLastAllowedAge)
            throw refuse(where + ": age " + std::to_string(*age) + " lies outside " +
                         std::to_string(kTableFirstAllowedAge) + " to " +
                         std::to_string(kTableLastAllowedAge));
        if (table.values.empty()) {
            table.firstAge = *age;
        } else if (*age != table.LastAge() + 1) {
            throw refuse(where + ": age " + std::to_string(*age) + " follows age " +
                         std::to_string(table.LastAge()) + "; ages must be consecutive");
        }
        const std::optional<double> value = table_text::Number(text);
        if (!value)
            throw refuse(where + ": " + Quoted(text) + " is not a number");
        const double q = *value / divisor;
        if (!(q >= 0.0 && q <= 1.0))
            throw refuse(where + ": q " + Quoted(text) +
                         (scaling != 0 ? " / 10^" + std::to_string(scaling) : std::string()) +
                         " lies outside 0 to 1");
        table.values.push_back(q);
    }
    if (table.values.empty())
        throw refuse("the table by age holds no values (<Values><Axis><Y>)");
    if (select)
        ReadSelectPart(select, selectIndex, tables.size(), table);
    return table;
}
