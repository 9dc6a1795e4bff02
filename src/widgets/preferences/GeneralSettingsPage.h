#pragma once

#include "core/shell/HotkeyRecording.h"

#include <QWidget>

class AppSettings;
class HotkeyRecorderView;
class PreferencesDelegate;
class QLabel;
class QPushButton;
class QStackedWidget;
class SettingsToggle;

// The General page: the capture hotkey with its recorder, the two capture options and open-at-login.
class GeneralSettingsPage : public QWidget {
    Q_OBJECT

public:
    GeneralSettingsPage(AppSettings& settings, PreferencesDelegate& delegate, QWidget* parent = nullptr);

    // Shows the stored values.
    void reload();
    // Reads open-at-login from the login item; done each time the page is shown.
    void reloadLaunchAtLogin();
    // Stops listening for a hotkey, keeping the old one, if the recorder listens.
    void cancelRecording();

    QPushButton* hotkeyButton() const { return m_hotkeyButton; }
    QPushButton* resetButton() const { return m_resetButton; }
    HotkeyRecorderView* recorder() const { return m_recorder; }
    // The line under the hotkey that says why it is not in effect; hidden when it is.
    QLabel* hotkeyMessage() const { return m_hotkeyMessage; }
    SettingsToggle* shadowsToggle() const { return m_shadows; }
    SettingsToggle* captureHintToggle() const { return m_captureHint; }
    SettingsToggle* launchAtLoginToggle() const { return m_launchAtLogin; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void startRecording();
    void finishRecording();
    void storeHotkey(quint32 keyCode, quint32 modifiers);
    void showRefusal(HotkeyRecording::Outcome reason);
    void updateHotkey();

    AppSettings& m_settings;
    PreferencesDelegate& m_delegate;
    QStackedWidget* m_hotkeyStack;
    QPushButton* m_hotkeyButton;
    HotkeyRecorderView* m_recorder;
    QPushButton* m_resetButton;
    QLabel* m_hotkeyMessage;
    SettingsToggle* m_shadows;
    SettingsToggle* m_captureHint;
    SettingsToggle* m_launchAtLogin;
};
