#pragma once

#include "widgets/shell/AppCommands.h"

#include <QObject>

#include <functional>
#include <memory>

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

    // Shows the current hotkey next to the capture item; the preferences call it after the hotkey changed.
    void updateCaptureMenuItem();
    // Tells the person, in a tray balloon, that Quillora already runs and how to capture. Nothing without a tray.
    void showAlreadyRunningMessage();
    // A desktop notification from the tray icon (the desktop's notification service where the tray uses one, else
    // a balloon at the icon). Nothing without a tray.
    void showNotification(const QString& title, const QString& text);

    bool isTrayAvailable() const { return m_trayAvailable; }
    QMenu* menu() const { return m_menu.get(); }

signals:
    void notificationShown(const QString& title, const QString& text);

private:
    QAction* addMenuAction(QMenu* menu, const char* name, const QString& title, std::function<void()> command);

    AppSettings& m_settings;
    const bool m_trayAvailable;
    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon* m_statusItem = nullptr; // child of this menu
};
