// SPDX-License-Identifier: GPL-3.0-or-later
// A file failure as the user reads it, in the interface's language.
#pragma once

#include <QString>

class CFileException;

// "Cannot save "FILE": REASON." with the action, Tabulon's own reasons and their notes in
// the interface's language; the system's reasons come from the C library, in the language
// it speaks. The file name is shown with control bytes written out.
QString FileErrorText(const CFileException& error);

// The reason alone, translated as in FileErrorText.
QString FileErrorReason(const CFileException& error);
