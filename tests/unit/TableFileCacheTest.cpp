// SPDX-License-Identifier: GPL-3.0-or-later
// The table files batch rows name: each read once while it is in use, at most
// TableFileCache::kKept of them kept, the least recently used given up first together with
// its table, so that a run over many distinct paths holds a fixed number of tables.
#include "TableFileCache.h"

#include "FaultTestSupport.h"
#include "MortalityTables.h"

#include <gtest/gtest.h>

using fault_support::ScratchFolder;
using fault_support::WriteBytes;

namespace {

// A table whose first age tells which file it came from.
void WriteTable(const std::string& path, int firstAge) {
    WriteBytes(path, "age,qx\n" + std::to_string(firstAge) + ",0.5\n" +
                         std::to_string(firstAge + 1) + ",1\n");
}

int FirstAgeOf(TableFileCache& cache, const std::string& path) {
    const TableFileCache::Entry& entry = cache.Get(path);
    EXPECT_GT(entry.code, kTableCount) << path << ": " << entry.failure;
    return entry.code > kTableCount ? MortalityTableOf(entry.code).firstAge : -1;
}

TEST(TableFileCache, KeepsTheMostRecentlyUsedFilesAndTheirTablesOnly) {
    constexpr int kFiles = static_cast<int>(TableFileCache::kKept) + 6;
    ScratchFolder scratch;
    const auto path = [&scratch](int i) { return scratch.Path(std::to_string(i) + ".csv"); };
    for (int i = 0; i < kFiles; ++i)
        WriteTable(path(i), i);
    const int tablesBefore = MortalityTableCount();
    {
        TableFileCache cache;
        // File 0 is used again and again, so it stays while the others come and go.
        for (int i = 1; i < kFiles; ++i) {
            EXPECT_EQ(FirstAgeOf(cache, path(0)), 0);
            EXPECT_EQ(FirstAgeOf(cache, path(i)), i);
        }
        EXPECT_EQ(cache.Size(), TableFileCache::kKept);
        EXPECT_EQ(MortalityTableCount(), tablesBefore + static_cast<int>(TableFileCache::kKept));

        // What is kept is not read again; what was given up is. Rewritten files tell which.
        for (int i = 0; i < kFiles; ++i)
            WriteTable(path(i), 100 + i);
        EXPECT_EQ(FirstAgeOf(cache, path(0)), 0);
        EXPECT_EQ(FirstAgeOf(cache, path(kFiles - 1)), kFiles - 1);
        // Files 1..6 were the least recently used: 1 is read afresh, and makes room by
        // giving up 7, the least recent left, whose table goes too.
        EXPECT_EQ(FirstAgeOf(cache, path(1)), 101);
        for (int i = 8; i < kFiles; ++i)
            EXPECT_EQ(FirstAgeOf(cache, path(i)), i) << "every kept code still names its table";
        EXPECT_EQ(FirstAgeOf(cache, path(7)), 107);
        EXPECT_EQ(MortalityTableCount(), tablesBefore + static_cast<int>(TableFileCache::kKept));
    }
    EXPECT_EQ(MortalityTableCount(), tablesBefore);
}

// Refusals take room too: however many distinct missing files rows name, the cache holds
// the last kKept, and each refusal is still given with its reason.
TEST(TableFileCache, ManyDistinctMissingFilesKeepAFixedNumber) {
    ScratchFolder scratch;
    WriteTable(scratch.Path("good.csv"), 20);
    TableFileCache cache;
    for (int i = 0; i < 20000; ++i) {
        const std::string missing = scratch.Path("missing-" + std::to_string(i) + ".csv");
        const TableFileCache::Entry& entry = cache.Get(missing);
        ASSERT_EQ(entry.code, 0);
        ASSERT_EQ(entry.failure, "Cannot open \"" + missing + "\": No such file or directory.");
        if (i % 100 == 0) {
            ASSERT_EQ(FirstAgeOf(cache, scratch.Path("good.csv")), 20);
        }
    }
    EXPECT_EQ(cache.Size(), TableFileCache::kKept);
}

} // namespace
