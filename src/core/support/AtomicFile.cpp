#include "core/support/AtomicFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return true;
}

// The rename is only on the disk once the folder's own entry list is.
void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

QString AtomicFile::temporaryPath(const QString& path)
{
    const QFileInfo info(path);
    return info.path() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".tmp");
}

void AtomicFile::removeLeftover(const QString& path)
{
    ::unlink(QFile::encodeName(temporaryPath(path)).constData());
}

bool AtomicFile::write(const QString& path, const QByteArray& bytes, QString* error)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temporary = QFile::encodeName(temporaryPath(path));
    // One instance of the program writes each file, so a fixed temporary name is safe, and a crash leaves at
    // most this one file behind. O_NOFOLLOW: a link planted under that name is not written through.
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QFile::decodeName(temporary), systemError());
        return false;
    }
    // An earlier leftover may have had a wider mode.
    bool ok = ::fchmod(fd, 0600) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    QString failure = ok ? QString() : systemError();
    if (::close(fd) != 0 && ok) {
        ok = false;
        failure = systemError();
    }
    if (ok && ::rename(temporary.constData(), target.constData()) != 0) {
        ok = false;
        failure = systemError();
    }
    if (!ok) {
        ::unlink(temporary.constData());
        if (error)
            *error = failure;
        return false;
    }
    syncFolder(QFileInfo(path).path());
    return true;
}

QString AtomicFile::moveAside(const QString& path)
{
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString target = path + QStringLiteral(".bad-") + stamp;
    for (int n = 1; QFile::exists(target); ++n)
        target = path + QStringLiteral(".bad-") + stamp + QLatin1Char('-') + QString::number(n);
    return QFile::rename(path, target) ? target : QString();
}
