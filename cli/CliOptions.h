// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing and checking the command line of tabulon-cli.
#pragma once

#include "MessageText.h"
#include "PolicyDialog.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One priced policy as the command line asks for it.
struct CliRequest {
    enum class Action { Run, Help, Version };
    Action action = Action::Run;
    PolicyKind kind = PolicyKind::Insurance;
    PolicyDialogData values; // checked: every value lies in the dialog's ranges
    bool json = false;
    std::string journalPath; // empty: no journal file
    std::string tableFile;   // --table-file: the table read from it is the one used
};

// Reads the arguments after the program name. Returns an empty string on success,
// otherwise one line naming the option and what it accepts. An option that needs a value
// takes the next argument unless it starts with "--" (a forgotten value must not turn the
// next option into a file name); --journal=--name gives such a value. "--" ends the options.
// With --table-file the table is read and added to the tables; a file that cannot be read
// throws CFileException, a file that holds no valid table is refused like a bad value.
std::string ParseCommandLine(const std::vector<std::string>& args, CliRequest& request);

// The arguments of batch (args[0] is "batch"): one file name, "-" for standard input, and
// --jobs N. "--" ends the options, so that a file whose name starts with a dash can follow it.
struct BatchRequest {
    bool help = false;
    std::string path;
    int jobs = 1;
};
std::string ParseBatchCommandLine(const std::vector<std::string>& args, BatchRequest& request);

// The threads that --jobs asks rows to be priced on: 1 to kMaxJobs; when it is not given,
// one for each processor. Returns the refusal, naming the option and the value, or "".
constexpr int kMaxJobs = 256;
std::string ParseJobs(const std::optional<std::string>& text, int& jobs);

// Checks one policy's values given as texts, as the dialog does, and fills values.
// Field names are the option names. Returns the first failure, or an empty string.
struct PolicyTexts {
    std::string policy = "2";
    std::string table = "1";
    std::optional<std::string> age, term, rate, amount; // absent: the dialog's opening value
    std::string given = "amount";
    int tableCode = 0; // a table read from a file: its code, used instead of table
};
std::string CheckPolicyTexts(PolicyKind kind, const PolicyTexts& texts, PolicyDialogData& values);

// Reads the mortality table in the file at path and adds it to the tables; returns its code.
// Throws CFileException when the file cannot be read and TableFormatError when it holds no
// valid table.
int ImportTableFile(const std::string& path);

// Parses "insurance" or "pension".
bool ParseKind(const std::string& text, PolicyKind& kind);

// The text without its leading and trailing blanks and tabs.
std::string_view TrimBlanks(std::string_view text);

// A value as a message shows it, in single quotes: control bytes as \xNN, and no more than
// kShownValueBytes of it. A longer value is cut there (never inside a UTF-8 character) and
// followed by a note of its full length, so that a mistaken 10 MB field still makes a short
// message. length is the value's full length when text holds only its start.
constexpr std::size_t kShownValueBytes = 80;
std::string ShownValue(std::string_view text, std::size_t length);
inline std::string ShownValue(std::string_view text) {
    return ShownValue(text, text.size());
}

extern const char* const kUsage;
