// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the report lines of one calculation per input line, as tabulon-cli prints them for
// a single run, all in one process: the helper of tools/report-hash, which hashes millions
// of report lines to show that a change leaves every byte of the reports as it was.
// Input lines: kind (I or P), policy index, table index, age, term, rate, amount, input
// kind, mortality flag, net-income flag, separated by blanks; the values must lie in the
// dialog's ranges.
#include "TabulonDoc.h"

#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

int main() {
    std::ios::sync_with_stdio(false);
    CTabulonDoc doc;
    doc.OnNewDocument();
    std::string input;
    std::string out;
    while (std::getline(std::cin, input)) {
        std::istringstream fields(input);
        char kind = 0;
        std::string amount;
        PolicyDialogData values;
        fields >> kind >> values.m_nPolicyIndex >> values.m_nTableIndex >> values.m_nAge >>
            values.m_nTerm >> values.m_nRate >> amount >> values.m_nInputKind >>
            values.m_bMortality >> values.m_bNetIncome;
        if (!fields || (kind != 'I' && kind != 'P')) {
            std::cerr << "report_dump: cannot read '" << input << "'\n";
            return 2;
        }
        // Read as the command line reads a number: straight into single precision.
        values.m_fAmount = std::strtof(amount.c_str(), nullptr);
        const std::size_t first = doc.GetLines()->GetCount();
        doc.RunCalculation(kind == 'I' ? PolicyKind::Insurance : PolicyKind::Pension, values);
        const CStringList& lines = *doc.GetLines();
        for (std::size_t i = first; i < lines.GetCount(); ++i) {
            out += lines.GetAt(i);
            out += '\n';
        }
        if (lines.GetCount() > 100000)
            doc.OnNewDocument();
        if (out.size() > (1 << 20)) {
            std::cout << out;
            out.clear();
        }
    }
    std::cout << out;
    std::cout.flush();
    return std::cout ? 0 : 1;
}
