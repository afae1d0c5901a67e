// SPDX-License-Identifier: GPL-3.0-or-later
// tabulon-cli: the headless front end. Prices a policy and prints the report lines.
#include "Batch.h"
#include "CliOptions.h"
#include "FileDescriptor.h"
#include "FileException.h"
#include "JournalLock.h"
#include "JsonReport.h"
#include "MessageText.h"
#include "PriceCommand.h"
#include "TabulonDoc.h"
#include "TabulonVersion.h"
#include "TextFile.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Writes all of text to standard output; false with errno set when that fails.
bool WriteStandardOutput(const std::string& text) {
    return WriteAll(STDOUT_FILENO, text.data(), text.size());
}

// An earlier save of the journal that was cut short and dealt with, on standard error.
void TellInterruptedSave(CTabulonDoc& doc, const std::string& journal) {
    if (const std::optional<InterruptedSave> interrupted = doc.TakeInterruptedSave())
        std::cerr << "tabulon-cli: an earlier save of \"" << ShownInMessage(journal) << "\" was "
                  << (interrupted->completed
                          ? "interrupted while it rewrote the file; it was completed from "
                            "the recovery copy \""
                          : "interrupted before it changed the file; the file is as it was, "
                            "and the recovery copy was removed: \"")
                  << ShownInMessage(interrupted->recoveryFile) << "\"\n";
}

// The report goes to standard output before the journal is saved, so a report that could
// not be shown is not in the journal either, and running again does not add it twice. The
// journal is locked from reading it to saving it: runs on one journal take turns.
int Run(const CliRequest& request) {
    CTabulonDoc doc;
    std::optional<JournalLock> lock;
    if (request.journalPath.empty()) {
        doc.OnNewDocument();
    } else {
        lock.emplace(request.journalPath, "open");
        // A journal file that does not exist yet starts with the two opening lines.
        if (lock->Exists()) {
            doc.SetOpenRefusesNulBytes(true);
            doc.OpenFile(request.journalPath);
            TellInterruptedSave(doc, request.journalPath);
        } else {
            doc.OnNewDocument();
        }
    }

    PolicyDialogData values = request.values;
    if (request.json)
        values.m_bNetIncome = 1; // the EDNI comes from the net-income rows
    const std::size_t first = doc.GetLines()->GetCount();
    doc.RunCalculation(request.kind, values);

    // A save that cannot succeed (no permission, past the size limit) fails before the
    // report is shown.
    if (lock)
        CheckCanSave(request.journalPath, *doc.GetLines());

    std::string out;
    if (request.json) {
        out = JsonReport(doc, request.kind) + '\n';
    } else {
        const CStringList& lines = *doc.GetLines();
        for (std::size_t i = first; i < lines.GetCount(); ++i) {
            out += lines.GetAt(i);
            out += '\n';
        }
    }
    if (!WriteStandardOutput(out)) {
        std::cerr << "tabulon-cli: cannot write the report to standard output: "
                  << std::strerror(errno) << "; the journal was not saved\n";
        return 1;
    }
    if (lock) {
        doc.SaveFile(request.journalPath);
        TellInterruptedSave(doc, request.journalPath);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // A write past a file size limit must fail with an error, not end the process.
    std::signal(SIGXFSZ, SIG_IGN);
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "batch")
        return RunBatchCommand(args);
    if (!args.empty() && args[0] == "price")
        return RunPriceCommand(args);
    CliRequest request;
    std::string failure;
    try {
        failure = ParseCommandLine(args, request);
    } catch (const CFileException& error) { // the table file could not be read
        std::cerr << "tabulon-cli: " << error.what() << '\n';
        return 1;
    }
    if (!failure.empty()) {
        std::cerr << "tabulon-cli: " << failure << '\n';
        return 2;
    }
    if (request.action == CliRequest::Action::Help) {
        std::cout << kUsage;
        return 0;
    }
    if (request.action == CliRequest::Action::Version) {
        std::cout << "tabulon-cli " << kTabulonVersion << '\n';
        return 0;
    }
    try {
        return Run(request);
    } catch (const CFileException& error) {
        std::cerr << "tabulon-cli: " << error.what() << '\n';
        return 1;
    }
}
