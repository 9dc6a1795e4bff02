#pragma once

#include <QObject>

#include <functional>
#include <memory>

class AppSettings;
class EscClosableWindow;
class QPushButton;

// The first-run terms window. Accepting stores "hasAcceptedLegal" and "legalAcceptanceDate" and calls back
// accept; declining calls back decline. Closing the window (title-bar button, Escape) without accepting is a
// decline: otherwise the program would keep running with no window, no icon and no hotkey.
class LegalAcceptanceWindowController : public QObject {
    Q_OBJECT

public:
    LegalAcceptanceWindowController(AppSettings& settings, std::function<void()> onAccept,
                                    std::function<void()> onDecline);
    ~LegalAcceptanceWindowController() override;

    EscClosableWindow* window() const { return m_window.get(); }
    QPushButton* acceptButton() const { return m_acceptButton; }
    QPushButton* declineButton() const { return m_declineButton; }
    void showWindow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void accept();
    void decline();

    AppSettings& m_settings;
    std::function<void()> m_onAccept;
    std::function<void()> m_onDecline;
    std::unique_ptr<EscClosableWindow> m_window;
    QPushButton* m_acceptButton = nullptr;
    QPushButton* m_declineButton = nullptr;
    bool m_decided = false;
};
