#include "core/support/XdgPaths.h"

#include <QDir>

namespace {

QString baseDirectory(const char* variable, const QString& fallbackBelowHome)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::homePath() + QLatin1Char('/') + fallbackBelowHome;
}

} // namespace

QString XdgPaths::configHome()
{
    return baseDirectory("XDG_CONFIG_HOME", QStringLiteral(".config"));
}

QString XdgPaths::dataHome()
{
    return baseDirectory("XDG_DATA_HOME", QStringLiteral(".local/share"));
}

QString XdgPaths::stateHome()
{
    return baseDirectory("XDG_STATE_HOME", QStringLiteral(".local/state"));
}

QString XdgPaths::settingsFile()
{
    return configHome() + QStringLiteral("/Quillora/settings.json");
}

QString XdgPaths::appDataFolder()
{
    return dataHome() + QStringLiteral("/Quillora");
}

QString XdgPaths::appStateFolder()
{
    return stateHome() + QStringLiteral("/Quillora");
}

QString XdgPaths::autostartFile()
{
    return configHome() + QStringLiteral("/autostart/" QUILLORA_APP_ID ".desktop");
}
