// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileException.h"

#include "MessageText.h"

#include <cstring>

namespace {
std::string Message(const std::string& action, const std::string& fileName,
                    const std::string& reason) {
    return "Cannot " + action + " \"" + ShownInMessage(fileName) + "\": " + reason + ".";
}
} // namespace

CFileException::CFileException(std::string action, std::string fileName, std::string reason)
    : std::runtime_error(Message(action, fileName, reason)), m_action(std::move(action)),
      m_strFileName(std::move(fileName)), m_reason(std::move(reason)) {}

CFileException::CFileException(std::string action, std::string fileName, FileProblem problem,
                               std::string note)
    : CFileException(std::move(action), std::move(fileName), TextOf(problem) + note) {
    m_problem = problem;
    m_note = std::move(note);
}

CFileException CFileException::FromErrno(const std::string& action, const std::string& fileName,
                                         int error, const std::string& note) {
    CFileException exception(action, fileName, std::strerror(error) + note);
    exception.m_note = note;
    return exception;
}

const char* CFileException::TextOf(FileProblem problem) {
    switch (problem) {
    case FileProblem::System:
        break;
    case FileProblem::NotPlainFile:
        return "it is not a plain file";
    case FileProblem::NoFileName:
        return "no file name was given";
    case FileProblem::NotAJournal:
        return "it is not a journal (it holds NUL bytes)";
    case FileProblem::NoMemoryForLines:
        return "not enough memory for its lines";
    case FileProblem::NoMemoryToWrite:
        return "not enough memory to write it";
    case FileProblem::ReplacedByAnotherProgram:
        return "another program replaced it";
    case FileProblem::KeepsBeingReplaced:
        return "another program keeps replacing it";
    case FileProblem::LockedByAnotherProgram:
        return "another program holds it locked";
    case FileProblem::ChangedByAnotherProgram:
        return "another program changed it";
    case FileProblem::LargerThanATableFile:
        return "it is larger than 16 MB, more than a table file holds";
    }
    return "";
}
