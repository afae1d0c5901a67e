// SPDX-License-Identifier: GPL-3.0-or-later
// How a journal line's bytes are shown: as UTF-8 when they are valid UTF-8, else as Latin-1.
#pragma once

#include <QString>

#include <string_view>

QString JournalLineText(std::string_view bytes);
// Appends the same text to text, without a copy of its own for ASCII lines.
void AppendJournalLineText(QString& text, std::string_view bytes);
