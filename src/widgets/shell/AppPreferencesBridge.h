#pragma once

#include "widgets/preferences/PreferencesDelegate.h"

class AppDelegate;

// What the preferences window reaches the application controller through.
class AppPreferencesBridge : public PreferencesDelegate {
public:
    explicit AppPreferencesBridge(AppDelegate& app);

    void suspendHotkey() override;
    void registerHotkey() override;
    void updateCaptureMenuItem() override;
    int hotkeyStatus() const override;
    std::optional<quint32> keyCodeOfKey(quint32 nativeScanCode, quint32 nativeModifiers) const override;
    void restartAPIServer() override;
    void openURL(const QUrl& url) override;

private:
    AppDelegate& m_app;
};
