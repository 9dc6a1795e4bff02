#include "core/support/DebugLogFile.h"

#include "core/support/XdgPaths.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString DebugLogFile::path()
{
    return XdgPaths::appStateFolder() + QStringLiteral("/quillora-debug.log");
}

void DebugLogFile::append(const QString& message)
{
    const QString folder = XdgPaths::appStateFolder();
    if (!QDir(folder).exists()) {
        if (!QDir().mkpath(folder))
            return;
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    const QByteArray name = QFile::encodeName(path());
    const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK,
                          S_IRUSR | S_IWUSR);
    if (fd < 0)
        return;
    // Only a regular file of our own: a FIFO or device planted under the name gets nothing.
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        ::close(fd);
        return;
    }
    if ((info.st_mode & 0777) != (S_IRUSR | S_IWUSR))
        ::fchmod(fd, S_IRUSR | S_IWUSR);

    const QString stamp = QLocale::system().toString(QTime::currentTime(), QStringLiteral("HH:mm:ss"));
    const QByteArray line = (QLatin1Char('[') + stamp + QStringLiteral("] ") + message + QLatin1Char('\n')).toUtf8();
    qsizetype written = 0;
    while (written < line.size()) {
        const ssize_t n = ::write(fd, line.constData() + written, size_t(line.size() - written));
        if (n <= 0)
            break;
        written += n;
    }
    ::close(fd);
}
