#pragma once

#include <QtGlobal>

#include <optional>

class QUrl;

// What the preferences window asks of the application: the hotkey's registration, the HTTP server's restart and
// the desktop's browser. Main thread only.
class PreferencesDelegate {
public:
    virtual ~PreferencesDelegate() = default;

    // Releases the global hotkey while a new one is recorded: pressing the current combination must reach the
    // recorder rather than start a capture. registerHotkey() takes it again.
    virtual void suspendHotkey() = 0;
    // Registers the stored hotkey, replacing any earlier registration.
    virtual void registerHotkey() = 0;
    // Shows the stored hotkey at the tray menu's capture item (none when it is not registered).
    virtual void updateCaptureMenuItem() = 0;
    // The status of the hotkey's last registration: 0 when it is registered (HotkeyService::grab()).
    virtual int hotkeyStatus() const = 0;
    // The key code of a key in a key event (HotkeyService::keyCodeOfKey()).
    virtual std::optional<quint32> keyCodeOfKey(quint32 nativeScanCode, quint32 nativeModifiers) const = 0;
    // Stops the HTTP server and starts it again when the settings say so.
    virtual void restartAPIServer() = 0;
    // Opens a web page in the desktop's browser.
    virtual void openURL(const QUrl& url) = 0;
};
