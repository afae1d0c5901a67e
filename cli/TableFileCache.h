// SPDX-License-Identifier: GPL-3.0-or-later
// The table files batch rows name, read once and kept while they are in use.
#pragma once

#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

// Keeps the outcome of reading at most kKept table files: the table's code among the tables
// (the file is imported) or why the file was refused. The file used least recently goes
// first, and its table leaves the tables, so that memory stays the same however many
// distinct paths the rows name. Codes move as tables leave: an entry's code is good until
// the next Get.
class TableFileCache {
public:
    static constexpr std::size_t kKept = 64;

    struct Entry {
        int code = 0;        // 0: refused
        std::string failure; // why the file was refused
    };

    TableFileCache() = default;
    TableFileCache(const TableFileCache&) = delete;
    TableFileCache& operator=(const TableFileCache&) = delete;
    ~TableFileCache();

    const Entry& Get(std::string_view path);
    // Get(path) would give up a kept file, so that codes from earlier Gets would move.
    bool WouldDrop(std::string_view path) const {
        return m_order.size() >= kKept && m_byPath.find(path) == m_byPath.end();
    }
    std::size_t Size() const { return m_order.size(); }

private:
    struct Kept {
        std::string path;
        Entry entry;
    };
    void DropLeastRecent();

    std::list<Kept> m_order; // most recently used first
    std::unordered_map<std::string_view, std::list<Kept>::iterator> m_byPath;
};
