// SPDX-License-Identifier: GPL-3.0-or-later
// File names are bytes: the Qt side carries them as QString without losing a byte.
#pragma once

#include <QByteArray>
#include <QString>

// Valid UTF-8 becomes its text; every byte of an invalid sequence becomes the lone surrogate
// U+DC80..U+DCFF, so that EncodeFileName gives exactly the same bytes back. (Qt's own
// decoding turns such bytes into U+FFFD, and the file can no longer be named.)
QString DecodeFileName(const QByteArray& bytes);
QByteArray EncodeFileName(const QString& name);
