// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileName.h"

#include <QByteArrayView>

namespace {
constexpr char16_t kEscapeBase = 0xDC00; // U+DC80..U+DCFF stand for the bytes 0x80..0xFF

// The length of the valid UTF-8 sequence at the start of bytes, or 0 when it is not one
// (overlong forms, surrogates and values past U+10FFFF are not valid).
qsizetype ValidSequenceLength(QByteArrayView bytes) {
    const auto byte = [&bytes](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    qsizetype length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (bytes.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}
} // namespace

QString DecodeFileName(const QByteArray& bytes) {
    if (QByteArrayView(bytes).isValidUtf8())
        return QString::fromUtf8(bytes);
    QString name;
    name.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const QByteArrayView rest = QByteArrayView(bytes).sliced(i);
        const qsizetype length = ValidSequenceLength(rest);
        if (length == 0) {
            name += QChar(char16_t(kEscapeBase + static_cast<unsigned char>(rest[0])));
            ++i;
        } else {
            name += QString::fromUtf8(rest.first(length));
            i += length;
        }
    }
    return name;
}

QByteArray EncodeFileName(const QString& name) {
    QByteArray bytes;
    bytes.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            bytes += QStringView(name).sliced(i, 2).toUtf8();
            ++i;
        } else if (c.unicode() >= kEscapeBase + 0x80 && c.unicode() <= kEscapeBase + 0xFF) {
            bytes += static_cast<char>(c.unicode() - kEscapeBase);
        } else {
            bytes += QStringView(&c, 1).toUtf8();
        }
    }
    return bytes;
}
