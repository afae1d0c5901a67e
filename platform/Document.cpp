// SPDX-License-Identifier: GPL-3.0-or-later
#include "Document.h"

#include "SaveRecovery.h"

#include <algorithm>
#include <utility>

bool CDocument::OnNewDocument() {
    m_strPathName.clear();
    m_diskState.reset();
    m_bModified = false;
    NotifyState();
    return true;
}

void CDocument::OpenFile(const std::string& path) {
    m_interrupted = FinishInterruptedSaveOf(path);
    m_diskState = OnOpenDocument(path);
    m_bModified = false;
    SetPathName(path);
}

void CDocument::SaveFile(const std::string& path, OtherChanges changes) {
    const bool samePath = path == m_strPathName;
    JournalSave saved = OnSaveDocument(path, samePath ? m_diskState : std::nullopt, changes);
    m_diskState = saved.state;
    m_interrupted = std::move(saved.interrupted);
    m_bModified = false;
    SetPathName(path);
}

void CDocument::SetModifiedFlag(bool modified) {
    if (m_bModified == modified)
        return;
    m_bModified = modified;
    NotifyState();
}

void CDocument::SetPathName(const std::string& path) {
    m_strPathName = path;
    NotifyState();
}

std::string CDocument::GetTitle() const {
    if (m_strPathName.empty())
        return "Untitled";
    const std::size_t slash = m_strPathName.rfind('/');
    return slash == std::string::npos ? m_strPathName : m_strPathName.substr(slash + 1);
}

void CDocument::AddView(CView* view) {
    if (std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CDocument::RemoveView(CView* view) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

void CDocument::UpdateAllViews(const DocumentEvent& event) {
    for (CView* view : m_views)
        view->OnUpdate(event);
}

void CDocument::NotifyState() {
    if (m_stateListener)
        m_stateListener();
}
