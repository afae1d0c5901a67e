// SPDX-License-Identifier: GPL-3.0-or-later
// A table file that was read but does not hold a valid mortality table.
#pragma once

#include <stdexcept>
#include <string>

class TableFormatError : public std::runtime_error {
public:
    // problem: the first problem found and where it lies, e.g. "line 4: qx 1.5 lies
    // outside 0 to 1"; what() is one line naming the file and the problem.
    TableFormatError(std::string fileName, std::string problem);

    const std::string& GetFileName() const { return m_fileName; }
    const std::string& GetProblem() const { return m_problem; }

private:
    std::string m_fileName;
    std::string m_problem;
};
