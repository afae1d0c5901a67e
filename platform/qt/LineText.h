// How a journal line's bytes are shown: as UTF-8 when they are valid UTF-8, else as Latin-1.
#pragma once

#include <QString>

#include <string_view>

QString JournalLineText(std::string_view bytes);
