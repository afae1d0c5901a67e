// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineText.h"

#include <QStringDecoder>

#include <algorithm>

namespace {
bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
}
} // namespace

QString JournalLineText(std::string_view bytes) {
    const auto size = static_cast<qsizetype>(bytes.size());
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes.data(), size);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), size));
    if (utf8.hasError())
        return QString::fromLatin1(bytes.data(), size);
    return text;
}

void AppendJournalLineText(QString& text, std::string_view bytes) {
    if (IsAscii(bytes))
        text.append(QLatin1StringView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    else
        text.append(JournalLineText(bytes));
}
