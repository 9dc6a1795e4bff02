#include "core/api/APIServerLauncher.h"

#include "core/api/HTTPAPIServer.h"
#include "core/settings/AppSettings.h"
#include "core/support/Log.h"

APIServerLauncher::APIServerLauncher(AppSettings& settings, HTTPAPIServer& server)
    : m_settings(settings)
    , m_server(server)
{}

void APIServerLauncher::startAtLaunch()
{
    const bool enabled = m_settings.apiEnabled();
    const qint64 port = m_settings.apiPort();
    qCInfo(lcApp).noquote() << QStringLiteral("🔧 API Setup: enabled=%1, port=%2")
                                   .arg(enabled ? QStringLiteral("true") : QStringLiteral("false"))
                                   .arg(port);
    if (!enabled) {
        qCInfo(lcApp).noquote() << QStringLiteral("🔧 API server disabled in settings");
        return;
    }
    start(port, true);
}

void APIServerLauncher::restart()
{
    m_server.stop();
    if (m_settings.apiEnabled())
        start(m_settings.apiPort(), false);
}

void APIServerLauncher::start(qint64 port, bool announce)
{
    // A stored port outside 1-65535 would wrap around as a 16-bit number and open some other port.
    QString why;
    const std::optional<quint16> valid = HTTPAPIServer::validPort(port, &why);
    if (!valid) {
        qCInfo(lcApp).noquote() << why;
        return;
    }
    if (announce)
        qCInfo(lcApp).noquote() << QStringLiteral("🔧 Starting API server on port %1...").arg(*valid);
    m_server.start(*valid);
}
