// SPDX-License-Identifier: GPL-3.0-or-later
// A failed file operation, naming the file and the reason.
#pragma once

#include <stdexcept>
#include <string>

class CFileException : public std::runtime_error {
public:
    // action: what was being done ("open", "read", "save"); reason: why it failed.
    CFileException(std::string action, std::string fileName, std::string reason);

    const std::string& GetAction() const { return m_action; }
    const std::string& GetFileName() const { return m_strFileName; }
    const std::string& GetReason() const { return m_reason; }

    // Builds the exception from an errno value.
    static CFileException FromErrno(const std::string& action, const std::string& fileName,
                                    int error);

private:
    std::string m_action;
    std::string m_strFileName;
    std::string m_reason;
};
