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
    CPolicyDialogData values; // checked: every value lies in the dialog's ranges
    bool json = false;
    std::string journalPath; // empty: no journal file
};

// Reads the arguments after the program name. Returns an empty string on success,
// otherwise one line naming the option and what it accepts.
std::string ParseCommandLine(const std::vector<std::string>& args, CliRequest& request);

// Checks one policy's values given as texts, as the dialog does, and fills values.
// Field names are the option names. Returns the first failure, or an empty string.
struct PolicyTexts {
    std::string policy = "2";
    std::string table = "1";
    std::optional<std::string> age, term, rate, amount; // absent: the dialog's opening value
    std::string given = "amount";
};
std::string CheckPolicyTexts(PolicyKind kind, const PolicyTexts& texts, CPolicyDialogData& values);

// Parses "insurance" or "pension".
bool ParseKind(const std::string& text, PolicyKind& kind);

extern const char* const kUsage;
