// SPDX-License-Identifier: GPL-3.0-or-later
#include "XtbmlTable.h"

#include "TableFormatError.h"
#include "TableText.h"

#include <pugixml.hpp>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <exception>
#include <optional>
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

// What every parse of a table file uses: text is kept as the element's own value rather
// than a node of its own, so that a file of many cells takes less memory (text() reads it
// either way).
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_embed_pcdata;

constexpr std::string_view kValuesStart = "<Values>";
constexpr std::string_view kValuesEnd = "</Values>";
constexpr std::string_view kAxisEnd = "</Axis>";
// A piece larger than this (one <Axis> of a great many cells) would save little memory over
// the whole document and cost its copy: such a file is read whole.
constexpr std::size_t kLargestPiece = std::size_t{4} << 20;

// The ultimate table's cells, <Values><Axis><Y t="age">, one at a time: empty cells before
// the first value are skipped; ages are consecutive.
class UltimateCells {
public:
    UltimateCells(int scaling, MortalityTableData& table)
        : m_scaling(scaling), m_divisor(Divisor(scaling)), m_table(table) {}

    // Takes one cell into the table; returns "" or the problem, with the cell it lies in.
    std::string Add(const pugi::xml_node& cell) {
        const std::string_view ageText = Trimmed(cell.attribute("t").value());
        const std::string where = "<Y t=" + Quoted(ageText) + ">";
        const std::optional<int> age = table_text::WholeNumber(ageText);
        if (!age)
            return where + ": the age is not a whole number";
        const std::string_view text = Trimmed(cell.text().get());
        if (text.empty()) {
            if (m_table.values.empty())
                return {};
            return where + ": no value at age " + std::to_string(*age);
        }
        if (*age < kTableFirstAllowedAge || *age > kTableLastAllowedAge)
            return where + ": age " + std::to_string(*age) + " lies outside " +
                   std::to_string(kTableFirstAllowedAge) + " to " +
                   std::to_string(kTableLastAllowedAge);
        if (m_table.values.empty()) {
            m_table.firstAge = *age;
        } else if (*age != m_table.LastAge() + 1) {
            return where + ": age " + std::to_string(*age) + " follows age " +
                   std::to_string(m_table.LastAge()) + "; ages must be consecutive";
        }
        const std::optional<double> value = table_text::Number(text);
        if (!value)
            return where + ": " + Quoted(text) + " is not a number";
        const double q = *value / m_divisor;
        if (!(q >= 0.0 && q <= 1.0))
            return where + ": q " + Quoted(text) +
                   (m_scaling != 0 ? " / 10^" + std::to_string(m_scaling) : std::string()) +
                   " lies outside 0 to 1";
        m_table.values.push_back(q);
        return {};
    }

private:
    int m_scaling;
    double m_divisor;
    MortalityTableData& m_table;
};

// The select rates of a table by age and duration, one issue age at a time: <Values><Axis
// t="issue age"><Axis><Y t="duration">, durations 1, 2, ... in order. Empty cells may end
// a row (the table ends there); issue ages are consecutive. The first problem stops the
// reading and stays in problem.
class SelectRows {
public:
    explicit SelectRows(const pugi::xml_node& table) {
        m_divisor = Divisor(ScalingOf(table, m_problem));
    }

    void Add(const pugi::xml_node& ageAxis) {
        if (m_problem.empty())
            m_problem = AddAge(ageAxis);
    }

    // After the last issue age: "" or the first problem.
    const std::string& Finish() {
        if (m_problem.empty() && m_rates.rows.empty())
            m_problem = "the select table holds no rates";
        return m_problem;
    }

    SelectRates& Rates() { return m_rates; }

private:
    std::string AddAge(const pugi::xml_node& ageAxis) {
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
            const double q = *value / m_divisor;
            if (!(q >= 0.0 && q <= 1.0))
                return at + ": q " + Quoted(text) + " lies outside 0 to 1";
            row.push_back(q);
        }
        if (row.empty())
            return where + ": no select rates at issue age " + std::to_string(*age);
        if (m_rates.rows.empty())
            m_rates.firstAge = *age;
        else if (*age != m_rates.LastAge() + 1)
            return where + ": issue age " + std::to_string(*age) + " follows " +
                   std::to_string(m_rates.LastAge()) + "; issue ages must be consecutive";
        m_rates.period = std::max(m_rates.period, static_cast<int>(row.size()));
        m_rates.rows.push_back(std::move(row));
        return {};
    }

    std::string m_problem;
    double m_divisor = 1.0;
    SelectRates m_rates;
};

// The parts of a document read before any cell: the name, and which <Table> is the
// ultimate one and which the select one.
struct Outline {
    pugi::xml_node ultimate, select;
    std::size_t selectIndex = 0; // from 1
    std::size_t tableCount = 0;
    int scaling = 0; // the ultimate table's
};

// Reads the name into table and finds the tables; throws TableFormatError naming path.
Outline ReadOutline(const pugi::xml_document& document, const std::string& path,
                    MortalityTableData& table) {
    const auto refuse = [&path](const std::string& problem) {
        return TableFormatError(path, problem);
    };
    const pugi::xml_node root = document.document_element();
    if (std::strcmp(root.name(), "XTbML") != 0)
        throw refuse("the root element is " + Quoted(root.name()) + ", not <XTbML>");

    table.kind = MortalityTableData::Kind::Q;
    table.name = OneLine(root.child("ContentClassification").child("TableName").text().get());
    if (table.name.empty())
        throw refuse("<ContentClassification> has no <TableName>");

    // The ultimate table: the one <Table> with a single Age axis. Any other <Table> must be
    // a select table, by age and duration.
    const std::vector<pugi::xml_node> tables = Children(root, "Table");
    if (tables.empty())
        throw refuse("<XTbML> holds no <Table>");
    Outline outline;
    outline.tableCount = tables.size();
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const std::vector<std::string> axes = AxisIds(tables[i]);
        const std::string where = "<Table> " + std::to_string(i + 1);
        if (axes == std::vector<std::string>{"Age"}) {
            if (outline.ultimate)
                throw refuse(where + ": a second table by age alone");
            outline.ultimate = tables[i];
        } else if (tables.size() == 1 || axes != std::vector<std::string>{"Age", "Duration"}) {
            std::string shown;
            for (const std::string& axis : axes)
                shown += (shown.empty() ? "" : ", ") + Quoted(axis);
            throw refuse(where + ": its axes are " + (shown.empty() ? "none" : shown) +
                         "; a table by age alone is needed");
        } else if (!outline.select) {
            outline.select = tables[i];
            outline.selectIndex = i + 1;
        }
    }
    if (!outline.ultimate)
        throw refuse("no <Table> by age alone (the ultimate table)");
    if (tables.size() > 1)
        table.name += " (ultimate)";

    std::string problem;
    outline.scaling = ScalingOf(outline.ultimate, problem);
    if (!problem.empty())
        throw refuse(problem);
    return outline;
}

// After the ultimate table: takes the select rates read into table.select, or, when they
// cannot be used, says why in table.selectProblem (the ultimate rates serve either way).
void SettleSelectPart(SelectRows& rows, const Outline& outline, MortalityTableData& table) {
    std::string problem = rows.Finish();
    SelectRates& rates = rows.Rates();
    if (problem.empty() && outline.tableCount > 2)
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
        table.selectProblem = "<Table> " + std::to_string(outline.selectIndex) + ": " + problem;
}

// Reads the document with every node in memory at once.
MortalityTableData ReadWhole(std::string& bytes, const std::string& path) {
    const LineFeeds lineFeeds(bytes);
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer_inplace(bytes.data(), bytes.size(), kParseOptions);
    if (!parsed) {
        const auto offset = static_cast<std::size_t>(std::max<std::ptrdiff_t>(parsed.offset, 0));
        throw TableFormatError(path, "line " + std::to_string(lineFeeds.LineAt(offset)) +
                                         ": the XML is not well formed (" + parsed.description() +
                                         ")");
    }
    MortalityTableData table;
    const Outline outline = ReadOutline(document, path, table);
    UltimateCells cells(outline.scaling, table);
    for (const pugi::xml_node& cell : outline.ultimate.child("Values").child("Axis").children("Y"))
        if (const std::string problem = cells.Add(cell); !problem.empty())
            throw TableFormatError(path, problem);
    if (table.values.empty())
        throw TableFormatError(path, "the table by age holds no values (<Values><Axis><Y>)");
    if (outline.select) {
        SelectRows rows(outline.select);
        for (const pugi::xml_node& ageAxis : outline.select.child("Values").children("Axis"))
            rows.Add(ageAxis);
        SettleSelectPart(rows, outline, table);
    }
    return table;
}

// A <Values> element of the file written exactly so, from the first byte of its content
// to the "</Values>" that follows it; node is that element in the document without it.
struct Section {
    std::size_t begin = 0, end = 0;
    std::size_t outlineOffset = 0; // of its name in the document without sections
    pugi::xml_node node;
};

bool IsXmlBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Where the piece of a section's content that starts at `at` ends: after the last of a run
// of </Axis> end tags at least pieceBytes on, or at the section's end. A cut that is not
// between two elements of the section leaves a piece that does not parse (and the whole
// document is read at once).
std::size_t NextCut(std::string_view bytes, std::size_t at, std::size_t end,
                    std::size_t pieceBytes) {
    if (end - at <= pieceBytes)
        return end;
    const std::string_view content = bytes.substr(0, end);
    const std::size_t found = content.find(kAxisEnd, at + pieceBytes);
    if (found == std::string_view::npos)
        return end;
    std::size_t cut = found + kAxisEnd.size();
    for (;;) {
        std::size_t next = cut;
        while (next < end && IsXmlBlank(content[next]))
            ++next;
        if (content.substr(next).substr(0, kAxisEnd.size()) != kAxisEnd)
            return cut;
        cut = next + kAxisEnd.size();
    }
}

// Reads the document without holding a node for every cell at once. The content of each
// <Values> element (written exactly so) is parsed in pieces cut between its <Axis>
// elements, each piece inside a <Values> element of its own, and the rest of the document
// without that content. The result is what ReadWhole gives; nullopt when it cannot be
// shown to be (a piece or the rest does not parse, a "<Values>" is not an element's start,
// a zero byte, the document is not UTF-8): ReadWhole then decides. bytes stay as they are.
std::optional<MortalityTableData> ReadInPieces(const std::string& bytes, const std::string& path,
                                               const XtbmlPieces& pieces) {
    // The parser takes a zero byte for the end of its text: where the piece would end
    // early is not where the document does.
    if (bytes.find('\0') != std::string::npos)
        return std::nullopt;
    std::vector<Section> sections;
    std::size_t sectionBytes = 0;
    for (std::size_t at = bytes.find(kValuesStart); at != std::string::npos;
         at = bytes.find(kValuesStart, at)) {
        Section section;
        section.begin = at + kValuesStart.size();
        section.end = bytes.find(kValuesEnd, section.begin);
        if (section.end == std::string::npos)
            break;
        sectionBytes += section.end - section.begin;
        sections.push_back(section);
        at = section.end + kValuesEnd.size();
    }
    // The rest is copied: worth it only when the sections are most of the file.
    if (sections.empty() ||
        static_cast<double>(sectionBytes) < pieces.minShare * static_cast<double>(bytes.size()))
        return std::nullopt;

    std::string outlineText;
    outlineText.reserve(bytes.size() - sectionBytes);
    std::size_t copied = 0;
    for (Section& section : sections) {
        outlineText.append(bytes, copied, section.begin - copied);
        section.outlineOffset = outlineText.size() - kValuesStart.size() + 1;
        copied = section.end;
    }
    outlineText.append(bytes, copied);
    pugi::xml_document document;
    if (!document.load_buffer_inplace(outlineText.data(), outlineText.size(), kParseOptions))
        return std::nullopt;
    // Parsed where it lies (UTF-8), names point into outlineText; a document in another
    // encoding was converted first.
    const auto offsetOf = [&outlineText](const char* name) {
        const auto start = reinterpret_cast<std::uintptr_t>(outlineText.data());
        const auto at = reinterpret_cast<std::uintptr_t>(name);
        return at >= start && at - start < outlineText.size() ? static_cast<std::size_t>(at - start)
                                                              : std::string::npos;
    };
    if (offsetOf(document.document_element().name()) == std::string::npos)
        return std::nullopt;
    // Every section must be the content of a <Values> element, not text that looks like
    // one (in a comment, CDATA or an attribute).
    for (pugi::xml_node node = document.first_child(); node;) {
        if (node.type() == pugi::node_element && std::strcmp(node.name(), "Values") == 0) {
            const std::size_t offset = offsetOf(node.name());
            const auto found = std::lower_bound(
                sections.begin(), sections.end(), offset,
                [](const Section& s, std::size_t o) { return s.outlineOffset < o; });
            if (found != sections.end() && found->outlineOffset == offset)
                found->node = node;
        }
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling())
            node = node.parent();
        if (node)
            node = node.next_sibling();
    }
    for (const Section& section : sections)
        if (!section.node)
            return std::nullopt;

    // A refusal of the outline waits until every piece has parsed: a document that is not
    // well formed is refused as such, as ReadWhole does.
    MortalityTableData table;
    Outline outline;
    std::exception_ptr refusal;
    try {
        outline = ReadOutline(document, path, table);
    } catch (const TableFormatError&) {
        refusal = std::current_exception();
    }
    const pugi::xml_node ultimateValues = outline.ultimate.child("Values");
    const pugi::xml_node selectValues = outline.select.child("Values");
    UltimateCells cells(outline.scaling, table);
    std::string ultimateProblem;
    bool ultimateRead = false;
    std::optional<SelectRows> rows;
    if (outline.select)
        rows.emplace(outline.select);
    bool selectRead = false;

    std::string pieceText;
    pugi::xml_document piece;
    for (const Section& section : sections) {
        const bool ultimate = !refusal && ultimateValues && section.node == ultimateValues;
        const bool select = !refusal && selectValues && section.node == selectValues;
        ultimateRead = ultimateRead || ultimate;
        selectRead = selectRead || select;
        bool firstAxis = true; // the ultimate table's cells are those of its first <Axis>
        for (std::size_t at = section.begin; at < section.end;) {
            const std::size_t cut = NextCut(bytes, at, section.end, pieces.pieceBytes);
            if (cut - at > kLargestPiece)
                return std::nullopt;
            pieceText.assign(kValuesStart);
            pieceText.append(bytes, at, cut - at);
            pieceText.append(kValuesEnd);
            if (!piece.load_buffer_inplace(pieceText.data(), pieceText.size(), kParseOptions,
                                           pugi::encoding_utf8))
                return std::nullopt;
            // An end tag written otherwise ("</Values >") that closes the piece's <Values>
            // early, then another element the last end tag closes, leaves a second element.
            if (piece.document_element() != piece.first_child() ||
                piece.document_element().next_sibling())
                return std::nullopt;
            for (const pugi::xml_node& axis : piece.document_element().children("Axis")) {
                if (ultimate && firstAxis)
                    for (const pugi::xml_node& cell : axis.children("Y"))
                        if (ultimateProblem.empty())
                            ultimateProblem = cells.Add(cell);
                if (select)
                    rows->Add(axis);
                firstAxis = false;
            }
            at = cut;
        }
    }
    piece.reset();
    if (refusal)
        std::rethrow_exception(refusal);

    // Tables whose <Values> was not a section are whole in the outline.
    if (!ultimateRead)
        for (const pugi::xml_node& cell : ultimateValues.child("Axis").children("Y"))
            if (ultimateProblem.empty())
                ultimateProblem = cells.Add(cell);
    if (!ultimateProblem.empty())
        throw TableFormatError(path, ultimateProblem);
    if (table.values.empty())
        throw TableFormatError(path, "the table by age holds no values (<Values><Axis><Y>)");
    if (rows) {
        if (!selectRead)
            for (const pugi::xml_node& ageAxis : selectValues.children("Axis"))
                rows->Add(ageAxis);
        SettleSelectPart(*rows, outline, table);
    }
    return table;
}

} // namespace

MortalityTableData ParseXtbmlTable(std::string_view bytes, const std::string& path,
                                   const XtbmlPieces& pieces) {
    std::string copy(bytes);
    return ParseXtbmlTableInPlace(copy, path, pieces);
}

MortalityTableData ParseXtbmlTableInPlace(std::string& bytes, const std::string& path,
                                          const XtbmlPieces& pieces) {
    if (bytes.size() >= pieces.from) {
        std::optional<MortalityTableData> table = ReadInPieces(bytes, path, pieces);
        if (table)
            return std::move(*table);
    }
    return ReadWhole(bytes, path);
}
