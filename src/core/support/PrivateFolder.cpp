#include "core/support/PrivateFolder.h"

#include <QDir>
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

} // namespace

QString PrivateFolder::make(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    if (clean.isEmpty())
        return QStringLiteral("empty path");
    // From the root down: a component that is missing is made 0700 whatever the umask allows; one that exists
    // (a link to a folder included) is left as it is.
    qsizetype from = clean.startsWith(QLatin1Char('/')) ? 1 : 0;
    for (;;) {
        const qsizetype slash = clean.indexOf(QLatin1Char('/'), from);
        const QString part = slash < 0 ? clean : clean.left(slash);
        const QByteArray encoded = QFile::encodeName(part);
        if (::mkdir(encoded.constData(), 0700) == 0) {
            ::chmod(encoded.constData(), 0700); // mkdir's mode passes through the umask
        } else if (errno != EEXIST) {
            return QStringLiteral("%1: %2").arg(part, systemError(errno));
        } else {
            struct stat info {};
            if (::stat(encoded.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
                return QStringLiteral("%1: not a folder").arg(part);
        }
        if (slash < 0)
            return {};
        from = slash + 1;
    }
}

bool PrivateFolder::removeFile(const QString& folder, const QString& name, QString* error)
{
    const int dirFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dirFd < 0) {
        if (error)
            *error = errno == ELOOP || errno == ENOTDIR ? QStringLiteral("%1 is not a folder (a link?)").arg(folder)
                                                        : systemError(errno);
        return false;
    }
    const bool removed = ::unlinkat(dirFd, QFile::encodeName(name).constData(), 0) == 0;
    if (!removed && error && errno != ENOENT)
        *error = systemError(errno);
    ::close(dirFd);
    return removed;
}
