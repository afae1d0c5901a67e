// tabulon-cli: the headless front end. Prices a policy and prints the report lines.
#include "CliOptions.h"
#include "FileException.h"
#include "JsonReport.h"
#include "TabulonDoc.h"
#include "TabulonVersion.h"

#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The dialog a calculation asks for: accepts at once with the values of the command line.
class CFixedDialog : public CPolicyDialog {
public:
    explicit CFixedDialog(const CPolicyDialogData& values) : m_values(values) {}
    int DoModal() override {
        static_cast<CPolicyDialogData&>(*this) = m_values;
        return IDOK;
    }

private:
    CPolicyDialogData m_values;
};

// A journal file that does not exist yet starts as a new journal with its two opening lines.
void OpenOrStartJournal(CTabulonDoc& doc, const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 && errno == ENOENT)
        doc.OnNewDocument();
    else
        doc.OpenFile(path);
}

int Run(const CliRequest& request) {
    CTabulonDoc doc;
    if (request.journalPath.empty())
        doc.OnNewDocument();
    else
        OpenOrStartJournal(doc, request.journalPath);

    CPolicyDialogData values = request.values;
    if (request.json)
        values.m_bNetIncome = 1; // the EDNI comes from the net-income rows
    doc.SetDialogFactory([&values](PolicyKind) { return std::make_unique<CFixedDialog>(values); });
    const std::size_t first = doc.GetLines()->GetCount();
    if (request.kind == PolicyKind::Insurance)
        doc.OnTypeInsurance();
    else
        doc.OnTypePension();

    if (!request.journalPath.empty())
        doc.SaveFile(request.journalPath);

    if (request.json) {
        std::cout << JsonReport(doc, request.kind) << '\n';
    } else {
        const CStringList& lines = *doc.GetLines();
        std::string out;
        for (std::size_t i = first; i < lines.GetCount(); ++i) {
            out += lines.GetAt(i);
            out += '\n';
        }
        std::cout << out;
    }
    std::cout.flush();
    return std::cout ? 0 : 1;
}

} // namespace

int RunBatch(const std::string& path);

int main(int argc, char** argv) {
    // A write past a file size limit must fail with an error, not end the process.
    std::signal(SIGXFSZ, SIG_IGN);
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "batch") {
        if (args.size() == 2 && (args[1] == "--help" || args[1] == "-h")) {
            std::cout << kUsage;
            return 0;
        }
        if (args.size() != 2) {
            std::cerr << "tabulon-cli: batch takes one file name: tabulon-cli batch FILE.csv\n";
            return 2;
        }
        return RunBatch(args[1]);
    }
    CliRequest request;
    const std::string failure = ParseCommandLine(args, request);
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
