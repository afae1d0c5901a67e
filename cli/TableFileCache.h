// SPDX-License-Identifier: GPL-3.0-or-later
// The table files batch rows name, read once and kept while they are in use.
#pragma once

#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

class TableRegistry;

// Keeps the outcome of reading at most kKept table files: the table's code among the tables
// (the file is imported) or why the file was refused. The file used least recently goes
// first, and its table leaves the tables, so that memory stays the same however many
// distinct paths the rows name. The tables are the calculation's, whose codes move as
// tables leave (an entry's code is good until the next Get), or a registry's, whose ids stay.
class TableFileCache {
public:
    static constexpr std::size_t kKept = 64;

    struct Entry {
        int code = 0;        // 0: refused
        std::string failure; // why the file was refused
    };

    TableFileCache() = default; // the calculation's tables
    explicit TableFileCache(TableRegistry& registry) : m_registry(&registry) {}
    TableFileCache(const TableFileCache&) = delete;
    TableFileCache& operator=(const TableFileCache&) = delete;
    ~TableFileCache();

    const Entry& Get(std::string_view path);
    // Get(path) would give up a kept file, so that codes from earlier Gets would move.
    bool WouldDrop(std::string_view path) const {
        return m_order.size() >= kKept && m_byPath.find(path) == m_byPath.end();
    }
    // The entry of path when it is kept, without using it; nullptr otherwise. Safe from
    // several threads at once while nothing calls Get.
    const Entry* Find(std::string_view path) const {
        const auto found = m_byPath.find(path);
        return found == m_byPath.end() ? nullptr : &found->second->entry;
    }
    std::size_t Size() const { return m_order.size(); }

private:
    struct Kept {
        std::string path;
        Entry entry;
    };
    Entry Read(const std::string& path) const;
    void DropLeastRecent();

    TableRegistry* m_registry = nullptr;

    std::list<Kept> m_order; // most recently used first
    std::unordered_map<std::string_view, std::list<Kept>::iterator> m_byPath;
};
