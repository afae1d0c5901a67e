// SPDX-License-Identifier: GPL-3.0-or-later
// Printing into a PDF file that ends up either complete or as it was.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QPrinter;

// True when both names reach the same existing file once links are followed (same device
// and inode).
bool IsSameFile(const QByteArray& first, const QByteArray& second);

// Paints into a new file beside out (see CSafeFile) and renames it over out only when every
// byte was written and flushed to disk. painter returns the number of pages painted, 0 on
// failure. On failure, or when the process is killed, out is as it was and nothing is left
// beside it; error names out and says why (or the printing module, when it cannot be loaded).
// A link named out is followed, so the file it points to is written (also when it does not
// exist yet); a device or named pipe is refused.
bool PrintToPdfFile(const QByteArray& out, const std::function<int(QPrinter*)>& painter,
                    QString& error);
