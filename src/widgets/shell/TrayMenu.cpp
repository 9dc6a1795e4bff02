#include "widgets/shell/TrayMenu.h"

#include "core/platform/HotkeyService.h"
#include "core/recognition/RecognitionLanguages.h"
#include "core/settings/AppSettings.h"
#include "core/shell/HotkeyText.h"
#include "core/support/Log.h"
#include "widgets/shell/LegalInfoWindowController.h"
#include "widgets/shell/Localization.h"

#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

namespace {

const char* const CaptureActionName = "captureText";

} // namespace

TrayMenu::TrayMenu(AppSettings& settings, const AppCommands& commands, bool trayAvailable, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_trayAvailable(trayAvailable)
    , m_menu(std::make_unique<QMenu>())
{
    m_menu->setObjectName(QStringLiteral("statusMenu"));
    m_menu->setAccessibleName(QStringLiteral("Quillora"));
    QMenu* menu = m_menu.get();

    //% "Capture Text"
    addMenuAction(menu, CaptureActionName, qtTrId("menu.capture"), commands.captureText);
    //% "History"
    addMenuAction(menu, "toggleHistory", qtTrId("menu.history"), commands.toggleHistory);
    menu->addSeparator();
    //% "Preferences…"
    addMenuAction(menu, "showPreferences", qtTrId("menu.preferences"), commands.showPreferences);
    menu->addSeparator();

    //% "Legal & Info"
    QMenu* legal = menu->addMenu(qtTrId("menu.legal").replace(u'&', QStringLiteral("&&")));
    legal->menuAction()->setObjectName(QStringLiteral("legalMenu"));
    //% "About Quillora"
    addMenuAction(legal, "showAbout", qtTrId("menu.about"), commands.showAbout);
    //% "Quick Start"
    addMenuAction(legal, "showOnboardingFromMenu", qtTrId("menu.quickstart"), commands.showOnboarding);
    legal->addSeparator();
    const std::pair<const char*, int> pages[] = {
        {"showImpressum", LegalInfoWindowController::Impressum},
        {"showTerms", LegalInfoWindowController::Terms},
        {"showPrivacy", LegalInfoWindowController::Privacy},
        {"showAccessibility", LegalInfoWindowController::Accessibility},
    };
    for (const auto& [name, kind] : pages)
        addMenuAction(legal, name, LegalInfoWindowController::title(kind),
                      [show = commands.showLegalInfo, kind] { show(kind); });
    menu->addSeparator();
    //% "Quit Quillora"
    addMenuAction(menu, "quit", qtTrId("menu.quit"), commands.quit);

    m_statusItem = new QSystemTrayIcon(QIcon(QStringLiteral(":/icons/quillora.svg")), this);
    m_statusItem->setObjectName(QStringLiteral("Quillora"));
    updateCaptureMenuItem();
    m_statusItem->setContextMenu(menu);
    // Many trays send a plain click rather than asking for the context menu; both open the menu.
    connect(m_statusItem, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            m_menu->popup(QCursor::pos());
    });
    // Shown even without a tray: the icon appears by itself when a tray starts later (for example a panel that
    // starts after Quillora at login).
    m_statusItem->show();
    if (!m_trayAvailable)
        qCInfo(lcApp).noquote() << QStringLiteral("⚠️ No system tray available - running without a tray icon; "
                                                  "capture with the hotkey or `quillora --capture`");
}

TrayMenu::~TrayMenu() = default;

QAction* TrayMenu::addMenuAction(QMenu* menu, const char* name, const QString& title, std::function<void()> command)
{
    // Titles are plain text: an ampersand in a translation must not turn into a mnemonic.
    QAction* item = menu->addAction(QString(title).replace(u'&', QStringLiteral("&&")));
    item->setObjectName(QString::fromLatin1(name));
    connect(item, &QAction::triggered, this, [command = std::move(command)] {
        if (command)
            command();
    });
    return item;
}

void TrayMenu::updateCaptureMenuItem()
{
    const quint32 keyCode = m_settings.hotkeyKeyCode();
    const quint32 modifiers = m_settings.hotkeyModifiers();
    const bool registered = m_hotkeyStatus == 0;
    const QString hotkey = HotkeyText::desktopString(keyCode, modifiers);
    //% "Quillora: %1 captures text"
    m_statusItem->setToolTip(registered && !hotkey.isEmpty() ? qtTrId("tray.tooltip").arg(hotkey)
                                                             : QStringLiteral("Quillora"));
    for (QAction* item : m_menu->actions()) {
        if (item->objectName() != QLatin1String(CaptureActionName))
            continue;
        const Qt::KeyboardModifiers mask = HotkeyText::qtModifiers(modifiers);
        item->setProperty("keyEquivalent", HotkeyText::keyEquivalentString(keyCode));
        item->setProperty("keyEquivalentModifierMask", int(mask));
        // Monitor only: a tray menu cannot own a global shortcut (the hotkey manager grabs the real one), the
        // shortcut tells the reader which keys do the same from anywhere, so it is shown only while they do.
        item->setShortcutContext(Qt::WidgetShortcut);
        item->setShortcut(registered ? HotkeyText::keySequence(keyCode, modifiers) : QKeySequence());
        item->setShortcutVisibleInContextMenu(true);
        return;
    }
}

void TrayMenu::setHotkeyStatus(int status)
{
    m_hotkeyStatus = status;
    updateCaptureMenuItem();
    const std::pair<quint32, quint32> combination(m_settings.hotkeyKeyCode(), m_settings.hotkeyModifiers());
    if (status == 0) {
        m_failureTold.reset();
        return;
    }
    if (m_failureTold == combination)
        return;
    m_failureTold = combination;
    const QString hotkey = HotkeyText::desktopString(combination.first, combination.second);
    if (status == HotkeyService::HeldByAnotherClient) {
        //% "%1 cannot be the capture hotkey: another program uses it. Choose another hotkey in Preferences, or "
        //% "bind “quillora --capture” to a shortcut of your desktop."
        showMessage(qtTrId("tray.hotkeyHeld").arg(hotkey), QSystemTrayIcon::Warning);
    } else {
        //% "%1 cannot be the capture hotkey on this desktop. Choose another hotkey in Preferences, or bind "
        //% "“quillora --capture” to a shortcut of your desktop."
        showMessage(qtTrId("tray.hotkeyUnavailable").arg(hotkey), QSystemTrayIcon::Warning);
    }
}

void TrayMenu::showMessage(const QString& message, int icon)
{
    if (!m_trayAvailable)
        return;
    emit messageShown(QStringLiteral("Quillora"), message);
    showMessageOnceIconPlaced(message, icon, 8);
}

void TrayMenu::showMessageOnceIconPlaced(const QString& message, int iconKind, int triesLeft)
{
    // At start-up the tray may not have placed the icon yet (it still sits at the origin); a balloon shown then points
    // at the screen's corner.
    const QRect icon = m_statusItem->geometry();
    if ((icon.isEmpty() || icon.topLeft() == QPoint(0, 0)) && triesLeft > 0) {
        QTimer::singleShot(250, this, [this, message, iconKind, triesLeft] {
            showMessageOnceIconPlaced(message, iconKind, triesLeft - 1);
        });
        return;
    }
    m_statusItem->showMessage(QStringLiteral("Quillora"), message, QSystemTrayIcon::MessageIcon(iconKind), 10000);
}

void TrayMenu::showAlreadyRunningMessage()
{
    if (!m_trayAvailable)
        return;
    //% "Quillora is already running. Open its menu here, or press %1 to capture text."
    m_statusItem->showMessage(
        QStringLiteral("Quillora"),
        qtTrId("tray.alreadyRunning")
            .arg(HotkeyText::desktopString(m_settings.hotkeyKeyCode(), m_settings.hotkeyModifiers())),
        QSystemTrayIcon::Information, 6000);
}

void TrayMenu::showNoTextFound(const QStringList& languageCodes)
{
    if (!m_trayAvailable)
        return;
    QStringList names;
    for (const QString& code : languageCodes)
        names.append(RecognitionLanguages::displayName(code, Localization::currentLanguage()));
    //% "No text found"
    const QString title = qtTrId("notification.noText.title");
    //% "Recognised languages: %1"
    const QString text =
        names.isEmpty() ? QString() : qtTrId("notification.noText.languages").arg(names.join(QStringLiteral(", ")));
    m_statusItem->showMessage(title, text, QSystemTrayIcon::Information, 6000);
    emit notificationShown(title, text);
}
