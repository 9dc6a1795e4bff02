#include "widgets/shell/AppDelegate.h"

#include "core/api/HTTPAPIServer.h"
#include "core/capture/CaptureSessionController.h"
#include "core/capture/ClipboardService.h"
#include "core/capture/LiveTextRecognitionService.h"
#include "core/capture/ScreenCaptureService.h"
#include "core/platform/DisplayCapture.h"
#include "core/settings/AppSettings.h"
#include "core/shell/GlobalHotkeyManager.h"
#include "core/shell/HotkeyText.h"
#include "core/shell/SingleInstance.h"
#include "core/support/Log.h"
#include "widgets/capture/OverlayManager.h"
#include "widgets/capture/ScreenshotOverlayView.h"
#include "widgets/capture/TextEditorWindow.h"
#include "widgets/common/EscClosableWindow.h"
#include "widgets/shell/AboutWindowController.h"
#include "widgets/shell/AppWindowList.h"
#include "widgets/shell/LegalAcceptanceWindowController.h"
#include "widgets/shell/LegalInfoWindowController.h"
#include "widgets/shell/OnboardingWindowController.h"
#include "widgets/shell/PermissionPrompt.h"

#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>

namespace {

const char* const CaptureActionName = "captureText";

} // namespace

AppDelegate::AppDelegate(Services services, QObject* parent)
    : QObject(parent)
    , m_settings(services.settings)
    , m_history(services.history)
    , m_displayCapture(services.displayCapture)
    , m_permissionPrompt(services.permissionPrompt)
    , m_terminate(std::move(services.terminate))
    , m_isSystemTrayAvailable(std::move(services.isSystemTrayAvailable))
    , m_hotkeyManager(std::make_unique<GlobalHotkeyManager>(services.hotkeyService))
    , m_screenCapture(std::make_unique<ScreenCaptureService>(services.displayCapture))
    , m_overlayManager(services.overlayPresenter ? std::move(services.overlayPresenter)
                                                 : std::make_unique<OverlayManager>(services.settings))
    , m_textRecognition(std::make_unique<LiveTextRecognitionService>(services.textRecognizer))
    , m_clipboard(std::make_unique<ClipboardService>(services.pasteboard))
    , m_captureController(std::make_unique<CaptureSessionController>(m_settings, *m_screenCapture, *m_overlayManager,
                                                                     *m_textRecognition, *m_clipboard, m_history))
    , m_textEditorWindow(std::make_unique<TextEditorWindow>())
    , m_apiServer(std::make_unique<HTTPAPIServer>(m_settings, m_history))
{}

AppDelegate::~AppDelegate()
{
    m_captureController->setTextEditorDelegate(nullptr);
}

LegalAcceptanceWindowController* AppDelegate::legalAcceptanceWindowController() const
{
    return m_legalAcceptanceWindowController.get();
}

OnboardingWindowController* AppDelegate::onboardingWindowController() const
{
    return m_onboardingWindowController.get();
}

AboutWindowController* AppDelegate::aboutWindowController() const
{
    return m_aboutWindowController.get();
}

LegalInfoWindowController* AppDelegate::legalInfoWindowController() const
{
    return m_legalInfoWindowController.get();
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
    setupStatusMenu();
    m_captureController->setTextEditorDelegate(this);
    registerHotkey();
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

QAction* AppDelegate::addMenuAction(QMenu* menu, const char* name, const QString& title, void (AppDelegate::*action)())
{
    // Titles are plain text: an ampersand in a translation must not turn into a mnemonic.
    QAction* item = menu->addAction(QString(title).replace(u'&', QStringLiteral("&&")));
    item->setObjectName(QString::fromLatin1(name));
    connect(item, &QAction::triggered, this, action);
    return item;
}

void AppDelegate::setupStatusMenu()
{
    if (m_statusMenu)
        return;
    m_statusMenu = std::make_unique<QMenu>();
    m_statusMenu->setObjectName(QStringLiteral("statusMenu"));
    m_statusMenu->setAccessibleName(QStringLiteral("Quillora"));
    QMenu* menu = m_statusMenu.get();

    //% "Capture Text"
    addMenuAction(menu, CaptureActionName, qtTrId("menu.capture"), &AppDelegate::captureText);
    //% "History"
    addMenuAction(menu, "toggleHistory", qtTrId("menu.history"), &AppDelegate::toggleHistory);
    menu->addSeparator();
    //% "Preferences…"
    QAction* preferences =
        addMenuAction(menu, "showPreferences", qtTrId("menu.preferences"), &AppDelegate::showPreferences);
    // The preferences window is not part of this build yet; a greyed item says so rather than doing nothing.
    preferences->setEnabled(false);
    menu->addSeparator();

    //% "Legal & Info"
    QMenu* legal = menu->addMenu(qtTrId("menu.legal").replace(u'&', QStringLiteral("&&")));
    legal->menuAction()->setObjectName(QStringLiteral("legalMenu"));
    //% "About Quillora"
    addMenuAction(legal, "showAbout", qtTrId("menu.about"), &AppDelegate::showAbout);
    //% "Quick Start"
    addMenuAction(legal, "showOnboardingFromMenu", qtTrId("menu.quickstart"), &AppDelegate::showOnboardingFromMenu);
    legal->addSeparator();
    addMenuAction(legal, "showImpressum", LegalInfoWindowController::title(LegalInfoWindowController::Impressum),
                  &AppDelegate::showImpressum);
    addMenuAction(legal, "showTerms", LegalInfoWindowController::title(LegalInfoWindowController::Terms),
                  &AppDelegate::showTerms);
    addMenuAction(legal, "showPrivacy", LegalInfoWindowController::title(LegalInfoWindowController::Privacy),
                  &AppDelegate::showPrivacy);
    addMenuAction(legal, "showAccessibility",
                  LegalInfoWindowController::title(LegalInfoWindowController::Accessibility),
                  &AppDelegate::showAccessibility);
    menu->addSeparator();
    //% "Quit Quillora"
    addMenuAction(menu, "quit", qtTrId("menu.quit"), &AppDelegate::quit);

    updateCaptureMenuItem();

    m_trayAvailable = m_isSystemTrayAvailable && m_isSystemTrayAvailable();
    m_statusItem = new QSystemTrayIcon(QIcon(QStringLiteral(":/icons/quillora.svg")), this);
    m_statusItem->setObjectName(QStringLiteral("Quillora"));
    m_statusItem->setToolTip(QStringLiteral("Quillora"));
    m_statusItem->setContextMenu(menu);
    // Many trays send a plain click rather than asking for the context menu; both open the menu.
    connect(m_statusItem, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger && m_statusMenu)
            m_statusMenu->popup(QCursor::pos());
    });
    // Shown even without a tray: the icon appears by itself when a tray starts later (for example a panel that
    // starts after Quillora at login).
    m_statusItem->show();
    if (!m_trayAvailable)
        qCInfo(lcApp).noquote() << QStringLiteral(
            "⚠️ No system tray available - running without a tray icon; capture with the "
            "hotkey or `quillora --capture`");
}

void AppDelegate::updateCaptureMenuItem()
{
    if (!m_statusMenu)
        return;
    for (QAction* item : m_statusMenu->actions()) {
        if (item->objectName() != QLatin1String(CaptureActionName))
            continue;
        const quint32 keyCode = m_settings.hotkeyKeyCode();
        const quint32 modifiers = m_settings.hotkeyModifiers();
        const QString keyEquivalent = HotkeyText::keyEquivalentString(keyCode);
        const Qt::KeyboardModifiers mask = HotkeyText::qtModifiers(modifiers);
        item->setProperty("keyEquivalent", keyEquivalent);
        item->setProperty("keyEquivalentModifierMask", int(mask));
        // Monitor only: a tray menu cannot own a global shortcut (the hotkey manager grabs the real one), the
        // shortcut tells the reader which keys do the same from anywhere. A key outside the character keys has
        // no key equivalent, and modifiers alone cannot be shown.
        item->setShortcutContext(Qt::WidgetShortcut);
        item->setShortcut(keyEquivalent.isEmpty() ? QKeySequence() : HotkeyText::keySequence(keyCode, modifiers));
        item->setShortcutVisibleInContextMenu(true);
        return;
    }
}

void AppDelegate::registerHotkey()
{
    QPointer<AppDelegate> self(this);
    m_hotkeyManager->registerHotkey(m_settings.hotkeyKeyCode(), m_settings.hotkeyModifiers(), [self] {
        if (self)
            self->captureText();
    });
}

void AppDelegate::setupAPIServer()
{
    m_apiServer->setDelegate(this);
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
    // No history sidebar exists in this build; without one the command does nothing.
}

void AppDelegate::showPreferences() {}

void AppDelegate::showAbout()
{
    if (!m_aboutWindowController)
        m_aboutWindowController = std::make_unique<AboutWindowController>();
    m_aboutWindowController->showWindow();
}

void AppDelegate::showOnboardingFromMenu()
{
    showOnboarding();
}

void AppDelegate::showOnboarding()
{
    const quint32 keyCode = m_settings.hotkeyKeyCode();
    const quint32 modifiers = m_settings.hotkeyModifiers();
    const OnboardingWindowController::Hotkey hotkey{HotkeyText::desktopString(keyCode, modifiers),
                                                    HotkeyText::hotkeyDisplayString(keyCode, modifiers)};
    QPointer<AppDelegate> self(this);
    auto controller = std::make_unique<OnboardingWindowController>(m_settings, hotkey, m_trayAvailable, [self] {
        if (!self)
            return;
        qCInfo(lcApp).noquote() << QStringLiteral("Onboarding completed");
        // The completion runs inside the window's own button handler: the controller goes from the event loop.
        if (self->m_onboardingWindowController)
            self->m_onboardingWindowController.release()->deleteLater();
    });
    if (m_onboardingWindowController)
        m_onboardingWindowController.release()->deleteLater();
    m_onboardingWindowController = std::move(controller);
    m_onboardingWindowController->showWindow();
}

void AppDelegate::showImpressum()
{
    showLegalInfo(LegalInfoWindowController::Impressum);
}

void AppDelegate::showTerms()
{
    showLegalInfo(LegalInfoWindowController::Terms);
}

void AppDelegate::showPrivacy()
{
    showLegalInfo(LegalInfoWindowController::Privacy);
}

void AppDelegate::showAccessibility()
{
    showLegalInfo(LegalInfoWindowController::Accessibility);
}

void AppDelegate::showLegalInfo(int kind)
{
    m_legalInfoWindowController = std::make_unique<LegalInfoWindowController>(kind);
    m_legalInfoWindowController->showWindow();
}

void AppDelegate::quit()
{
    terminate();
}

void AppDelegate::terminate()
{
    m_state = State::Quitting;
    if (m_terminate)
        m_terminate();
}

void AppDelegate::showTextEditor(const QString& text, std::function<void(std::optional<QString>)> completion,
                                 std::function<void()> recaptureHandler)
{
    m_textEditorWindow->show(text, std::move(completion), std::move(recaptureHandler));
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
    if (m_onboardingWindowController) {
        m_onboardingWindowController->showWindow();
        return;
    }
    if (m_statusItem && m_trayAvailable)
        //% "Quillora is already running. Open its menu here, or press %1 to capture text."
        m_statusItem->showMessage(
            QStringLiteral("Quillora"),
            qtTrId("tray.alreadyRunning")
                .arg(HotkeyText::desktopString(m_settings.hotkeyKeyCode(), m_settings.hotkeyModifiers())),
            QSystemTrayIcon::Information, 6000);
}

void AppDelegate::requestCapture()
{
    captureText();
}

bool AppDelegate::isSidebarVisible()
{
    return false;
}

void AppDelegate::showHistorySidebar() {}

void AppDelegate::hideHistorySidebar() {}

std::optional<QByteArray> AppDelegate::sidebarScreenshotPNG()
{
    qCDebug(lcApi).noquote() << QStringLiteral("📸 Sidebar screenshot: Sidebar not visible or capture failed");
    return std::nullopt;
}

nlohmann::json AppDelegate::appWindowList()
{
    return AppWindowList::windowList(AppWindowList::topLevelWindows(), m_textEditorWindow.get(),
                                     AppWindowList::primaryGeometry());
}

std::optional<QByteArray> AppDelegate::appWindowsScreenshotPNG()
{
    return AppWindowList::compositePNG(AppWindowList::topLevelWindows());
}

std::optional<QByteArray> AppDelegate::overlayScreenshotPNG()
{
    const QList<SelectionView*> views = m_overlayManager->overlayViews();
    if (views.isEmpty()) {
        qCDebug(lcApi).noquote() << QStringLiteral("📸 Overlay screenshot: No overlay views visible");
        return std::nullopt;
    }
    auto* view = dynamic_cast<ScreenshotOverlayView*>(views.first());
    std::optional<QByteArray> png = view ? view->captureViewContentAsPNG(800) : std::nullopt;
    if (!png) {
        qCWarning(lcApi).noquote() << QStringLiteral("📸 Overlay screenshot: Failed to capture view");
        return std::nullopt;
    }
    qCDebug(lcApi).noquote() << QStringLiteral("📸 Overlay screenshot: Success");
    return png;
}

void AppDelegate::openPreferences(const std::optional<QString>& tab)
{
    Q_UNUSED(tab);
    showPreferences();
}

void AppDelegate::openAboutWindow()
{
    showAbout();
}

void AppDelegate::openOnboardingWindow()
{
    showOnboarding();
}

void AppDelegate::quitApplication()
{
    terminate();
}
