// SPDX-License-Identifier: GPL-3.0-or-later
// tabulon-cli batch: rows are read, checked, priced and written one after another, so memory
// stays the same however many rows come, and rows arriving through a pipe are priced as
// they arrive.
#include "Batch.h"

#include "CalculationRecord.h"
#include "CliOptions.h"
#include "CsvReader.h"
#include "FileDescriptor.h"
#include "FileException.h"
#include "MortalityTables.h"
#include "TableFileCache.h"
#include "WorkerPool.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <fcntl.h>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kColumns = "kind,policy,table,age,term,rate,amount,given";
constexpr const char* kColumnNames[] = {"kind", "policy", "table",  "age",
                                        "term", "rate",   "amount", "given"};
constexpr std::size_t kColumnCount = 8;
constexpr const char* kResultColumns = "line,kind,policy,table,age,term,rate,amount,premium,"
                                       "unit_annual_pv,unit_amount_pv,edni\n";
constexpr const char* kStandardInputName = "(standard input)";

// Results are collected and written in pieces of about this size.
constexpr std::size_t kOutputBytes = 1 << 16;

// Standard output, written with write() so that a failure is seen and reported.
class ResultOutput {
public:
    ResultOutput() { m_text.reserve(kOutputBytes + 256); }
    std::string& Text() { return m_text; }
    void FlushWhenFull() {
        if (m_text.size() >= kOutputBytes)
            Flush();
    }
    void Flush() {
        if (!WriteAll(STDOUT_FILENO, m_text.data(), m_text.size()))
            throw CFileException::FromErrno("write", "standard output", errno);
        m_text.clear();
    }

private:
    std::string m_text;
};

// The input file, opened as the journal files are: a folder or a device is refused (a
// device such as /dev/zero would never end); a pipe is read as it comes.
class InputFile {
public:
    explicit InputFile(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (m_fd < 0)
            throw CFileException::FromErrno("open", path, errno);
        struct stat st {};
        if (::fstat(m_fd, &st) != 0)
            Fail(CFileException::FromErrno("open", path, errno));
        if (S_ISDIR(st.st_mode))
            Fail(CFileException::FromErrno("open", path, EISDIR));
        if (!S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode))
            Fail(CFileException("open", path, FileProblem::NotPlainFile));
    }
    ~InputFile() { ::close(m_fd); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    int Descriptor() const { return m_fd; }

private:
    [[noreturn]] void Fail(const CFileException& error) {
        ::close(m_fd);
        throw error;
    }
    int m_fd;
};

// A NaN is written as nan whatever its sign bit, which differs between processors, and a
// zero as 0 whatever its sign.
void AppendNumber(std::string& out, double value) {
    if (std::isnan(value)) {
        out += "nan";
        return;
    }
    if (value == 0)
        value = 0.0;
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

// A line that is not blank but holds only control bytes and blanks: no values at all.
bool HoldsOnlyControlBytes(const CsvReader& row) {
    const CsvReader::Field& first = row.At(0);
    if (row.FieldCount() != 1 || first.quoted || first.length != first.text.size())
        return false;
    for (const char c : first.text)
        if (c != ' ' && static_cast<unsigned char>(c) >= 32 && c != 127)
            return false;
    return true;
}

// A table column that is not a whole number or a built-in table's name is a file's path.
bool NamesTableFile(std::string_view table) {
    if (table.empty() || table.find_first_not_of("0123456789+-") == std::string_view::npos)
        return false;
    for (int code = 1; code <= kTableCount; ++code)
        if (table == MortalityTableOf(code).commandName)
            return false;
    return true;
}

void AppendCsvField(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

// Checks one row; on success fills kind and values, otherwise returns the reason. texts is
// reused from row to row, so its strings keep their room and a row allocates nothing.
std::string ReadRow(const CsvReader& row, PolicyTexts& texts, TableFileCache& tables,
                    PolicyKind& kind, PolicyDialogData& values) {
    if (row.Fault() != nullptr)
        return row.Fault();
    if (HoldsOnlyControlBytes(row))
        return "the line holds only control bytes, no values.";
    if (row.FieldCount() != kColumnCount)
        return "expected 8 columns (" + std::string(kColumns) + "), found " +
               std::to_string(row.FieldCount()) + ".";
    // No value is that long; only the field's start was kept.
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        const CsvReader::Field& field = row.At(i);
        if (field.length > field.text.size())
            return std::string(kColumnNames[i]) + ": " + ShownValue(field.text, field.length) +
                   " is too long for any value.";
    }
    if (!ParseKind(std::string(TrimBlanks(row.At(0).text)), kind))
        return "kind: " + ShownValue(row.At(0).text) +
               " is not accepted; use insurance or pension.";
    texts.policy = TrimBlanks(row.At(1).text);
    texts.table = TrimBlanks(row.At(2).text);
    texts.tableCode = 0;
    if (NamesTableFile(texts.table)) {
        const TableFileCache::Entry& file = tables.Get(texts.table);
        if (file.code == 0)
            return "table: " + file.failure;
        texts.tableCode = file.code;
    }
    texts.age = row.At(3).text;
    texts.term = row.At(4).text;
    texts.rate = row.At(5).text;
    texts.amount = row.At(6).text;
    texts.given = TrimBlanks(row.At(7).text);
    return CheckPolicyTexts(kind, texts, values);
}

// Prices one checked row with the calculation entry and appends its result row.
void PriceRow(std::size_t line, PolicyKind kind, const PolicyDialogData& values,
              std::string_view tableFile, CCalculationRecord& record, std::string& out) {
    const bool pension = kind == PolicyKind::Pension;
    CopyToRecord(values, record);
    record.m_bNetIncome = 1; // the EDNI column comes from the net income
    record.Calculate(kind);

    AppendNumber(out, line);
    out += pension ? ",pension," : ",insurance,";
    AppendNumber(out, record.m_nPolicyType);
    out += ',';
    // A table read from a file is shown as the row named it.
    if (tableFile.empty())
        AppendNumber(out, record.m_nTable);
    else
        AppendCsvField(out, tableFile);
    out += ',';
    for (const int value : {record.m_nAge, record.m_nTerm, values.m_nRate}) {
        AppendNumber(out, value);
        out += ',';
    }
    for (const double value : {record.m_dAmount, record.m_dPremium, record.m_dUnitAnnualPV,
                               record.m_dUnitAmountPV, record.m_dRunningSum}) {
        AppendNumber(out, value);
        out += ',';
    }
    out.back() = '\n';
}

// Rows read and not yet written: the checked values, or why the row was refused, and then
// the row's result.
struct PendingRow {
    std::size_t line = 0;
    std::string failure;
    PolicyKind kind = PolicyKind::Insurance;
    PolicyDialogData values;
    std::string tableFile; // the table file's path as the row named it; empty: built in
    std::string result;
};

// Rows read before they are priced together, and the rows a pricing thread takes at a time.
constexpr std::size_t kRowsAtOnce = 1024;
constexpr std::size_t kRowsPerRun = 32;

int RunBatch(const std::string& path, int jobs) {
    const bool standardInput = path == "-";
    const std::string name = standardInput ? kStandardInputName : path;
    const std::string shownName = ShownInMessage(name);
    try {
        std::unique_ptr<InputFile> file;
        if (!standardInput)
            file = std::make_unique<InputFile>(path);
        ResultOutput output;
        output.Text() += kResultColumns;
        PolicyTexts texts;
        TableFileCache tables;
        WorkerPool pool(static_cast<std::size_t>(jobs));
        std::vector<CCalculationRecord> records(pool.Count());
        std::vector<PendingRow> rows(kRowsAtOnce);
        std::size_t pending = 0;
        int refused = 0;
        // Prices the pending rows side by side, each thread with its own calculation record,
        // and writes them in input order. The tables are only read meanwhile.
        const auto priceAndWrite = [&] {
            pool.RunSplit(pending, kRowsPerRun,
                          [&](std::size_t from, std::size_t to, std::size_t t) {
                              for (std::size_t i = from; i < to; ++i) {
                                  PendingRow& row = rows[i];
                                  row.result.clear();
                                  if (row.failure.empty())
                                      PriceRow(row.line, row.kind, row.values, row.tableFile,
                                               records[t], row.result);
                              }
                          });
            for (std::size_t i = 0; i < pending; ++i) {
                if (!rows[i].failure.empty()) {
                    std::cerr << "tabulon-cli: " << shownName << ":" << rows[i].line << ": "
                              << rows[i].failure << '\n';
                    ++refused;
                    continue;
                }
                output.Text() += rows[i].result;
                output.FlushWhenFull();
            }
            pending = 0;
        };
        // Before waiting for more input, what was read is priced and written.
        CsvReader reader(file ? file->Descriptor() : STDIN_FILENO, name, [&] {
            priceAndWrite();
            output.Flush();
        });
        while (reader.Next()) {
            const bool header = reader.Line() == 1 && reader.At(0).text.rfind("kind", 0) == 0;
            if (header || reader.Blank())
                continue;
            // A table file that would push out one the pending rows use waits until they
            // are priced.
            if (pending > 0 && reader.FieldCount() == kColumnCount) {
                const std::string_view table = TrimBlanks(reader.At(2).text);
                if (NamesTableFile(table) && tables.WouldDrop(table))
                    priceAndWrite();
            }
            PendingRow& row = rows[pending++];
            row.line = reader.Line();
            row.failure = ReadRow(reader, texts, tables, row.kind, row.values);
            row.tableFile.assign(texts.tableCode > 0 ? std::string_view(texts.table)
                                                     : std::string_view());
            if (pending == rows.size())
                priceAndWrite();
        }
        priceAndWrite();
        output.Flush();
        return refused == 0 ? 0 : 2;
    } catch (const CFileException& error) {
        std::cerr << "tabulon-cli: " << error.what() << '\n';
        return 1;
    }
}

} // namespace

int RunBatchCommand(const std::vector<std::string>& args) {
    BatchRequest request;
    const std::string failure = ParseBatchCommandLine(args, request);
    if (!failure.empty()) {
        std::cerr << "tabulon-cli: " << failure << '\n';
        return 2;
    }
    if (request.help) {
        std::cout << kUsage << std::flush;
        return std::cout ? 0 : 1;
    }
    return RunBatch(request.path, request.jobs);
}
