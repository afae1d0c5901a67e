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
#include "TableFile.h"
#include "TableFormatError.h"
#include "Valuation.h"

#include <array>
#include <cerrno>
#include <iostream>
#include <map>
#include <optional>

namespace {

// The columns a header row may name, as the options are named.
constexpr std::array<const char*, 9> kColumns = {"age",     "table",        "rate",
                                                 "benefit", "premium-term", "premium-frequency",
                                                 "premium", "fractional",   "policy-values"};
constexpr std::size_t kOutputBytes = 1 << 16;
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
    for (std::size_t i = 0; i < row.FieldCount() && i < CsvReader::kKeptFields; ++i) {
        const std::string_view name = TrimBlanks(row.At(i).text);
        const auto found = std::find(kColumns.begin(), kColumns.end(), name);
        if (found == kColumns.end() ||
            std::find(columns.begin(), columns.end(), found - kColumns.begin()) != columns.end())
            return "the header names columns once each from age, table, rate, benefit, "
                   "premium-term, premium-frequency, premium, fractional, policy-values; " +
                   ShownValue(name) + " is not one of them or comes twice.";
        columns.push_back(static_cast<int>(found - kColumns.begin()));
    }
    if (row.FieldCount() > CsvReader::kKeptFields)
        return "the header has more columns than the nine there are.";
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
        const std::string name = kColumns[columns[i]];
        if (field.length > field.text.size())
            return name + ": " + ShownValue(field.text, field.length) +
                   " is too long for any value.";
        if (TrimBlanks(field.text).empty())
            continue;
        std::optional<std::string>* const targets[] = {
            &texts.age,     &texts.table,       &texts.rate,
            nullptr,        &texts.premiumTerm, &texts.premiumFrequency,
            &texts.premium, &texts.fractional,  nullptr};
        if (name == "benefit") {
            for (std::size_t start = 0;;) {
                const std::size_t end = field.text.find(';', start);
                texts.benefits.push_back(field.text.substr(start, end - start));
                if (end == std::string::npos)
                    break;
                start = end + 1;
            }
        } else if (name == "policy-values") {
            const std::string_view answer = TrimBlanks(field.text);
            if (answer != "yes" && answer != "no")
                return "policy-values: " + ShownValue(field.text) +
                       " is not accepted; use yes or no.";
            texts.policyValues = answer == "yes";
        } else {
            *targets[columns[i]] = field.text;
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

} // namespace

int RunPriceBatch(const std::string& path) {
    const bool standardInput = path == "-";
    const std::string name = ShownInMessage(standardInput ? kStandardInputName : path);
    try {
        std::optional<FileDescriptor> file;
        if (!standardInput) {
            struct stat st {};
            file.emplace(OpenPlainFileToRead(path, st));
        }
        std::string out;
        CsvReader reader(file ? file->Get() : STDIN_FILENO, name, [&out] { Flush(out); });
        TableRegistry tables;
        std::map<std::string, std::string> fileFailures; // path -> why it was refused
        std::map<std::string, int> fileIds;
        const TableFileLookup readTable = [&](const std::string& tablePath, int& id) {
            if (const auto known = fileIds.find(tablePath); known != fileIds.end()) {
                id = known->second;
                return std::string();
            }
            if (const auto refused = fileFailures.find(tablePath); refused != fileFailures.end())
                return refused->second;
            try {
                id = tables.Add(ReadMortalityTableFile(tablePath));
                fileIds.emplace(tablePath, id);
                return std::string();
            } catch (const CFileException& error) {
                return fileFailures.emplace(tablePath, error.what()).first->second;
            } catch (const TableFormatError& error) {
                return fileFailures.emplace(tablePath, error.what()).first->second;
            }
        };
        std::optional<std::vector<int>> columns;
        PriceTexts texts;
        PriceInputs inputs;
        int refused = 0;
        while (reader.Next()) {
            std::string failure;
            if (!columns) {
                columns.emplace();
                failure = ReadHeader(reader, *columns);
                if (!failure.empty()) {
                    std::cerr << "tabulon-cli: " << name << ":" << reader.Line() << ": " << failure
                              << '\n';
                    return 2;
                }
                continue;
            }
            failure = ReadTexts(reader, *columns, texts);
            if (failure.empty() && texts.table && NamesTableFile(*texts.table)) {
                texts.tableFile = std::string(TrimBlanks(*texts.table));
                texts.table.reset();
            }
            if (failure.empty())
                failure = CheckPriceTexts(texts, tables, readTable, "", inputs);
            if (!failure.empty()) {
                std::cerr << "tabulon-cli: " << name << ":" << reader.Line() << ": " << failure
                          << '\n';
                ++refused;
                continue;
            }
            const Valuation value = ValueProduct(tables, inputs.life, inputs.basis, inputs.product,
                                                 inputs.policyValues);
            out += PriceJson(inputs, value, reader.Line());
            out += '\n';
            if (out.size() >= kOutputBytes)
                Flush(out);
        }
        Flush(out);
        return refused == 0 ? 0 : 2;
    } catch (const CFileException& error) {
        std::cerr << "tabulon-cli: " << error.what() << '\n';
        return 1;
    }
}
