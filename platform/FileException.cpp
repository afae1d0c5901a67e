// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileException.h"

#include "MessageText.h"

#include <cstring>

CFileException::CFileException(std::string action, std::string fileName, std::string reason)
    : std::runtime_error("Cannot " + action + " \"" + ShownInMessage(fileName) + "\": " + reason +
                         "."),
      m_action(std::move(action)), m_strFileName(std::move(fileName)), m_reason(std::move(reason)) {
}

CFileException CFileException::FromErrno(const std::string& action, const std::string& fileName,
                                         int error) {
    return CFileException(action, fileName, std::strerror(error));
}
