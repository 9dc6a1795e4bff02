#pragma once

#include "core/capture/OverlayPresenter.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class APIServerLauncher;
class AppAPIDelegate;
class AppPreferencesBridge;
struct AppCommands;
class AppSettings;
class CaptureSessionController;
class ClipboardService;
class DisplayCapture;
class GlobalHotkeyManager;
class HistoryManager;
class HistorySidebarController;
class HTTPAPIServer;
class HotkeyService;
class InfoWindows;
class LegalAcceptanceWindowController;
class LiveTextRecognitionService;
class Pasteboard;
class PermissionPrompt;
class PreferencesWindowController;
class PointerMonitor;
class ScreenCaptureService;
class SyntheticInput;
class TextEditorWindow;
class SystemClock;
class TextRecognizer;
class TrayMenu;

// The application controller: owns every long-lived service and window, runs the start-up with its two gates
// (terms accepted, screen capturable), registers the global hotkey and carries out the commands that the tray
// menu and the HTTP API give it. Main thread only.
class AppDelegate : public QObject {
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
        // The pointer across the desktop, for the history sidebar's edge push; none means no edge tracking.
        PointerMonitor* pointerMonitor = nullptr;
        // What the HTTP API's input routes drive the desktop with; without it they refuse.
        SyntheticInput* syntheticInput = nullptr;
        // Whether windows are shown exactly where they are put (see OverlayManager).
        bool windowsPlaceThemselves = true;
    };

    enum class State { Created, AwaitingTerms, PermissionGate, Running, Terminating, Quitting };

    explicit AppDelegate(Services services, QObject* parent = nullptr);
    ~AppDelegate() override;

    // The platform's two notifications.
    void applicationDidFinishLaunching();
    void applicationWillTerminate();

    // Registers the stored hotkey and shows at the tray whether it is in effect; the preferences call it again after
    // the hotkey changed.
    void registerHotkey();
    // Stops the HTTP server and starts it again when the settings say so.
    void restartAPIServer();

    // Opens the preferences window, made on first use, on the named tab or, without a name, on the tab shown last.
    void openPreferences(const std::optional<QString>& tab);

    // A request handed over by a later start of the program ("activate", "capture", "sidebar").
    void handleInstanceRequest(const QString& request);

    State state() const { return m_state; }
    GlobalHotkeyManager& hotkeyManager() const { return *m_hotkeyManager; }
    // Made once the start-up gates are passed; null before.
    TrayMenu* trayMenu() const { return m_trayMenu.get(); }
    HTTPAPIServer& apiServer() const { return *m_apiServer; }
    LegalAcceptanceWindowController* legalAcceptanceWindowController() const
    {
        return m_legalAcceptanceWindowController.get();
    }
    InfoWindows& infoWindows() const { return *m_infoWindows; }
    // Made on first use; null before.
    PreferencesWindowController* preferencesWindowController() const { return m_preferencesWindowController.get(); }
    // Made at launch only when history is on then; null otherwise, for the rest of the process.
    HistorySidebarController* historySidebarController() const { return m_historySidebarController.get(); }

private:
    AppCommands commands();
    void showLegalAcceptance();
    void continueLaunch();
    bool passesPermissionGate();
    void makeHistorySidebar();
    void terminate();

    // The commands.
    void captureText();
    void toggleHistory();
    void showPreferences();
    void showOnboarding();

    AppSettings& m_settings;
    HistoryManager& m_history;
    TextRecognizer& m_textRecognizer;
    PermissionPrompt& m_permissionPrompt;
    std::function<void()> m_terminate;
    std::function<bool()> m_isSystemTrayAvailable;
    PointerMonitor* m_pointerMonitor;
    State m_state = State::Created;

    // Declared in the order they are built; destroyed in reverse, the capture controller before its services and
    // the HTTP server before the delegate it calls.
    std::unique_ptr<GlobalHotkeyManager> m_hotkeyManager;
    std::unique_ptr<ScreenCaptureService> m_screenCapture;
    std::unique_ptr<OverlayPresenter> m_overlayManager;
    std::unique_ptr<LiveTextRecognitionService> m_textRecognition;
    std::unique_ptr<ClipboardService> m_clipboard;
    std::unique_ptr<CaptureSessionController> m_captureController;
    std::unique_ptr<TextEditorWindow> m_textEditorWindow;
    std::unique_ptr<InfoWindows> m_infoWindows;
    std::unique_ptr<SystemClock> m_clock;
    std::unique_ptr<HistorySidebarController> m_historySidebarController;
    std::unique_ptr<AppAPIDelegate> m_apiDelegate;
    std::unique_ptr<HTTPAPIServer> m_apiServer;
    std::unique_ptr<APIServerLauncher> m_apiServerLauncher;

    std::unique_ptr<TrayMenu> m_trayMenu;
    std::unique_ptr<LegalAcceptanceWindowController> m_legalAcceptanceWindowController;
    std::unique_ptr<AppPreferencesBridge> m_preferencesBridge;
    std::unique_ptr<PreferencesWindowController> m_preferencesWindowController;
};
