// SPDX-License-Identifier: GPL-3.0-or-later
#include "PdfFile.h"

#include "FileDescriptor.h"
#include "FileException.h"
#include "FileName.h"
#include "MessageText.h"
#include "PathNames.h"
#include "PrintEngine.h"
#include "SafeFile.h"

#include <cerrno>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString CannotWrite(const QByteArray& out, const char* reason) {
    return DecodeFileName(QByteArray::fromStdString("Cannot write the PDF file \"" +
                                                    ShownInMessage(out.toStdString()) +
                                                    "\": " + reason + "."));
}

// Copies everything that arrives on the pipe into the file and remembers the first write
// error; after an error it goes on draining the pipe, so the printer never blocks.
int CopyPipeToFile(int pipeIn, int file) {
    int error = 0;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(pipeIn, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got < 0 && error == 0 ? errno : error;
        if (error == 0 && !WriteAll(file, buffer, static_cast<std::size_t>(got)))
            error = errno != 0 ? errno : EIO;
    }
}

} // namespace

bool IsSameFile(const QByteArray& first, const QByteArray& second) {
    struct stat a {};
    struct stat b {};
    return ::stat(first.constData(), &a) == 0 && ::stat(second.constData(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool PrintToPdfFile(const QByteArray& out, const std::function<int(QPrinter*)>& painter,
                    QString& error) {
    PrintEngine* engine = print_module::Engine(error);
    if (!engine)
        return false;
    // A link stays a link: the file it points to gets the new pages.
    const std::string target = ResolveTarget(out.toStdString());
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT) {
        error = CannotWrite(out, std::strerror(errno));
        return false;
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        error = CannotWrite(out, "it is not a plain file");
        return false;
    }
    try {
        const FileDescriptor old(exists ? ::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)
                                        : -1);
        CSafeFile file(target, out.toStdString(), "write", exists ? &existing : nullptr, old.Get());
        // Qt's PDF writer does not report failed writes, so it writes into a pipe and every
        // byte goes to the file here, where each error is seen.
        int pipeEnds[2];
        if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
            file.Fail(errno);
        int copyError = 0;
        int pages = 0;
        std::thread copier([&] { copyError = CopyPipeToFile(pipeEnds[0], file.Descriptor()); });
        pages = engine->PaintPdf(QStringLiteral("/proc/self/fd/%1").arg(pipeEnds[1]), painter);
        ::close(pipeEnds[1]);
        copier.join();
        ::close(pipeEnds[0]);
        if (copyError != 0)
            file.Fail(copyError);
        if (pages == 0) {
            error = CannotWrite(out, "nothing could be printed");
            return false;
        }
        file.Commit();
    } catch (const CFileException& failure) {
        error = CannotWrite(out, failure.GetReason().c_str());
        return false;
    }
    return true;
}
