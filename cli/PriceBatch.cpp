// SPDX-License-Identifier: GPL-3.0-or-later
#include "PriceBatch.h"

#include "CliOptions.h"
#include "CsvReader.h"
#include "FileDescriptor.h"
#include "FileException.h"
#include "MessageText.h"
#include "MortalityTables.h"
#include "PriceOptions.h"
#include "PriceReport.h"
#include "Pricing.h"
#include "TableFile.h"
#include "TableFileCache.h"
#include "TableFormatError.h"
#include "WorkerPool.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <iostream>
#include <optional>
#include <vector>

namespace {

// The columns a header row may name, as the options are named, and where each one's text
// goes; the yes/no columns and the benefit legs are read apart.
struct Column {
    const char* name;
    std::optional<std::string> PriceTexts::*text;
};
constexpr std::array<Column, 15> kColumns = {{
    {"age", &PriceTexts::age},
    {"table", &PriceTexts::table},
    {"rate", &PriceTexts::rate},
    {"benefit", nullptr},
    {"premium-term", &PriceTexts::premiumTerm},
    {"premium-frequency", &PriceTexts::premiumFrequency},
    {"premium", &PriceTexts::premium},
    {"fractional", &PriceTexts::fractional},
    {"policy-values", nullptr},
    {"select", nullptr},
    {"second-age", &PriceTexts::secondAge},
    {"second-table", &PriceTexts::secondTable},
    {"lives", &PriceTexts::lives},
    {"premium-status", &PriceTexts::premiumStatus},
    {"expenses", &PriceTexts::expenses},
}};
static_assert(kColumns.size() <= CsvReader::kKeptFields, "a row keeps every column");
constexpr std::size_t kOutputBytes = 1 << 16;
// Rows read before they are priced together, and the rows a pricing thread takes at a time.
constexpr std::size_t kRowsAtOnce = 1024;
constexpr std::size_t kRowsPerRun = 32;
constexpr const char* kStandardInputName = "(standard input)";

void Flush(std::string& out) {
    if (!WriteAll(STDOUT_FILENO, out.data(), out.size()))
        throw CFileException::FromErrno("write", "standard output", errno);
    out.clear();
}

// The header row: which option each column gives, or why it cannot be read.
std::string ReadHeader(const CsvReader& row, std::vector<int>& columns) {
    if (row.Fault() != nullptr)
        return row.Fault();
    columns.clear();
    for (std::size_t i = 0; i < row.FieldCount() && i < kColumns.size(); ++i) {
        const std::string_view name = TrimBlanks(row.At(i).text);
        const auto found =
            std::find_if(kColumns.begin(), kColumns.end(),
                         [name](const Column& column) { return name == column.name; });
        if (found == kColumns.end() ||
            std::find(columns.begin(), columns.end(), found - kColumns.begin()) != columns.end()) {
            std::string names;
            for (const Column& column : kColumns)
                names += std::string(names.empty() ? "" : ", ") + column.name;
            return "the header names columns once each from " + names + "; " + ShownValue(name) +
                   " is not one of them or comes twice.";
        }
        columns.push_back(static_cast<int>(found - kColumns.begin()));
    }
    if (row.FieldCount() > kColumns.size())
        return "the header has more columns than the " + std::to_string(kColumns.size()) +
               " there are.";
    return {};
}

// One row's texts by the header's columns; empty fields keep the defaults.
std::string ReadTexts(const CsvReader& row, const std::vector<int>& columns, PriceTexts& texts) {
    if (row.Fault() != nullptr)
        return row.Fault();
    if (row.FieldCount() != columns.size())
        return "expected " + std::to_string(columns.size()) +
               " columns as the header names, found " + std::to_string(row.FieldCount()) + ".";
    texts = PriceTexts();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const CsvReader::Field& field = row.At(i);
        const Column& column = kColumns[columns[i]];
        const std::string name = column.name;
        if (field.length > field.text.size())
            return name + ": " + ShownValue(field.text, field.length) +
                   " is too long for any value.";
        if (TrimBlanks(field.text).empty())
            continue;
        if (column.text != nullptr) {
            texts.*column.text = field.text;
        } else if (name == "benefit") {
            for (std::size_t start = 0;;) {
                const std::size_t end = field.text.find(';', start);
                texts.benefits.push_back(field.text.substr(start, end - start));
                if (end == std::string::npos)
                    break;
                start = end + 1;
            }
        } else {
            const std::string_view answer = TrimBlanks(field.text);
            if (answer != "yes" && answer != "no")
                return name + ": " + ShownValue(field.text) + " is not accepted; use yes or no.";
            (name == "select" ? texts.select : texts.policyValues) = answer == "yes";
        }
    }
    return {};
}

// A table column that is not a whole number or a built-in table's name is a file's path.
bool NamesTableFile(const std::string& table) {
    const std::string_view text = TrimBlanks(table);
    if (text.find_first_not_of("0123456789+- ") == std::string_view::npos)
        return false;
    for (int code = 1; code <= kTableCount; ++code)
        if (text == MortalityTableOf(code).commandName)
            return false;
    return true;
}

// A table column that names a file moves to the file's column, which is returned; nullptr
// when the column is empty or names a built-in table.
const std::optional<std::string>* TakeTableFile(std::optional<std::string>& table,
                                                std::optional<std::string>& tableFile) {
    if (!table || !NamesTableFile(*table))
        return nullptr;
    tableFile = std::string(TrimBlanks(*table));
    table.reset();
    return &tableFile;
}

// Rows read and not yet written: their texts, then their JSON line or why they were refused.
struct PendingRow {
    std::size_t line = 0;
    PriceTexts texts;
    std::string failure;
    std::string json;
};

// Checks and values rows[from] to rows[to - 1]. The tables are only read.
void PriceRows(std::vector<PendingRow>& rows, std::size_t from, std::size_t to,
               const TableRegistry& tables, const TableFileCache& files) {
    const TableFileLookup lookup = [&files](const std::string& path, int& id) {
        const TableFileCache::Entry* const file = files.Find(path);
        if (file == nullptr)
            return "table: " + ShownValue(path) + " was not read.";
        id = file->code;
        return file->code == 0 ? file->failure : std::string();
    };
    PriceInputs inputs;
    for (std::size_t i = from; i < to; ++i) {
        PendingRow& row = rows[i];
        if (row.failure.empty())
            row.failure = CheckPriceTexts(row.texts, tables, lookup, "", inputs);
        if (!row.failure.empty())
            continue;
        const PricedProduct value =
            PriceProduct(tables, inputs.life, inputs.second, inputs.basis, inputs.product,
                         inputs.expenses, inputs.policyValues);
        row.json.clear();
        row.json += PriceJson(inputs, value, row.line);
    }
}

} // namespace

int RunPriceBatch(const std::string& path, int jobs) {
    const bool standardInput = path == "-";
    const std::string name = ShownInMessage(standardInput ? kStandardInputName : path);
    try {
        std::optional<FileDescriptor> file;
        if (!standardInput) {
            struct stat st {};
            file.emplace(OpenPlainFileToRead(path, st));
        }
        std::string out;
        TableRegistry tables;
        TableFileCache files(tables);
        std::vector<PendingRow> rows(kRowsAtOnce);
        WorkerPool pool(static_cast<std::size_t>(jobs));
        std::size_t pending = 0;
        int refused = 0;
        // Prices the pending rows on `jobs` threads (this one among them) and writes them out
        // in input order; the rows' tables were read before.
        const auto priceAndWrite = [&] {
            pool.RunSplit(pending, kRowsPerRun, [&](std::size_t from, std::size_t to, std::size_t) {
                PriceRows(rows, from, to, tables, files);
            });
            for (std::size_t i = 0; i < pending; ++i) {
                if (!rows[i].failure.empty()) {
                    std::cerr << "tabulon-cli: " << name << ":" << rows[i].line << ": "
                              << rows[i].failure << '\n';
                    ++refused;
                    continue;
                }
                out += rows[i].json;
                out += '\n';
                if (out.size() >= kOutputBytes)
                    Flush(out);
            }
            pending = 0;
        };
        // Before waiting for more input, what was read is priced and written.
        CsvReader reader(file ? file->Get() : STDIN_FILENO, name, [&] {
            priceAndWrite();
            Flush(out);
        });
        std::optional<std::vector<int>> columns;
        while (reader.Next()) {
            if (!columns) {
                columns.emplace();
                const std::string failure = ReadHeader(reader, *columns);
                if (!failure.empty()) {
                    std::cerr << "tabulon-cli: " << name << ":" << reader.Line() << ": " << failure
                              << '\n';
                    return 2;
                }
                continue;
            }
            PendingRow& row = rows[pending];
            row.line = reader.Line();
            row.failure = ReadTexts(reader, *columns, row.texts);
            if (row.failure.empty()) {
                // Table files are read here, on this thread. Files that would push out one
                // the pending rows use wait until those rows are written.
                const std::optional<std::string>* const named[] = {
                    TakeTableFile(row.texts.table, row.texts.tableFile),
                    TakeTableFile(row.texts.secondTable, row.texts.secondTableFile)};
                std::size_t unread = 0;
                for (const auto* file : named)
                    unread += file != nullptr && files.Find(**file) == nullptr;
                if (pending > 0 && files.Size() + unread > TableFileCache::kKept) {
                    const std::size_t at = pending;
                    priceAndWrite();
                    std::swap(rows[0], rows[at]);
                }
                const PriceTexts& texts = rows[pending].texts; // row, wherever it went
                for (const auto* file : {&texts.tableFile, &texts.secondTableFile})
                    if (*file)
                        files.Get(**file);
            }
            ++pending;
            if (pending == rows.size())
                priceAndWrite();
        }
        priceAndWrite();
        Flush(out);
        return refused == 0 ? 0 : 2;
    } catch (const CFileException& error) {
        std::cerr << "tabulon-cli: " << error.what() << '\n';
        return 1;
    }
}
