#pragma once

#include <QObject>

#include <memory>

class AboutWindowController;
class AppSettings;
class LegalInfoWindowController;
class OnboardingWindowController;

// The windows of the tray menu's "Legal & Info" submenu: About, the quick start and the four legal pages. About is
// made once and shown again; the quick start and each legal page are made anew on every request, replacing the
// one before. Main thread only.
class InfoWindows : public QObject {
    Q_OBJECT

public:
    explicit InfoWindows(AppSettings& settings, QObject* parent = nullptr);
    ~InfoWindows() override;

    void showAbout();
    // trayAvailable tells the quick start whether there is a tray menu to point to.
    // hotkeyRegistered: whether the hotkey works on this desktop; without it the quick start says what to bind.
    void showOnboarding(bool trayAvailable, bool hotkeyRegistered = true);
    // kind is a LegalInfoWindowController::Kind.
    void showLegalInfo(int kind);

    // The quick start until it is completed; null before it is shown and after.
    OnboardingWindowController* onboardingWindowController() const { return m_onboardingWindowController.get(); }
    LegalInfoWindowController* legalInfoWindowController() const { return m_legalInfoWindowController.get(); }

private:
    AppSettings& m_settings;
    std::unique_ptr<AboutWindowController> m_aboutWindowController;
    std::unique_ptr<LegalInfoWindowController> m_legalInfoWindowController;
    std::unique_ptr<OnboardingWindowController> m_onboardingWindowController;
};
