// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliOptions.h"

#include "CalculationRecord.h"
#include "InputField.h"
#include "MortalityTables.h"
#include "TableFile.h"
#include "TableFormatError.h"

#include <algorithm>
#include <cstdio>
#include <thread>

const char* const kUsage =
    "Usage: tabulon-cli insurance|pension [options]\n"
    "       tabulon-cli batch FILE.csv|- [--jobs N]\n"
    "       tabulon-cli price --age X --benefit LEG... [options] (see price --help)\n"
    "Prices one policy and prints the report lines a calculation appends to the journal;\n"
    "batch prices one policy per CSV row (- reads standard input); its table column is\n"
    "1..4 or the path of a table file; --jobs N prices the rows on N threads (default:\n"
    "one for each processor), the results in input order.\n"
    "\n"
    "Options (defaults are the dialog's opening values):\n"
    "  --policy P     insurance: 1..3 or whole-life, term-life, endowment;\n"
    "                 pension: 1..2 or life-annuity, term-annuity (default 2)\n"
    "  --table T      1..4 or national-male, national-female, regional-male,\n"
    "                 regional-female (default 1)\n"
    "  --table-file F the mortality table in the CSV or XTbML file F instead\n"
    "  --age N        applicant's age in years, 0..106, or within the ages of the\n"
    "                 table file (default 60)\n"
    "  --term N       term in years, 0..50 for insurance, 0..100 for pensions,\n"
    "                 at least 1 for term life, endowment and term annuity (default 5)\n"
    "  --rate N       discount interest rate in whole percent, 0..100 (default 5)\n"
    "  --amount X     the amount given, 0..1000000000 (default 10000)\n"
    "  --given G      amount or premium (pension: payment too); default amount\n"
    "  --mortality    include the mortality table section\n"
    "  --net-income   include the distribution of the insurer's net income\n"
    "  --json         print one JSON object with the inputs and results instead\n"
    "  --journal FILE also append the lines to the journal FILE (created if missing)\n"
    "  -h, --help     show this text\n"
    "  --version      show the version\n"
    "  --             end of the options\n"
    "\n"
    "Exit status: 0 success, 1 a file could not be read or written, 2 bad arguments\n"
    "(for batch: 2 when a row was refused; the other rows are still priced).\n";

namespace {

// A list choice given as its 1-based code or its command-line name (nameOf(code)); sets
// the 0-based index.
template <class NameOf>
std::string CheckChoice(const std::string& text, const std::string& option, int count,
                        NameOf nameOf, int& index) {
    for (int code = 1; code <= count; ++code) {
        if (text == nameOf(code)) {
            index = code - 1;
            return {};
        }
    }
    std::string accepted;
    for (int code = 1; code <= count; ++code)
        accepted += (code > 1 ? ", " : "") + std::string(nameOf(code));
    int code = 0;
    const std::string failure = CheckIntegerField(text, option, 1, count, code);
    if (!failure.empty())
        return option + ": " + ShownValue(text) + " is not accepted; use 1.." +
               std::to_string(count) + " or one of " + accepted + ".";
    index = code - 1;
    return {};
}

// A number out of range is named in the message as it was typed; a long one is cut.
std::string WithLongNumberCut(std::string failure, std::string_view text) {
    const std::string_view number = TrimBlanks(text);
    const std::size_t at =
        number.size() > kShownValueBytes ? failure.find(number) : std::string::npos;
    if (at != std::string::npos)
        failure.replace(at, number.size(), ShownValue(number));
    return failure;
}

// The options that take no value; "--json=1" is refused rather than read as --json.
constexpr const char* kFlags[] = {"--help", "--version", "--mortality", "--net-income", "--json"};

// The refusal of an argument that gives a value to an option taking none, or an empty string.
std::string ValueGivenToAFlag(std::string_view arg) {
    const std::size_t equals = arg.find('=');
    if (arg.rfind("--", 0) != 0 || equals == std::string_view::npos)
        return {};
    const std::string_view option = arg.substr(0, equals);
    for (const char* flag : kFlags)
        if (option == flag)
            return std::string(option) + ": takes no value.";
    return {};
}

std::string FormatDefault(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", value);
    return text;
}

} // namespace

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::string ShownValue(std::string_view text, std::size_t length) {
    if (length <= kShownValueBytes && text.size() == length)
        return "'" + ShownInMessage(text) + "'";
    std::size_t cut = std::min(text.size(), kShownValueBytes);
    // Back to the start of a UTF-8 character: continuation bytes are 10xxxxxx.
    for (std::size_t back = 0; back < 3 && cut > 0 && cut < text.size() &&
                               (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80;
         ++back)
        --cut;
    return "'" + ShownInMessage(text.substr(0, cut)) + "...' (the first " + std::to_string(cut) +
           " of " + std::to_string(length) + " bytes)";
}

int ImportTableFile(const std::string& path) {
    const MortalityTableData data = ReadMortalityTableFile(path);
    const std::vector<double> living = LivingByAge(data);
    // LivingByAge closes the table with l(last + 1) = 0; the calculation closes it itself.
    return AddMortalityTable(data.name, data.firstAge,
                             std::span<const double>(living).first(living.size() - 1));
}

bool ParseKind(const std::string& text, PolicyKind& kind) {
    for (const PolicyKind candidate : {PolicyKind::Insurance, PolicyKind::Pension}) {
        if (text == KindCommandName(candidate)) {
            kind = candidate;
            return true;
        }
    }
    return false;
}

std::string CheckPolicyTexts(PolicyKind kind, const PolicyTexts& texts, PolicyDialogData& values) {
    const CCalculationRecord defaults;
    const bool insurance = kind == PolicyKind::Insurance;
    const auto orDefault = [](const std::optional<std::string>& text, const std::string& fallback) {
        return text.value_or(fallback);
    };
    // Imported tables are given by their file, never by code or name.
    const auto checkTable = [&texts, &values] {
        if (texts.tableCode > 0) {
            values.m_nTableIndex = texts.tableCode - 1;
            return std::string();
        }
        return CheckChoice(
            texts.table, "--table", kTableCount,
            [](int code) { return MortalityTableOf(code).commandName; }, values.m_nTableIndex);
    };
    // The age lies within the chosen table's ages; before a table is known, the built-in ones'.
    int firstAge = 0, lastAge = policy_limits::kMaxAge;
    if (checkTable().empty()) {
        const MortalityTable& table = MortalityTableOf(values.m_nTableIndex + 1);
        firstAge = table.firstAge;
        lastAge = table.lastAge;
    }
    std::string failure;
    // Checked in the dialog's order: age, amount, rate, the lists, then the term.
    failure = CheckIntegerField(orDefault(texts.age, std::to_string(defaults.m_nAge)), "--age",
                                firstAge, lastAge, values.m_nAge);
    if (failure.empty()) {
        const std::string amount = orDefault(texts.amount, FormatDefault(defaults.m_fAmount));
        failure = WithLongNumberCut(
            CheckSingleField(amount, "--amount", 0.0f, policy_limits::kMaxAmount, values.m_fAmount),
            amount);
    }
    if (failure.empty())
        failure = CheckIntegerField(orDefault(texts.rate, std::to_string((int)defaults.m_dRate)),
                                    "--rate", 0, policy_limits::kMaxRate, values.m_nRate);
    if (failure.empty())
        failure = checkTable();
    if (failure.empty())
        failure = CheckChoice(
            texts.policy, "--policy", PolicyCount(kind),
            [kind](int code) { return PolicyOf(kind, code).commandName; }, values.m_nPolicyIndex);
    if (failure.empty())
        failure = CheckIntegerField(orDefault(texts.term, std::to_string(defaults.m_nTerm)),
                                    "--term", policy_limits::MinTerm(kind, values.m_nPolicyIndex),
                                    policy_limits::MaxTerm(kind), values.m_nTerm);
    if (failure.empty()) {
        if (texts.given == "amount")
            values.m_nInputKind = 1;
        else if (texts.given == "premium" || (!insurance && texts.given == "payment"))
            values.m_nInputKind = 2;
        else
            failure = "--given: " + ShownValue(texts.given) + " is not accepted; use amount or " +
                      (insurance ? "premium." : "payment (or premium).");
    }
    return failure;
}

std::string ParseCommandLine(const std::vector<std::string>& args, CliRequest& request) {
    if (args.empty())
        return "missing command: use insurance or pension (see --help).";
    PolicyTexts texts;
    std::size_t i = 0;
    if (const std::string refusal = ValueGivenToAFlag(args[0]); !refusal.empty())
        return refusal;
    if (args[0] == "--help" || args[0] == "-h") {
        request.action = CliRequest::Action::Help;
        return {};
    }
    if (args[0] == "--version") {
        request.action = CliRequest::Action::Version;
        return {};
    }
    if (!ParseKind(args[0], request.kind))
        return "unknown command " + ShownValue(args[0]) +
               ": use insurance or pension (see --help).";
    const bool insurance = request.kind == PolicyKind::Insurance;
    bool tableGiven = false;
    for (i = 1; i < args.size(); ++i) {
        std::string option = args[i];
        std::string value;
        bool hasValue = false;
        if (option == "--") {
            // Nothing follows the options of a calculation.
            if (i + 1 < args.size())
                return "unknown argument " + ShownValue(args[i + 1]) +
                       " after --: a calculation takes options only (see --help).";
            break;
        }
        const std::size_t equals = option.find('=');
        if (option.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = option.substr(equals + 1);
            option = option.substr(0, equals);
            hasValue = true;
        }
        // needs: what the option takes, for the message when its value is missing.
        const auto takeValue = [&](auto& target, const char* needs) -> std::string {
            if (!hasValue) {
                if (i + 1 >= args.size())
                    return option + " needs " + needs + "; none was given.";
                if (args[i + 1].rfind("--", 0) == 0)
                    return option + " needs " + needs + ", not the option " +
                           ShownValue(args[i + 1]) + " (a value that starts with -- is given as " +
                           option + "=VALUE).";
                value = args[++i];
            }
            target = value;
            return {};
        };
        const auto isFlag = [&](const char* name) { return option == name; };
        std::string failure;
        if (const std::string refusal = ValueGivenToAFlag(args[i]); !refusal.empty())
            return refusal;
        if (isFlag("--help") || isFlag("-h")) {
            request.action = CliRequest::Action::Help;
            return {};
        } else if (isFlag("--version")) {
            request.action = CliRequest::Action::Version;
            return {};
        } else if (isFlag("--mortality") || isFlag("--net-income") || isFlag("--json")) {
            if (option == "--mortality")
                request.values.m_bMortality = 1;
            else if (option == "--net-income")
                request.values.m_bNetIncome = 1;
            else
                request.json = true;
        } else if (isFlag("--policy")) {
            failure = takeValue(texts.policy, "a policy type");
        } else if (isFlag("--table")) {
            failure = takeValue(texts.table, "a mortality table");
        } else if (isFlag("--table-file")) {
            failure = takeValue(request.tableFile, "a mortality table file");
            if (failure.empty() && request.tableFile.empty())
                failure = "--table-file: the file name is empty.";
        } else if (isFlag("--age")) {
            failure = takeValue(texts.age, "an age in years");
        } else if (isFlag("--term")) {
            failure = takeValue(texts.term, "a term in years");
        } else if (isFlag("--rate")) {
            failure = takeValue(texts.rate, "a rate in whole percent");
        } else if (isFlag("--amount")) {
            failure = takeValue(texts.amount, "an amount");
        } else if (isFlag("--given")) {
            failure = takeValue(texts.given, insurance ? "amount or premium" : "amount or payment");
        } else if (isFlag("--journal")) {
            failure = takeValue(request.journalPath, "a file name");
            if (failure.empty() && request.journalPath.empty())
                failure = "--journal: the file name is empty.";
        } else {
            return "unknown option " + ShownValue(option) + " (see --help).";
        }
        if (!failure.empty())
            return failure;
        if (option == "--table")
            tableGiven = true;
    }
    if (!request.tableFile.empty()) {
        if (tableGiven)
            return "--table and --table-file: give one mortality table, not both.";
        try {
            texts.tableCode = ImportTableFile(request.tableFile);
        } catch (const TableFormatError& error) {
            return error.what();
        }
    }
    return CheckPolicyTexts(request.kind, texts, request.values);
}

std::string ParseBatchCommandLine(const std::vector<std::string>& args, BatchRequest& request) {
    bool optionsEnded = false, haveFile = false;
    std::optional<std::string> jobs;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg.rfind("--help=", 0) == 0)
            return "--help: takes no value.";
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            request.help = true;
            return {};
        } else if (!optionsEnded && (arg == "--jobs" || arg.rfind("--jobs=", 0) == 0)) {
            if (jobs)
                return "--jobs: given twice.";
            if (arg.size() > 6)
                jobs = arg.substr(7);
            else if (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0)
                jobs = args[++i];
            else
                return "--jobs: needs a number of threads.";
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return "unknown option " + ShownValue(arg) +
                   " for batch (a file whose name starts with a dash goes after --).";
        } else if (haveFile) {
            return "unknown argument " + ShownValue(arg) +
                   ": batch takes one file name (see --help).";
        } else {
            request.path = arg;
            haveFile = true;
        }
    }
    if (!haveFile)
        return "missing file name: tabulon-cli batch FILE.csv, or - for standard input.";
    return ParseJobs(jobs, request.jobs);
}

std::string ParseJobs(const std::optional<std::string>& text, int& jobs) {
    jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (text && (!ParseInteger(*text, jobs) || jobs < 1 || jobs > kMaxJobs))
        return "--jobs: " + ShownValue(*text) + " is not accepted; use 1 to " +
               std::to_string(kMaxJobs) + " threads.";
    return {};
}
