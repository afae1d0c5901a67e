// SPDX-License-Identifier: GPL-3.0-or-later
#include "PdfFile.h"

#include "FileDescriptor.h"
#include "FileName.h"
#include "MessageText.h"

#include <QPrinter>

#include <algorithm>
#include <cerrno>
#include <climits>
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

// The mode a new file gets from the user's umask, or the mode out has now.
mode_t ModeFor(const struct stat* existing) {
    if (existing)
        return existing->st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The file a chain of links named path ends in, existing or not, so that a link stays a link
// and the file it points to gets the new pages.
QByteArray FollowLinks(QByteArray path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status {};
        if (::lstat(path.constData(), &status) != 0 || !S_ISLNK(status.st_mode))
            break;
        char link[PATH_MAX];
        const ssize_t length = ::readlink(path.constData(), link, sizeof link);
        if (length < 0 || length == sizeof link)
            break;
        QByteArray next(link, length);
        if (!next.startsWith('/'))
            next.prepend(path.left(path.lastIndexOf('/') + 1));
        path = next;
    }
    return path;
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
    const QByteArray target = FollowLinks(out);
    struct stat existing {};
    const bool exists = ::stat(target.constData(), &existing) == 0;
    if (!exists && errno != ENOENT) {
        error = CannotWrite(out, std::strerror(errno));
        return false;
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        error = CannotWrite(out, "it is not a plain file");
        return false;
    }
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder =
        slash < 0 ? QByteArray(".") : target.left(std::max<qsizetype>(slash, 1));
    const QByteArray base = target.mid(slash + 1);
    QByteArray temporary = folder + "/." + base.left(NAME_MAX - 16) + ".XXXXXX";
    const int file = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (file < 0) {
        error = CannotWrite(out, std::strerror(errno));
        return false;
    }
    int failure = ::fchmod(file, ModeFor(exists ? &existing : nullptr)) == 0 ? 0 : errno;

    // Qt's PDF writer does not report failed writes, so it writes into a pipe and every
    // byte goes to the file here, where each error is seen.
    int pipeEnds[2];
    int pages = 0;
    if (failure == 0 && ::pipe2(pipeEnds, O_CLOEXEC) != 0)
        failure = errno;
    if (failure == 0) {
        int copyError = 0;
        std::thread copier([&] { copyError = CopyPipeToFile(pipeEnds[0], file); });
        {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QStringLiteral("/proc/self/fd/%1").arg(pipeEnds[1]));
            pages = painter(&printer);
        }
        ::close(pipeEnds[1]);
        copier.join();
        ::close(pipeEnds[0]);
        failure = copyError;
    }
    if (failure == 0 && pages > 0 && ::fsync(file) != 0)
        failure = errno;
    if (::close(file) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && pages > 0 && ::rename(temporary.constData(), target.constData()) != 0)
        failure = errno;
    if (failure != 0 || pages == 0) {
        ::unlink(temporary.constData());
        error =
            CannotWrite(out, failure != 0 ? std::strerror(failure) : "nothing could be printed");
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}
