// SPDX-License-Identifier: GPL-3.0-or-later
// Document base: modified flag, path name and title, and the views that show it.
#pragma once

#include "TextFile.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <cstddef>

// What changed in a document's lines; its views are told once per change.
struct DocumentEvent {
    enum class Kind {
        LinesAppended,       // lines joined the end (a file opened into the document)
        CalculationAppended, // a calculation's report joined the end; the record holds it
        Replaced,            // every line was replaced (a new document)
    };
    Kind kind;
    std::size_t from = 0;  // appended: the index of the first new line
    std::size_t count = 0; // appended: how many lines joined

    static DocumentEvent LinesAppended(std::size_t from, std::size_t count) {
        return {Kind::LinesAppended, from, count};
    }
    static DocumentEvent CalculationAppended(std::size_t from, std::size_t count) {
        return {Kind::CalculationAppended, from, count};
    }
    static DocumentEvent Replaced() { return {Kind::Replaced}; }
    bool IsAppend() const { return kind != Kind::Replaced; }
};

// Something that shows a document and is told when it changes.
class CView {
public:
    virtual ~CView() = default;
    virtual void OnUpdate(const DocumentEvent& event) = 0;
};

class CDocument {
public:
    virtual ~CDocument() = default;

    // Starts a new, untitled document: clears the modified flag and the path.
    virtual bool OnNewDocument();
    // Reads the file at path into the document; known: what the document knows of the
    // file at path, which the save compares with what is there now (nullopt when the
    // document never read or wrote it). Both throw CFileException.
    virtual JournalFileState OnOpenDocument(const std::string& path) = 0;
    virtual JournalSave OnSaveDocument(const std::string& path,
                                       const std::optional<JournalFileState>& known,
                                       OtherChanges changes) = 0;

    // What File Open and File Save do around the two virtuals: on success the document
    // takes the path and is no longer modified; on failure (CFileException) it keeps
    // its path and flag. A save keeps the lines another program appended to the file
    // since the document last read or wrote it; any other change by another program fails
    // with FileProblem::ChangedByAnotherProgram unless changes is Overwrite.
    void OpenFile(const std::string& path);
    void SaveFile(const std::string& path, OtherChanges changes = OtherChanges::KeepAppended);
    // An interrupted save of the file that the last open or save found and dealt with;
    // taken once, to tell the user.
    std::optional<InterruptedSave> TakeInterruptedSave() {
        return std::exchange(m_interrupted, {});
    }

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true);

    // Full path of the file the document was last opened from or saved to; empty when untitled.
    const std::string& GetPathName() const { return m_strPathName; }
    void SetPathName(const std::string& path);
    // The file's name without its folder, or "Untitled".
    std::string GetTitle() const;

    void AddView(CView* view);
    void RemoveView(CView* view);
    // Tells every view what changed.
    void UpdateAllViews(const DocumentEvent& event);

    // Called whenever the modified flag or the path changes (the window caption follows them).
    void SetStateListener(std::function<void()> listener) { m_stateListener = std::move(listener); }

private:
    void NotifyState();

    bool m_bModified = false;
    std::string m_strPathName;
    std::optional<JournalFileState> m_diskState; // of the file at m_strPathName
    std::optional<InterruptedSave> m_interrupted;
    std::vector<CView*> m_views;
    std::function<void()> m_stateListener;
};
