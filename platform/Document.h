// SPDX-License-Identifier: GPL-3.0-or-later
// Document base: modified flag, path name and title, and the views that show it.
#pragma once

#include "FileIdentity.h"

#include <functional>
#include <optional>
#include <string>
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
    virtual bool OnOpenDocument(const std::string& path) = 0;
    virtual bool OnSaveDocument(const std::string& path) = 0;

    // What File Open and File Save do around the two virtuals: on success the document
    // takes the path and is no longer modified; on failure (CFileException) it keeps
    // its path and flag.
    void OpenFile(const std::string& path);
    void SaveFile(const std::string& path);

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true);

    // Full path of the file the document was last opened from or saved to; empty when untitled.
    const std::string& GetPathName() const { return m_strPathName; }
    void SetPathName(const std::string& path);
    // The file's name without its folder, or "Untitled".
    std::string GetTitle() const;

    // Whether the file at the document's path is no longer what the document last read or
    // wrote there (its inode, size or modification time differ): another program saved
    // over it or changed it. False when untitled or when no file is there any more.
    bool ChangedOnDiskSinceOpenOrSave() const;

    void AddView(CView* view);
    void RemoveView(CView* view);
    // Tells every view what changed.
    void UpdateAllViews(const DocumentEvent& event);

    // Called whenever the modified flag or the path changes (the window caption follows them).
    void SetStateListener(std::function<void()> listener) { m_stateListener = std::move(listener); }

protected:
    // OnOpenDocument and OnSaveDocument tell what they read or wrote.
    void SetDiskIdentity(const FileIdentity& identity) { m_diskIdentity = identity; }

private:
    void NotifyState();

    bool m_bModified = false;
    std::string m_strPathName;
    std::optional<FileIdentity> m_diskIdentity; // of the file at m_strPathName
    std::vector<CView*> m_views;
    std::function<void()> m_stateListener;
};
