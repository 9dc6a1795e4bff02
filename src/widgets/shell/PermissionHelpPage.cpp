#include "widgets/shell/PermissionHelpPage.h"

#include "core/support/AtomicFile.h"

#include <QDir>
#include <QFile>

QUrl PermissionHelpPage::materialize(const QString& language, const QString& folder)
{
    const QString code = language == QStringLiteral("de") ? language : QStringLiteral("en");
    QFile source(QStringLiteral(":/help/screen-capture.%1.html").arg(code));
    if (!source.open(QIODevice::ReadOnly))
        return {};
    if (!QDir().mkpath(folder))
        return {};
    const QString target = QDir(folder).filePath(QStringLiteral("screen-capture-help.%1.html").arg(code));
    if (!AtomicFile::write(target, source.readAll()))
        return {};
    return QUrl::fromLocalFile(target);
}

QString PermissionHelpPage::defaultFolder()
{
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (cache.isEmpty() || !QDir::isAbsolutePath(cache))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    return cache + QStringLiteral("/Quillora");
}
