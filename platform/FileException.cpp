#include "FileException.h"

#include <cstdio>
#include <cstring>

namespace {

// The file name as the message shows it: control bytes written as \xNN, so that the
// message stays one line whatever the name holds.
std::string Shown(const std::string& fileName) {
    std::string shown;
    for (const char c : fileName) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            shown += escape;
        } else {
            shown += c;
        }
    }
    return shown;
}

} // namespace

CFileException::CFileException(std::string action, std::string fileName, std::string reason)
    : std::runtime_error("Cannot " + action + " \"" + Shown(fileName) + "\": " + reason + "."),
      m_strFileName(std::move(fileName)), m_strReason(std::move(reason)) {}

CFileException CFileException::FromErrno(const std::string& action, const std::string& fileName,
                                         int error) {
    return CFileException(action, fileName, std::strerror(error));
}
