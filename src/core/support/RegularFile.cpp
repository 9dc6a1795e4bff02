#include "core/support/RegularFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString sizeText(qint64 bytes)
{
    return bytes >= 1024 * 1024 ? QStringLiteral("%1 MiB").arg(bytes / (1024 * 1024))
                                : QStringLiteral("%1 KiB").arg(bytes / 1024);
}

RegularFile::Result failure(RegularFile::Status status, const QString& error)
{
    return RegularFile::Result{status, {}, error};
}

// Reads until end of file or one byte past the limit, whichever comes first.
RegularFile::Result readAtMost(int fd, qint64 maxBytes)
{
    QByteArray bytes;
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failure(RegularFile::Status::Failed, systemError(errno));
        }
        if (n == 0)
            break;
        if (bytes.size() + n > maxBytes)
            return failure(RegularFile::Status::TooLarge,
                           QStringLiteral("larger than the limit of %1").arg(sizeText(maxBytes)));
        bytes.append(chunk, n);
    }
    return RegularFile::Result{RegularFile::Status::Read, std::move(bytes), {}};
}

} // namespace

RegularFile::Result RegularFile::read(const QString& path, qint64 maxBytes)
{
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait for one for ever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT)
            return failure(Status::Missing, QStringLiteral("no such file"));
        return failure(Status::Failed, systemError(error));
    }
    struct stat info {};
    Result result;
    if (::fstat(fd, &info) != 0)
        result = failure(Status::Failed, systemError(errno));
    else if (S_ISDIR(info.st_mode))
        result = failure(Status::Directory, QStringLiteral("is a directory"));
    else if (!S_ISREG(info.st_mode))
        result = failure(Status::NotRegular, QStringLiteral("not a regular file"));
    else if (info.st_size > maxBytes)
        result = failure(Status::TooLarge, QStringLiteral("larger than the limit of %1").arg(sizeText(maxBytes)));
    else
        result = readAtMost(fd, maxBytes); // the file may grow after fstat; the read stops at the limit anyway
    ::close(fd);
    return result;
}

RegularFile::Result RegularFile::readStream(int fd, qint64 maxBytes)
{
    return readAtMost(fd, maxBytes);
}
