// SPDX-License-Identifier: GPL-3.0-or-later
#include "TableFile.h"

#include "CsvTable.h"
#include "FileDescriptor.h"
#include "FileException.h"
#include "TableText.h"
#include "XtbmlTable.h"

#include <algorithm>
#include <sys/stat.h>

namespace {

std::string ReadWholeFile(const std::string& path) {
    struct stat st {};
    const FileDescriptor fd = OpenPlainFileToRead(path, st);
    if (static_cast<unsigned long long>(st.st_size) > kTableFileMaxBytes)
        throw CFileException("open", path, FileProblem::LargerThanATableFile);

    // One byte more than the limit shows a file that grew past it while being read.
    std::string bytes(static_cast<std::size_t>(st.st_size) + 1, '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > kTableFileMaxBytes)
                throw CFileException("read", path, FileProblem::LargerThanATableFile);
            bytes.resize(std::min(bytes.size() * 2, kTableFileMaxBytes + 1));
        }
        const std::size_t n =
            ReadSome(fd.Get(), bytes.data() + filled, bytes.size() - filled, path);
        if (n == 0)
            break;
        filled += n;
    }
    bytes.resize(filled);
    return bytes;
}

} // namespace

MortalityTableData ParseMortalityTable(std::string_view bytes, const std::string& path) {
    std::string_view start = bytes;
    if (start.substr(0, 3) == "\xEF\xBB\xBF")
        start.remove_prefix(3);
    start = table_text::Trimmed(start);
    if (!start.empty() && start.front() == '<')
        return ParseXtbmlTable(bytes, path);
    return ParseCsvTable(bytes, path);
}

MortalityTableData ReadMortalityTableFile(const std::string& path) {
    const std::string bytes = ReadWholeFile(path);
    return ParseMortalityTable(bytes, path);
}
