// SPDX-License-Identifier: GPL-3.0-or-later
#include "TableFileCache.h"

#include "CliOptions.h"
#include "FileException.h"
#include "MortalityTables.h"
#include "TableFile.h"
#include "TableFormatError.h"
#include "TableRegistry.h"

TableFileCache::Entry TableFileCache::Read(const std::string& path) const {
    try {
        return {m_registry ? m_registry->Add(ReadMortalityTableFile(path)) : ImportTableFile(path),
                {}};
    } catch (const CFileException& error) {
        return {0, error.what()};
    } catch (const TableFormatError& error) {
        return {0, error.what()};
    }
}

TableFileCache::~TableFileCache() {
    while (!m_order.empty())
        DropLeastRecent();
}

const TableFileCache::Entry& TableFileCache::Get(std::string_view path) {
    const auto found = m_byPath.find(path);
    if (found != m_byPath.end()) {
        m_order.splice(m_order.begin(), m_order, found->second);
        return found->second->entry;
    }
    if (m_order.size() >= kKept)
        DropLeastRecent();
    m_order.push_front({std::string(path), {}});
    Kept& kept = m_order.front();
    try {
        kept.entry = Read(kept.path);
    } catch (...) { // out of memory: nothing half-kept
        m_order.pop_front();
        throw;
    }
    m_byPath.emplace(kept.path, m_order.begin());
    return kept.entry;
}

void TableFileCache::DropLeastRecent() {
    const Kept& last = m_order.back();
    const int code = last.entry.code;
    m_byPath.erase(last.path);
    m_order.pop_back();
    if (code == 0)
        return;
    if (m_registry) {
        m_registry->Remove(code);
        return;
    }
    // The tables after it move up a code.
    RemoveMortalityTable(code);
    for (Kept& kept : m_order)
        if (kept.entry.code > code)
            --kept.entry.code;
}
