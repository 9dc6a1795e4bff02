#include "widgets/shell/AppPreferencesBridge.h"

#include "core/shell/GlobalHotkeyManager.h"
#include "widgets/shell/AppDelegate.h"
#include "widgets/shell/TrayMenu.h"

#include <QDesktopServices>

AppPreferencesBridge::AppPreferencesBridge(AppDelegate& app)
    : m_app(app)
{}

void AppPreferencesBridge::suspendHotkey()
{
    m_app.hotkeyManager().unregister();
}

void AppPreferencesBridge::registerHotkey()
{
    // A recording cut short by the window going away at termination must not take the hotkey again.
    if (m_app.state() == AppDelegate::State::Running)
        m_app.registerHotkey();
}

void AppPreferencesBridge::updateCaptureMenuItem()
{
    if (TrayMenu* tray = m_app.trayMenu())
        tray->updateCaptureMenuItem();
}

int AppPreferencesBridge::hotkeyStatus() const
{
    return m_app.hotkeyManager().lastStatus();
}

std::optional<quint32> AppPreferencesBridge::keyCodeOfKey(quint32 nativeScanCode, quint32 nativeModifiers) const
{
    return m_app.hotkeyManager().keyCodeOfKey(nativeScanCode, nativeModifiers);
}

void AppPreferencesBridge::restartAPIServer()
{
    m_app.restartAPIServer();
}

void AppPreferencesBridge::openURL(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}
