#include "widgets/shell/TrayMenu.h"

#include "core/settings/AppSettings.h"
#include "core/shell/HotkeyText.h"
#include "core/support/Log.h"
#include "widgets/shell/LegalInfoWindowController.h"

#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

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
    QAction* preferences = addMenuAction(menu, "showPreferences", qtTrId("menu.preferences"), commands.showPreferences);
    // The preferences window is not part of this build yet; a greyed item says so rather than doing nothing.
    preferences->setEnabled(false);
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

    updateCaptureMenuItem();

    m_statusItem = new QSystemTrayIcon(QIcon(QStringLiteral(":/icons/quillora.svg")), this);
    m_statusItem->setObjectName(QStringLiteral("Quillora"));
    m_statusItem->setToolTip(QStringLiteral("Quillora"));
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
    for (QAction* item : m_menu->actions()) {
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

void TrayMenu::showNotification(const QString& title, const QString& text)
{
    if (!m_trayAvailable)
        return;
    m_statusItem->showMessage(title, text, QSystemTrayIcon::Information, 6000);
    emit notificationShown(title, text);
}
