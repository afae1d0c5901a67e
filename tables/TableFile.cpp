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

// XML begins with '<' after an optional byte-order mark (UTF-8, or UTF-16 in either byte
// order, whose characters are then two bytes each) and blanks.
bool LooksLikeXml(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return table_text::Trimmed(bytes.substr(3)).starts_with('<');
    const bool littleEndian = bytes.starts_with("\xFF\xFE");
    if (!littleEndian && !bytes.starts_with("\xFE\xFF"))
        return table_text::Trimmed(bytes).starts_with('<');
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const char low = bytes[littleEndian ? i : i + 1], high = bytes[littleEndian ? i + 1 : i];
        if (high != '\0')
            return false;
        if (low != ' ' && low != '\t' && low != '\r' && low != '\n')
            return low == '<';
    }
    return false;
}

} // namespace

MortalityTableData ParseMortalityTable(std::string_view bytes, const std::string& path) {
    if (LooksLikeXml(bytes))
        return ParseXtbmlTable(bytes, path);
    return ParseCsvTable(bytes, path);
}

MortalityTableData ReadMortalityTableFile(const std::string& path) {
    std::string bytes = ReadWholeFile(path);
    if (LooksLikeXml(bytes))
        return ParseXtbmlTableInPlace(bytes, path);
    return ParseCsvTable(bytes, path);
}
