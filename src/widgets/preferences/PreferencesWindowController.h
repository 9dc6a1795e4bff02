#pragma once

#include "core/settings/PreferencesTab.h"

#include <QObject>

#include <memory>

class AppSettings;
class EscClosableWindow;
class HistoryManager;
class PreferencesDelegate;
class PreferencesView;

// The preferences window: 720 x 480, not resizable, made once and kept; closing only hides it, and the next
// opening shows the tab shown last. Main thread only.
class PreferencesWindowController : public QObject {
    Q_OBJECT

public:
    static constexpr int Width = 720;
    static constexpr int Height = 480;

    PreferencesWindowController(AppSettings& settings, HistoryManager& history, PreferencesDelegate& delegate,
                                QObject* parent = nullptr);
    ~PreferencesWindowController() override;

    // The localized "menu.preferences" without its dots.
    static QString title();

    EscClosableWindow* window() const { return m_window.get(); }
    PreferencesView* view() const { return m_view; }

    // Brings the window to the front with the keyboard, as it was left.
    void showWindow();
    void selectTab(PreferencesTab tab);

private:
    std::unique_ptr<EscClosableWindow> m_window;
    PreferencesView* m_view; // child of m_window
    bool m_placed = false;
};
