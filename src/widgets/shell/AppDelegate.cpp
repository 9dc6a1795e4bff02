#include "widgets/shell/AppDelegate.h"

#include "core/api/APIServerLauncher.h"
#include "core/api/HTTPAPIServer.h"
#include "core/capture/CaptureSessionController.h"
#include "core/capture/ClipboardService.h"
#include "core/capture/LiveTextRecognitionService.h"
#include "core/capture/ScreenCaptureService.h"
#include "core/platform/DisplayCapture.h"
#include "core/platform/TextRecognizer.h"
#include "core/settings/AppSettings.h"
#include "core/settings/PreferencesTab.h"
#include "core/shell/GlobalHotkeyManager.h"
#include "core/shell/SingleInstance.h"
#include "core/sidebar/HistorySidebarController.h"
#include "core/support/Log.h"
#include "core/support/SystemClock.h"
#include "widgets/capture/OverlayManager.h"
#include "widgets/capture/TextEditorWindow.h"
#include "widgets/preferences/PreferencesWindowController.h"
#include "widgets/shell/AppAPIDelegate.h"
#include "widgets/shell/AppCommands.h"
#include "widgets/shell/AppPreferencesBridge.h"
#include "widgets/shell/InfoWindows.h"
#include "widgets/shell/LegalAcceptanceWindowController.h"
#include "widgets/shell/OnboardingWindowController.h"
#include "widgets/shell/PermissionPrompt.h"
#include "widgets/shell/TrayMenu.h"
#include "widgets/sidebar/HistorySidebarWindow.h"

#include <QPointer>

namespace {

// A callable that calls the method while the target lives, and does nothing once it is gone.
template <typename Target, typename Method>
auto guarded(Target* target, Method method)
{
    return [target = QPointer<Target>(target), method](auto... arguments) {
        if (target)
            (target.get()->*method)(arguments...);
    };
}

} // namespace

AppDelegate::AppDelegate(Services services, QObject* parent)
    : QObject(parent)
    , m_settings(services.settings)
    , m_history(services.history)
    , m_textRecognizer(services.textRecognizer)
    , m_permissionPrompt(services.permissionPrompt)
    , m_terminate(std::move(services.terminate))
    , m_isSystemTrayAvailable(std::move(services.isSystemTrayAvailable))
    , m_pointerMonitor(services.pointerMonitor)
    , m_hotkeyManager(std::make_unique<GlobalHotkeyManager>(services.hotkeyService))
    , m_screenCapture(std::make_unique<ScreenCaptureService>(services.displayCapture))
    , m_overlayManager(services.overlayPresenter
                           ? std::move(services.overlayPresenter)
                           : std::make_unique<OverlayManager>(services.settings, services.windowsPlaceThemselves))
    , m_textRecognition(std::make_unique<LiveTextRecognitionService>(services.textRecognizer))
    , m_clipboard(std::make_unique<ClipboardService>(services.pasteboard, services.settings))
    , m_captureController(std::make_unique<CaptureSessionController>(m_settings, *m_screenCapture, *m_overlayManager,
                                                                     *m_textRecognition, *m_clipboard, m_history))
    , m_textEditorWindow(std::make_unique<TextEditorWindow>())
    , m_infoWindows(std::make_unique<InfoWindows>(m_settings))
    , m_clock(std::make_unique<SystemClock>())
    , m_apiDelegate(std::make_unique<AppAPIDelegate>(commands(), *m_overlayManager, m_textEditorWindow.get()))
    , m_apiServer(std::make_unique<HTTPAPIServer>(
          m_settings, m_history, HTTPAPIServer::Desktop{services.syntheticInput, &services.displayCapture, {}}))
    , m_apiServerLauncher(std::make_unique<APIServerLauncher>(m_settings, *m_apiServer))
{}

AppDelegate::~AppDelegate() = default;

AppCommands AppDelegate::commands()
{
    return {
        .captureText = guarded(this, &AppDelegate::captureText),
        .toggleHistory = guarded(this, &AppDelegate::toggleHistory),
        .showPreferences = guarded(this, &AppDelegate::showPreferences),
        .openPreferences = guarded(this, &AppDelegate::openPreferences),
        .showAbout = guarded(m_infoWindows.get(), &InfoWindows::showAbout),
        .showOnboarding = guarded(this, &AppDelegate::showOnboarding),
        .showLegalInfo = guarded(m_infoWindows.get(), &InfoWindows::showLegalInfo),
        .quit = guarded(this, &AppDelegate::terminate),
    };
}

void AppDelegate::applicationDidFinishLaunching()
{
    if (m_state != State::Created)
        return;
    if (m_settings.hasAcceptedLegal())
        continueLaunch();
    else
        showLegalAcceptance();
}

void AppDelegate::applicationWillTerminate()
{
    m_state = State::Terminating;
    m_hotkeyManager->unregister();
    m_apiServer->stop();
}

void AppDelegate::showLegalAcceptance()
{
    m_state = State::AwaitingTerms;
    m_legalAcceptanceWindowController = std::make_unique<LegalAcceptanceWindowController>(
        m_settings, guarded(this, &AppDelegate::continueLaunch), guarded(this, &AppDelegate::terminate));
    m_legalAcceptanceWindowController->showWindow();
}

void AppDelegate::continueLaunch()
{
    m_state = State::PermissionGate;
    if (!passesPermissionGate())
        return;
    if (!m_trayMenu)
        m_trayMenu =
            std::make_unique<TrayMenu>(m_settings, commands(), m_isSystemTrayAvailable && m_isSystemTrayAvailable());
    m_captureController->setTextEditorDelegate(m_textEditorWindow.get());
    m_captureController->setNoTextFoundHandler([self = QPointer(this)] {
        if (self && self->m_trayMenu)
            self->m_trayMenu->showNoTextFound(self->m_textRecognizer.languages());
    });
    registerHotkey();
    if (m_settings.historyEnabled() && !m_historySidebarController)
        makeHistorySidebar();
    if (!m_settings.hasCompletedOnboarding())
        showOnboarding();
    m_apiServer->setDelegate(m_apiDelegate.get());
    m_apiServerLauncher->startAtLaunch();
    // Load the recognition models now, off the main thread, rather than on the user's first capture.
    m_textRecognition->warmUp();
    m_state = State::Running;
}

bool AppDelegate::passesPermissionGate()
{
    m_screenCapture->openCapturePath();
    if (m_screenCapture->checkScreenRecordingPermission()) {
        qCInfo(lcApp).noquote() << QStringLiteral("✅ Screen Recording permission granted");
        return true;
    }
    qCInfo(lcApp).noquote() << QStringLiteral("⛔ Screen Recording permission NOT granted - blocking app startup");
    if (m_permissionPrompt.ask(PermissionPrompt::Style::Critical))
        m_permissionPrompt.openSettings();
    qCInfo(lcApp).noquote() << QStringLiteral("🚪 Quitting app - user must grant permission and restart");
    terminate();
    return false;
}

void AppDelegate::registerHotkey()
{
    m_hotkeyManager->registerHotkey(m_settings.hotkeyKeyCode(), m_settings.hotkeyModifiers(),
                                    guarded(this, &AppDelegate::captureText));
    if (m_trayMenu)
        m_trayMenu->setHotkeyStatus(m_hotkeyManager->lastStatus());
}

void AppDelegate::makeHistorySidebar()
{
    m_historySidebarController = std::make_unique<HistorySidebarController>(
        m_pointerMonitor, *m_clock, [this](HistorySidebarWindowDelegate& delegate) {
            return std::make_unique<HistorySidebarWindow>(m_history, *m_clipboard, delegate);
        });
    m_historySidebarController->onCaptureRequested = guarded(this, &AppDelegate::captureText);
    m_apiDelegate->setHistorySidebar(m_historySidebarController.get());
}

void AppDelegate::restartAPIServer()
{
    m_apiServerLauncher->restart();
}

void AppDelegate::captureText()
{
    if (m_screenCapture->checkScreenRecordingPermission()) {
        m_captureController->startCapture(true);
        return;
    }
    if (m_permissionPrompt.ask(PermissionPrompt::Style::Warning))
        m_permissionPrompt.openSettings();
}

void AppDelegate::toggleHistory()
{
    // Without a sidebar (history was off at launch) the command does nothing.
    if (m_historySidebarController)
        m_historySidebarController->toggleSidebar();
}

void AppDelegate::showPreferences()
{
    openPreferences(std::nullopt);
}

void AppDelegate::openPreferences(const std::optional<QString>& tab)
{
    if (!m_preferencesWindowController) {
        m_preferencesBridge = std::make_unique<AppPreferencesBridge>(*this);
        m_preferencesWindowController =
            std::make_unique<PreferencesWindowController>(m_settings, m_history, *m_preferencesBridge);
    }
    if (tab)
        m_preferencesWindowController->selectTab(PreferencesTabs::fromName(*tab));
    m_preferencesWindowController->showWindow();
}

void AppDelegate::showOnboarding()
{
    m_infoWindows->showOnboarding(m_trayMenu && m_trayMenu->isTrayAvailable(), m_hotkeyManager->lastStatus() == 0);
}

void AppDelegate::terminate()
{
    m_state = State::Quitting;
    if (m_terminate)
        m_terminate();
}

void AppDelegate::handleInstanceRequest(const QString& request)
{
    if (m_state == State::AwaitingTerms && m_legalAcceptanceWindowController) {
        // Nothing runs before the terms are accepted; the person is shown where they left off.
        m_legalAcceptanceWindowController->showWindow();
        return;
    }
    if (m_state != State::Running)
        return;
    if (request == QLatin1String(SingleInstance::CaptureRequest)) {
        captureText();
        return;
    }
    if (request == QLatin1String(SingleInstance::SidebarRequest)) {
        toggleHistory();
        return;
    }
    if (OnboardingWindowController* onboarding = m_infoWindows->onboardingWindowController()) {
        onboarding->showWindow();
        return;
    }
    if (m_trayMenu)
        m_trayMenu->showAlreadyRunningMessage();
}
