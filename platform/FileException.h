// SPDX-License-Identifier: GPL-3.0-or-later
// A failed file operation, naming the file and the reason.
#pragma once

#include <stdexcept>
#include <string>

// Why a file operation failed: the system's reason (an errno value, in the C library's
// words) or one of Tabulon's own, which a front end may show in the user's language.
enum class FileProblem {
    System,
    NotPlainFile,
    NoFileName,
    NotAJournal,
    NoMemoryForLines,
    NoMemoryToWrite,
    ReplacedByAnotherProgram,
    KeepsBeingReplaced,
    LockedByAnotherProgram,
    ChangedByAnotherProgram,
    LargerThanATableFile,
};

class CFileException : public std::runtime_error {
public:
    // action: what was being done ("open", "read", "save", "write"); reason: why it failed,
    // in the system's words.
    CFileException(std::string action, std::string fileName, std::string reason);
    // One of Tabulon's own reasons; note follows its text ("; the file is unchanged").
    CFileException(std::string action, std::string fileName, FileProblem problem,
                   std::string note = {});

    const std::string& GetAction() const { return m_action; }
    const std::string& GetFileName() const { return m_strFileName; }
    // The whole reason in English: the problem's text and the note.
    const std::string& GetReason() const { return m_reason; }
    FileProblem GetProblem() const { return m_problem; }
    const std::string& GetNote() const { return m_note; }

    // Builds the exception from an errno value; note follows the system's text.
    static CFileException FromErrno(const std::string& action, const std::string& fileName,
                                    int error, const std::string& note = {});
    // The English text of one of Tabulon's own reasons.
    static const char* TextOf(FileProblem problem);

private:
    std::string m_action;
    std::string m_strFileName;
    std::string m_reason;
    FileProblem m_problem = FileProblem::System;
    std::string m_note;
};
