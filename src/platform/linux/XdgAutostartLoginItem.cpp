#include "platform/linux/XdgAutostartLoginItem.h"

#include "core/support/AtomicFile.h"
#include "core/support/XdgPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Quotes an argument of the Exec key as the Desktop Entry specification asks: reserved characters inside
// double quotes, with backslash, double quote, backtick and dollar escaped.
QString quotedExec(const QString& path)
{
    QString escaped;
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            escaped += u'\\';
        escaped += c;
    }
    QString quoted = u'"' + escaped + u'"';
    // "%" starts a field code and must be doubled; in a .desktop value a backslash is itself escaped.
    quoted.replace(u'%', QStringLiteral("%%"));
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    return quoted;
}

// The program's own desktop entry, so that the login item shows the same name, comment and icon in every
// language the desktop's menu does: its main group only (the menu's extra actions mean nothing at login), started
// by the path of this executable.
QString autostartEntry(const QString& executablePath, QString* error)
{
    QFile source(QStringLiteral(":/xdg/" QUILLORA_APP_ID ".desktop"));
    if (!source.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("the program's desktop entry is missing");
        return QString();
    }
    QString entry;
    bool mainGroup = false;
    for (const QString& line : QString::fromUtf8(source.readAll()).split(u'\n')) {
        if (line.startsWith(u'['))
            mainGroup = line == QLatin1String("[Desktop Entry]");
        if (!mainGroup || line.isEmpty() || line.startsWith(QLatin1String("Actions=")) ||
            line.startsWith(QLatin1String("TryExec=")))
            continue;
        entry += line.startsWith(QLatin1String("Exec=")) ? QStringLiteral("Exec=") + quotedExec(executablePath) : line;
        entry += u'\n';
    }
    return entry + QStringLiteral("X-GNOME-Autostart-enabled=true\n");
}

// An entry that exists and is not marked hidden: a user (or another desktop tool) may disable an entry by marking
// it hidden instead of deleting it.
bool startsAtLogin(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& raw : lines) {
        if (raw.trimmed() == "Hidden=true")
            return false;
    }
    return true;
}

bool removeEntry(const QString& path, QString* error)
{
    if (!QFile::exists(path) || QFile::remove(path))
        return true;
    if (error)
        *error = QStringLiteral("could not remove %1").arg(path);
    return false;
}

} // namespace

XdgAutostartLoginItem::XdgAutostartLoginItem(const QString& executablePath, const QString& filePath)
    : m_executablePath(executablePath)
    , m_filePath(filePath.isEmpty() ? XdgPaths::autostartFile() : filePath)
    , m_legacyFilePath(QFileInfo(m_filePath).absolutePath() + QLatin1Char('/') + QLatin1String(LegacyFileName))
{}

bool XdgAutostartLoginItem::isEnabled() const
{
    return startsAtLogin(m_filePath) || startsAtLogin(m_legacyFilePath);
}

bool XdgAutostartLoginItem::setEnabled(bool enabled, QString* error)
{
    if (!enabled)
        return removeEntry(m_filePath, error) && removeEntry(m_legacyFilePath, error);
    if (!QDir().mkpath(QFileInfo(m_filePath).absolutePath())) {
        if (error)
            *error = QStringLiteral("could not create %1").arg(QFileInfo(m_filePath).absolutePath());
        return false;
    }
    const QString entry = autostartEntry(m_executablePath, error);
    if (entry.isEmpty() || !AtomicFile::write(m_filePath, entry.toUtf8(), error))
        return false;
    // The new entry starts the program now; an old one left behind would only start it a second time.
    QString ignored;
    removeEntry(m_legacyFilePath, &ignored);
    return true;
}
