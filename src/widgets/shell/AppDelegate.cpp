#include "widgets/shell/AppDelegate.h"

#include "core/api/HTTPAPIServer.h"
#include "core/capture/CaptureSessionController.h"
#include "core/capture/ClipboardService.h"
#include "core/capture/LiveTextRecognitionService.h"
#include "core/capture/ScreenCaptureService.h"
#include "core/platform/DisplayCapture.h"
#include "core/platform/TextRecognizer.h"
#include "core/recognition/RecognitionLanguages.h"
#include "core/settings/AppSettings.h"
#include "core/settings/PreferencesTab.h"
#include "core/shell/GlobalHotkeyManager.h"
#include "core/shell/SingleInstance.h"
#include "core/sidebar/HistorySidebarController.h"
#include "core/support/Log.h"
#include "core/support/SystemClock.h"
#include "widgets/capture/OverlayManager.h"
#include "widgets/capture/TextEditorWindow.h"
#include "widgets/preferences/PreferencesDelegate.h"
#include "widgets/preferences/PreferencesWindowController.h"
#include "widgets/shell/AppAPIDelegate.h"
#include "widgets/shell/AppCommands.h"
#include "widgets/shell/InfoWindows.h"
#include "widgets/shell/LegalAcceptanceWindowController.h"
#include "widgets/shell/Localization.h"
#include "widgets/shell/OnboardingWindowController.h"
#include "widgets/shell/PermissionPrompt.h"
#include "widgets/shell/TrayMenu.h"
#include "widgets/sidebar/HistorySidebarWindow.h"

#include <QDesktopServices>
#include <QPointer>

// What the preferences window reaches the controller through.
class AppDelegate::PreferencesBridge : public PreferencesDelegate {
public:
    explicit PreferencesBridge(AppDelegate& app)
        : m_app(app)
    {}

    void suspendHotkey() override { m_app.m_hotkeyManager->unregister(); }
    void registerHotkey() override
    {
        // A recording cut short by the window going away at termination must not take the hotkey again.
        if (m_app.m_state == State::Running)
            m_app.registerHotkey();
    }
    void updateCaptureMenuItem() override
    {
        if (m_app.m_trayMenu)
            m_app.m_trayMenu->updateCaptureMenuItem();
    }
    int hotkeyStatus() const override { return m_app.m_hotkeyManager->lastStatus(); }
    std::optional<quint32> keyCodeOfKey(quint32 nativeScanCode, quint32 nativeModifiers) const override
    {
        return m_app.m_hotkeyManager->keyCodeOfKey(nativeScanCode, nativeModifiers);
    }
    void restartAPIServer() override { m_app.restartAPIServer(); }
    void openURL(const QUrl& url) override { QDesktopServices::openUrl(url); }

private:
    AppDelegate& m_app;
};

AppDelegate::AppDelegate(Services services, QObject* parent)
    : QObject(parent)
    , m_settings(services.settings)
    , m_history(services.history)
    , m_displayCapture(services.displayCapture)
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
{}

AppDelegate::~AppDelegate() = default;

AppCommands AppDelegate::commands()
{
    const auto bind = [](auto* target, auto method) {
        return [target = QPointer(target), method](auto... arguments) {
            if (target)
                (target.get()->*method)(arguments...);
        };
    };
    return {
        .captureText = bind(this, &AppDelegate::captureText),
        .toggleHistory = bind(this, &AppDelegate::toggleHistory),
        .showPreferences = bind(this, &AppDelegate::showPreferences),
        .openPreferences = bind(this, &AppDelegate::openPreferences),
        .showAbout = bind(m_infoWindows.get(), &InfoWindows::showAbout),
        .showOnboarding = bind(this, &AppDelegate::showOnboarding),
        .showLegalInfo = bind(m_infoWindows.get(), &InfoWindows::showLegalInfo),
        .quit = bind(this, &AppDelegate::terminate),
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
    QPointer<AppDelegate> self(this);
    m_legalAcceptanceWindowController = std::make_unique<LegalAcceptanceWindowController>(
        m_settings,
        [self] {
            if (!self)
                return;
            qCInfo(lcApp).noquote() << QStringLiteral("Legal terms accepted");
            self->continueLaunch();
        },
        [self] {
            if (!self)
                return;
            qCInfo(lcApp).noquote() << QStringLiteral("Legal terms declined - quitting app");
            self->terminate();
        });
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
        if (self)
            self->tellNoTextFound();
    });
    registerHotkey();
    if (m_settings.historyEnabled() && !m_historySidebarController)
        makeHistorySidebar();
    if (!m_settings.hasCompletedOnboarding())
        showOnboarding();
    setupAPIServer();
    // Load the recognition models now, off the main thread, rather than on the user's first capture.
    m_textRecognition->warmUp();
    m_state = State::Running;
}

bool AppDelegate::passesPermissionGate()
{
    // One throw-away capture first: it opens the capture path (shared memory, extension queries) so that the
    // check and the first real capture do not pay for it.
    const QList<Monitor> displays = m_displayCapture.displays();
    if (!displays.isEmpty())
        (void)m_displayCapture.captureDisplay(displays.first());

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
    QPointer<AppDelegate> self(this);
    m_hotkeyManager->registerHotkey(m_settings.hotkeyKeyCode(), m_settings.hotkeyModifiers(), [self] {
        if (self)
            self->captureText();
    });
    if (m_trayMenu)
        m_trayMenu->setHotkeyStatus(m_hotkeyManager->lastStatus());
}

void AppDelegate::makeHistorySidebar()
{
    m_historySidebarController = std::make_unique<HistorySidebarController>(
        m_pointerMonitor, *m_clock, [this](HistorySidebarWindowDelegate& delegate) {
            return std::make_unique<HistorySidebarWindow>(m_history, *m_clipboard, delegate);
        });
    QPointer<AppDelegate> self(this);
    m_historySidebarController->onCaptureRequested = [self] {
        if (self)
            self->captureText();
    };
    m_apiDelegate->setHistorySidebar(m_historySidebarController.get());
}

void AppDelegate::setupAPIServer()
{
    m_apiServer->setDelegate(m_apiDelegate.get());
    const bool enabled = m_settings.apiEnabled();
    const qint64 port = m_settings.apiPort();
    qCInfo(lcApp).noquote() << QStringLiteral("🔧 API Setup: enabled=%1, port=%2")
                                   .arg(enabled ? QStringLiteral("true") : QStringLiteral("false"))
                                   .arg(port);
    if (!enabled) {
        qCInfo(lcApp).noquote() << QStringLiteral("🔧 API server disabled in settings");
        return;
    }
    startAPIServer(port, true);
}

void AppDelegate::startAPIServer(qint64 port, bool announce)
{
    // A stored port outside 1-65535 would wrap around as a 16-bit number and open some other port.
    QString why;
    const std::optional<quint16> valid = HTTPAPIServer::validPort(port, &why);
    if (!valid) {
        qCInfo(lcApp).noquote() << why;
        return;
    }
    if (announce)
        qCInfo(lcApp).noquote() << QStringLiteral("🔧 Starting API server on port %1...").arg(*valid);
    m_apiServer->start(*valid);
}

void AppDelegate::restartAPIServer()
{
    m_apiServer->stop();
    if (m_settings.apiEnabled())
        startAPIServer(m_settings.apiPort(), false);
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
        m_preferencesBridge = std::make_unique<PreferencesBridge>(*this);
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

void AppDelegate::tellNoTextFound()
{
    if (!m_trayMenu)
        return;
    QStringList names;
    for (const QString& code : m_textRecognizer.languages())
        names.append(RecognitionLanguages::displayName(code, Localization::currentLanguage()));
    //% "No text found"
    const QString title = qtTrId("notification.noText.title");
    //% "Recognised languages: %1"
    m_trayMenu->showNotification(
        title,
        names.isEmpty() ? QString() : qtTrId("notification.noText.languages").arg(names.join(QStringLiteral(", "))));
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
    if (OnboardingWindowController* onboarding = m_infoWindows->onboardingWindowController()) {
        onboarding->showWindow();
        return;
    }
    if (m_trayMenu)
        m_trayMenu->showAlreadyRunningMessage();
}
