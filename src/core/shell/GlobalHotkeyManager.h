#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>

class HotkeyService;

// Keeps one system-wide key combination registered with the hotkey service and calls the stored function on the
// main thread each time it is pressed. Key codes and modifier masks use the program's convention (HotkeyService.h).
class GlobalHotkeyManager {
public:
    explicit GlobalHotkeyManager(HotkeyService& service);
    ~GlobalHotkeyManager();
    GlobalHotkeyManager(const GlobalHotkeyManager&) = delete;
    GlobalHotkeyManager& operator=(const GlobalHotkeyManager&) = delete;

    // Replaces any earlier registration by one for this combination and stores handler as the function to call.
    // A refused combination is only logged ("Failed to register hotkey: <status>"); the handler stays stored but
    // nothing is delivered until the next successful registration.
    void registerHotkey(quint32 keyCode, quint32 modifiers, std::function<void()> handler);
    // Removes the registration and the press handler, whichever are present; the stored function is kept but no
    // press reaches it. Calling it again does nothing. The destructor unregisters and releases the function.
    void unregister();

    bool isRegistered() const { return m_registered; }
    // The service's status for the last registration: 0 when it succeeded (HotkeyService::grab()).
    int lastStatus() const { return m_lastStatus; }
    // The key code of a key in a key event, for recording a new combination (HotkeyService::keyCodeOfKey()).
    std::optional<quint32> keyCodeOfKey(quint32 nativeScanCode, quint32 nativeModifiers) const;
    // The function called on every press; kept after a failed registration and after unregister().
    const std::function<void()>& onHotkeyPressed() const { return *m_onHotkeyPressed; }

private:
    HotkeyService& m_service;
    // Shared with the press handler given to the service, which holds it weakly: a press arriving after the
    // manager is gone finds nothing to call.
    std::shared_ptr<std::function<void()>> m_onHotkeyPressed;
    bool m_registered = false;
    int m_lastStatus = 0;
    bool m_handlerInstalled = false;
};
