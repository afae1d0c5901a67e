// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of tabulon-cli: arguments made of arbitrary bytes (split at NUL bytes).
// Properties:
//  - an accepted command line yields values inside the dialog's ranges;
//  - a refused one yields one non-empty line that names the option or the command;
//  - a table file that cannot be read is a file error naming the file, in one line;
//  - the integer and number syntax agree with a plain reading of the same rules
//    (blanks, optional sign, digits, for numbers a point and an exponent).
#include "CliOptions.h"
#include "FileException.h"
#include "FuzzCheck.h"
#include "InputField.h"
#include "MortalityTables.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return std::string(text);
}

// Blanks, an optional sign, digits only, blanks; the value must fit an int.
bool ReadInteger(std::string_view text, int& value) {
    const std::string s = Trimmed(text);
    std::size_t i = s.empty() || (s[0] != '+' && s[0] != '-') ? 0 : 1;
    if (i == s.size())
        return false;
    for (std::size_t j = i; j < s.size(); ++j)
        if (!IsDigit(s[j]))
            return false;
    errno = 0;
    const long long parsed = std::strtoll(s.c_str(), nullptr, 10);
    if (errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

// Blanks, an optional sign, digits with an optional point (a digit on at least one side),
// an optional exponent with digits, blanks.
bool ReadNumber(std::string_view text, float& value) {
    const std::string s = Trimmed(text);
    std::size_t i = s.empty() || (s[0] != '+' && s[0] != '-') ? 0 : 1;
    std::size_t mantissa = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i)
        ++mantissa;
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && IsDigit(s[i]); ++i)
            ++mantissa;
    if (mantissa == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        std::size_t exponent = 0;
        for (; i < s.size() && IsDigit(s[i]); ++i)
            ++exponent;
        if (exponent == 0)
            return false;
    }
    if (i != s.size())
        return false;
    value = std::strtof(s.c_str(), nullptr);
    return true;
}

void CheckNumberSyntax(const std::string& text) {
    int expectedInt = 0, parsedInt = 0;
    const bool intExpected = ReadInteger(text, expectedInt);
    FUZZ_CHECK(ParseInteger(text, parsedInt) == intExpected, "integer '%s' read as %s",
               text.c_str(), intExpected ? "refused" : "accepted");
    FUZZ_CHECK(!intExpected || parsedInt == expectedInt, "integer '%s' read as %d, expected %d",
               text.c_str(), parsedInt, expectedInt);
    float expectedFloat = 0, parsedFloat = 0;
    const bool floatExpected = ReadNumber(text, expectedFloat);
    FUZZ_CHECK(ParseSingle(text, parsedFloat) == floatExpected, "number '%s' read as %s",
               text.c_str(), floatExpected ? "refused" : "accepted");
    FUZZ_CHECK(!floatExpected || parsedFloat == expectedFloat ||
                   (std::isnan(parsedFloat) && std::isnan(expectedFloat)),
               "number '%s' read as %.9g, expected %.9g", text.c_str(), parsedFloat, expectedFloat);
}

void CheckAccepted(const CliRequest& request) {
    if (request.action != CliRequest::Action::Run)
        return;
    const PolicyDialogData& v = request.values;
    const PolicyKind kind = request.kind;
    FUZZ_CHECK(v.m_nAge >= 0 && v.m_nAge <= policy_limits::kMaxAge, "age %d", v.m_nAge);
    FUZZ_CHECK(v.m_fAmount >= 0 && v.m_fAmount <= policy_limits::kMaxAmount, "amount %.9g",
               v.m_fAmount);
    FUZZ_CHECK(v.m_nRate >= 0 && v.m_nRate <= policy_limits::kMaxRate, "rate %d", v.m_nRate);
    FUZZ_CHECK(v.m_nTableIndex >= 0 && v.m_nTableIndex < MortalityTableCount(), "table %d",
               v.m_nTableIndex);
    FUZZ_CHECK(v.m_nPolicyIndex >= 0 && v.m_nPolicyIndex < policy_limits::PolicyCount(kind),
               "policy %d", v.m_nPolicyIndex);
    FUZZ_CHECK(v.m_nTerm >= policy_limits::MinTerm(kind, v.m_nPolicyIndex) &&
                   v.m_nTerm <= policy_limits::MaxTerm(kind),
               "term %d for policy %d", v.m_nTerm, v.m_nPolicyIndex);
    FUZZ_CHECK(v.m_nInputKind == 1 || v.m_nInputKind == 2, "input kind %d", v.m_nInputKind);
    FUZZ_CHECK(v.m_bMortality == 0 || v.m_bMortality == 1, "mortality flag %d", v.m_bMortality);
    FUZZ_CHECK(v.m_bNetIncome == 0 || v.m_bNetIncome == 1, "net-income flag %d", v.m_bNetIncome);
}

void CheckRefusal(const std::string& message) {
    FUZZ_CHECK(!message.empty(), "empty message");
    FUZZ_CHECK(message.find('\n') == std::string::npos && message.find('\r') == std::string::npos,
               "message of more than one line: %s", message.c_str());
    const bool namesIt = message.rfind("--", 0) == 0 || message.rfind("unknown ", 0) == 0 ||
                         message.rfind("missing ", 0) == 0;
    FUZZ_CHECK(namesIt, "message names no option: %s", message.c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args;
    std::string current;
    for (std::size_t i = 0; i < size && args.size() < 64; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    if (args.size() < 64)
        args.push_back(current);

    for (const std::string& arg : args) {
        CheckNumberSyntax(arg);
        const std::size_t equals = arg.find('=');
        if (equals != std::string::npos)
            CheckNumberSyntax(arg.substr(equals + 1));
    }

    CliRequest request;
    std::string message;
    try {
        message = ParseCommandLine(args, request);
    } catch (const CFileException& error) {
        const std::string text = error.what();
        FUZZ_CHECK(error.GetFileName() == request.tableFile, "file error about '%s', not '%s'",
                   error.GetFileName().c_str(), request.tableFile.c_str());
        FUZZ_CHECK(text.find('\n') == std::string::npos, "file error of more than one line: %s",
                   text.c_str());
        return 0;
    }
    if (message.empty())
        CheckAccepted(request);
    else
        CheckRefusal(message);
    // An imported table stays for the run that asked for it, not for the next input.
    while (MortalityTableCount() > kTableCount)
        RemoveMortalityTable(MortalityTableCount());
    return 0;
}
