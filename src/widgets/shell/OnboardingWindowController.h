#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class AppSettings;
class EscClosableWindow;
class QCheckBox;
class QPushButton;
class QStackedWidget;

// The quick start: three short pages on capturing, correcting and settings. Finishing the last page applies the
// open-at-login checkbox, stores "hasCompletedOnboarding", closes the window and calls the completion. Closing
// it earlier stores nothing, so it comes back at the next start.
class OnboardingWindowController : public QObject {
    Q_OBJECT

public:
    struct Hotkey {
        QString desktopText;    // in the desktop's own words and the user's language, "Ctrl+Shift+7"
        bool registered = true; // false where the desktop gives Quillora no global hotkey
    };

    // trayAvailable tells whether there is a tray menu to point to; without one the first page says how to
    // capture without it.
    OnboardingWindowController(AppSettings& settings, Hotkey hotkey, bool trayAvailable,
                               std::function<void()> completion);
    ~OnboardingWindowController() override;

    EscClosableWindow* window() const { return m_window.get(); }
    QStackedWidget* pages() const { return m_pages; }
    QCheckBox* launchAtLoginCheckBox() const { return m_launchAtLogin; }
    QPushButton* backButton() const { return m_backButton; }
    QPushButton* nextButton() const { return m_nextButton; }
    void showWindow();

private:
    static constexpr int Width = 520;

    void fitToContent();
    void goBack();
    void goForward();
    void updateButtons();
    void finish();

    AppSettings& m_settings;
    std::function<void()> m_completion;
    std::unique_ptr<EscClosableWindow> m_window;
    QStackedWidget* m_pages = nullptr;
    QCheckBox* m_launchAtLogin = nullptr;
    QPushButton* m_backButton = nullptr;
    QPushButton* m_nextButton = nullptr;
};
