#pragma once

#include "widgets/shell/AppCommands.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class AppSettings;
class QAction;
class QMenu;
class QString;
class QSystemTrayIcon;

// The tray icon and its menu. Every item runs one of the application's commands; the capture item shows the
// hotkey that does the same from anywhere. Main thread only.
class TrayMenu : public QObject {
    Q_OBJECT

public:
    // trayAvailable tells whether the desktop offers a system tray now; the icon is put up either way.
    TrayMenu(AppSettings& settings, const AppCommands& commands, bool trayAvailable, QObject* parent = nullptr);
    ~TrayMenu() override;

    // Shows the current hotkey next to the capture item, none while it is not registered; the preferences call it
    // after the hotkey changed.
    void updateCaptureMenuItem();
    // Takes the status of the hotkey's latest registration (0: registered, else HotkeyService::grab()'s status).
    // A failure is told once per combination, in a desktop notification that says how to choose another.
    void setHotkeyStatus(int status);
    // Tells the person, in a tray balloon, that Quillora already runs and how to capture. Nothing without a tray.
    void showAlreadyRunningMessage();
    // Tells, in a desktop notification from the tray icon, that a capture found no text and which languages the
    // recogniser reads (their names in the language of the windows). Nothing without a tray.
    void showNoTextFound(const QStringList& languageCodes);

    bool isTrayAvailable() const { return m_trayAvailable; }
    QMenu* menu() const { return m_menu.get(); }
    QSystemTrayIcon* statusItem() const { return m_statusItem; }

signals:
    // A notification goes to the desktop.
    void messageShown(const QString& title, const QString& message);
    void notificationShown(const QString& title, const QString& text);

private:
    QAction* addMenuAction(QMenu* menu, const char* name, const QString& title, std::function<void()> command);
    void showMessage(const QString& message, int icon);
    void showMessageOnceIconPlaced(const QString& message, int iconKind, int triesLeft);

    AppSettings& m_settings;
    const bool m_trayAvailable;
    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon* m_statusItem = nullptr; // child of this menu
    int m_hotkeyStatus = 0;
    std::optional<std::pair<quint32, quint32>> m_failureTold; // the combination whose failure was told
};
