#pragma once

#include "core/api/HTTPAPIServerDelegate.h"
#include "core/capture/OverlayPresenter.h"
#include "core/capture/TextEditorDelegate.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class AboutWindowController;
class AppSettings;
class CaptureSessionController;
class ClipboardService;
class DisplayCapture;
class GlobalHotkeyManager;
class HistoryManager;
class HTTPAPIServer;
class HotkeyService;
class LegalAcceptanceWindowController;
class LegalInfoWindowController;
class LiveTextRecognitionService;
class OnboardingWindowController;
class Pasteboard;
class PermissionPrompt;
class QAction;
class QMenu;
class QSystemTrayIcon;
class ScreenCaptureService;
class TextEditorWindow;
class TextRecognizer;

// The application controller: owns every long-lived service and window, runs the start-up with its two gates
// (terms accepted, screen capturable), builds the tray menu, registers the global hotkey and carries out the
// menu's commands. It is also what the HTTP server reaches the application through. Main thread only.
class AppDelegate : public QObject, public TextEditorDelegate, public HTTPAPIServerDelegate {
    Q_OBJECT

public:
    // What the controller is given. The stores and platform services outlive it.
    struct Services {
        AppSettings& settings;
        HistoryManager& history;
        DisplayCapture& displayCapture;
        HotkeyService& hotkeyService;
        TextRecognizer& textRecognizer;
        Pasteboard& pasteboard;
        PermissionPrompt& permissionPrompt;
        // Asks the application to end; the termination notification follows from the event loop.
        std::function<void()> terminate;
        // Whether the desktop offers a system tray now.
        std::function<bool()> isSystemTrayAvailable;
        // The overlays; when empty the controller makes the real full-screen overlay windows.
        std::unique_ptr<OverlayPresenter> overlayPresenter = {};
    };

    enum class State { Created, AwaitingTerms, PermissionGate, Running, Terminating, Quitting };

    explicit AppDelegate(Services services, QObject* parent = nullptr);
    ~AppDelegate() override;

    // The platform's two notifications.
    void applicationDidFinishLaunching();
    void applicationWillTerminate();

    // The menu's commands.
    void captureText();
    void toggleHistory();
    void showPreferences();
    void showAbout();
    void showOnboardingFromMenu();
    void showImpressum();
    void showTerms();
    void showPrivacy();
    void showAccessibility();
    void quit();

    // Registers the stored hotkey; the preferences call it again after the hotkey changed.
    void registerHotkey();
    // Shows the current hotkey next to the capture item of the tray menu.
    void updateCaptureMenuItem();
    // Stops the HTTP server and starts it again when the settings say so.
    void restartAPIServer();

    void showTextEditor(const QString& text, std::function<void(std::optional<QString>)> completion,
                        std::function<void()> recaptureHandler) override;

    // What the HTTP server asks of the application.
    void requestCapture() override;
    bool isSidebarVisible() override;
    void showHistorySidebar() override;
    void hideHistorySidebar() override;
    std::optional<QByteArray> sidebarScreenshotPNG() override;
    nlohmann::json appWindowList() override;
    std::optional<QByteArray> appWindowsScreenshotPNG() override;
    std::optional<QByteArray> overlayScreenshotPNG() override;
    void openPreferences(const std::optional<QString>& tab) override;
    void openAboutWindow() override;
    void openOnboardingWindow() override;
    void quitApplication() override;

    // A request handed over by a later start of the program ("activate", "capture").
    void handleInstanceRequest(const QString& request);

    State state() const { return m_state; }
    QMenu* statusMenu() const { return m_statusMenu.get(); }
    QSystemTrayIcon* statusItem() const { return m_statusItem; }
    GlobalHotkeyManager& hotkeyManager() const { return *m_hotkeyManager; }
    CaptureSessionController& captureController() const { return *m_captureController; }
    TextEditorWindow& textEditorWindow() const { return *m_textEditorWindow; }
    HTTPAPIServer& apiServer() const { return *m_apiServer; }
    LegalAcceptanceWindowController* legalAcceptanceWindowController() const;
    OnboardingWindowController* onboardingWindowController() const;
    AboutWindowController* aboutWindowController() const;
    LegalInfoWindowController* legalInfoWindowController() const;

private:
    void showLegalAcceptance();
    void continueLaunch();
    bool passesPermissionGate();
    void setupStatusMenu();
    QAction* addMenuAction(QMenu* menu, const char* name, const QString& title, void (AppDelegate::*action)());
    void setupAPIServer();
    void startAPIServer(qint64 port, bool announce);
    void showOnboarding();
    void showLegalInfo(int kind);
    void terminate();

    AppSettings& m_settings;
    HistoryManager& m_history;
    DisplayCapture& m_displayCapture;
    PermissionPrompt& m_permissionPrompt;
    std::function<void()> m_terminate;
    std::function<bool()> m_isSystemTrayAvailable;
    State m_state = State::Created;
    bool m_trayAvailable = false;

    // Declared in the order they are built; destroyed in reverse, the capture controller before its services.
    std::unique_ptr<GlobalHotkeyManager> m_hotkeyManager;
    std::unique_ptr<ScreenCaptureService> m_screenCapture;
    std::unique_ptr<OverlayPresenter> m_overlayManager;
    std::unique_ptr<LiveTextRecognitionService> m_textRecognition;
    std::unique_ptr<ClipboardService> m_clipboard;
    std::unique_ptr<CaptureSessionController> m_captureController;
    std::unique_ptr<TextEditorWindow> m_textEditorWindow;
    std::unique_ptr<HTTPAPIServer> m_apiServer;

    std::unique_ptr<QMenu> m_statusMenu;
    QSystemTrayIcon* m_statusItem = nullptr; // child of this controller
    std::unique_ptr<AboutWindowController> m_aboutWindowController;
    std::unique_ptr<LegalAcceptanceWindowController> m_legalAcceptanceWindowController;
    std::unique_ptr<LegalInfoWindowController> m_legalInfoWindowController;
    std::unique_ptr<OnboardingWindowController> m_onboardingWindowController;
};
