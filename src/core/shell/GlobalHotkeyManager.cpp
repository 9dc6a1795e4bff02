#include "core/shell/GlobalHotkeyManager.h"

#include "core/platform/HotkeyService.h"
#include "core/support/Log.h"

GlobalHotkeyManager::GlobalHotkeyManager(HotkeyService& service)
    : m_service(service)
    , m_onHotkeyPressed(std::make_shared<std::function<void()>>())
{}

GlobalHotkeyManager::~GlobalHotkeyManager()
{
    unregister();
    *m_onHotkeyPressed = nullptr;
}

void GlobalHotkeyManager::registerHotkey(quint32 keyCode, quint32 modifiers, std::function<void()> handler)
{
    if (m_registered) {
        m_service.release();
        m_registered = false;
    }
    if (m_handlerInstalled) {
        m_service.setPressHandler({});
        m_handlerInstalled = false;
    }
    *m_onHotkeyPressed = std::move(handler);

    const int status = m_service.grab(keyCode, modifiers);
    m_lastStatus = status;
    if (status != 0) {
        qCInfo(lcHotkey).noquote() << QStringLiteral("Failed to register hotkey: ") + QString::number(status);
        return;
    }
    m_registered = true;

    m_service.setPressHandler([weak = std::weak_ptr(m_onHotkeyPressed)] {
        const std::shared_ptr<std::function<void()>> slot = weak.lock();
        if (!slot || !*slot)
            return;
        // A copy, because the handler may register a new combination and so replace the stored function
        // while it runs.
        const std::function<void()> handler = *slot;
        handler();
    });
    m_handlerInstalled = true;
}

void GlobalHotkeyManager::unregister()
{
    if (m_registered) {
        m_service.release();
        m_registered = false;
    }
    if (m_handlerInstalled) {
        m_service.setPressHandler({});
        m_handlerInstalled = false;
    }
}

std::optional<quint32> GlobalHotkeyManager::keyCodeOfKey(quint32 nativeScanCode, quint32 nativeModifiers) const
{
    return m_service.keyCodeOfKey(nativeScanCode, nativeModifiers);
}
