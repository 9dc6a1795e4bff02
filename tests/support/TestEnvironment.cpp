#include "TestEnvironment.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

static std::unique_ptr<QTemporaryDir> homeDir;

void TestEnvironment::setUpPrivateHome()
{
    homeDir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/quillora-test-XXXXXX"));
    const std::pair<const char*, const char*> folders[] = {{"HOME", ""},
                                                           {"XDG_CONFIG_HOME", "/.config"},
                                                           {"XDG_DATA_HOME", "/.local/share"},
                                                           {"XDG_STATE_HOME", "/.local/state"},
                                                           {"XDG_CACHE_HOME", "/.cache"},
                                                           {"XDG_RUNTIME_DIR", "/runtime"}};
    for (const auto& [name, folder] : folders) {
        const QString path = homeDir->path() + QLatin1String(folder);
        QDir().mkpath(path);
        ::setenv(name, QFile::encodeName(path).constData(), 1);
    }
    QFile::setPermissions(homeDir->path() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QString TestEnvironment::home()
{
    return homeDir ? homeDir->path() : QString();
}
