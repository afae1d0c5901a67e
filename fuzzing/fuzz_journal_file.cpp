// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a journal file made of arbitrary bytes. Properties:
//  - the file's lines follow the lines the journal already held, which are untouched;
//  - a line is the text between line feeds, a last line without a line end included,
//    with its trailing bytes 0-31 removed and every other byte kept;
//  - no line holds a line feed or ends in a byte below the blank;
//  - a file cut after a line feed reads as its two parts read one after the other;
//  - saving the lines and reading them back gives the same lines.
#include "FileException.h"
#include "FuzzCheck.h"
#include "TextFile.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

void WriteBytes(const std::string& path, std::string_view bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr, "cannot write %s", path.c_str());
    FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size(), "short write");
    FUZZ_CHECK(std::fclose(file) == 0, "cannot close %s", path.c_str());
}

// The lines the file should give, worked out the plain way.
std::vector<std::string> ExpectedLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string current;
    for (const char c : bytes) {
        if (c == '\n') {
            lines.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        lines.push_back(current);
    for (std::string& line : lines)
        while (!line.empty() && static_cast<unsigned char>(line.back()) < 32)
            line.pop_back();
    return lines;
}

CStringList ReadFile(const std::string& path, const CStringList& before) {
    CStringList lines = before;
    try {
        ReadTextLines(path, lines);
    } catch (const CFileException& error) {
        FUZZ_CHECK(false, "reading a plain file failed: %s", error.what());
    }
    return lines;
}

bool SameLines(const CStringList& a, const CStringList& b) {
    if (a.GetCount() != b.GetCount())
        return false;
    for (std::size_t i = 0; i < a.GetCount(); ++i)
        if (a.GetAt(i) != b.GetAt(i))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string folder = ScratchFolder();
    const std::string whole = folder + "/whole";
    WriteBytes(whole, bytes);

    CStringList opening;
    opening.AddTail(" ");
    opening.AddTail("*** kept line \xe9");
    const CStringList lines = ReadFile(whole, opening);

    const std::vector<std::string> expected = ExpectedLines(bytes);
    FUZZ_CHECK(lines.GetCount() == opening.GetCount() + expected.size(), "%zu lines, expected %zu",
               lines.GetCount() - opening.GetCount(), expected.size());
    for (std::size_t i = 0; i < opening.GetCount(); ++i)
        FUZZ_CHECK(lines.GetAt(i) == opening.GetAt(i), "line %zu held before was changed", i);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::string_view line = lines.GetAt(opening.GetCount() + i);
        FUZZ_CHECK(line == expected[i], "line %zu differs", i);
        FUZZ_CHECK(line.find('\n') == std::string_view::npos, "line %zu holds a line feed", i);
        FUZZ_CHECK(line.empty() || static_cast<unsigned char>(line.back()) >= 32,
                   "line %zu ends in byte %d", i, static_cast<unsigned char>(line.back()));
    }

    // Cut after the first line feed at or past the middle: both parts read in turn
    // give the same journal as the whole.
    const std::size_t cut = bytes.find('\n', bytes.size() / 2);
    if (cut != std::string_view::npos) {
        const std::string head = folder + "/head";
        const std::string tail = folder + "/tail";
        WriteBytes(head, bytes.substr(0, cut + 1));
        WriteBytes(tail, bytes.substr(cut + 1));
        const CStringList parts = ReadFile(tail, ReadFile(head, opening));
        FUZZ_CHECK(SameLines(parts, lines), "the two parts read differently from the whole");
    }

    // What is saved reads back line for line.
    const std::string saved = folder + "/saved";
    try {
        WriteTextLines(saved, lines);
    } catch (const CFileException& error) {
        FUZZ_CHECK(false, "saving failed: %s", error.what());
    }
    FUZZ_CHECK(SameLines(ReadFile(saved, CStringList()), lines),
               "saved lines read back differently");
    return 0;
}
