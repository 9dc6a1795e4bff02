#pragma once

#include <QString>

#include <memory>

class EscClosableWindow;

// One window with one of the four legal and information texts. InfoWindows makes a new one for every request and
// drops the previous controller, whose window goes with it.
class LegalInfoWindowController {
public:
    enum Kind { Impressum = 0, Terms = 1, Privacy = 2, Accessibility = 3 };

    explicit LegalInfoWindowController(int kind);
    ~LegalInfoWindowController();

    int kind() const { return m_kind; }
    EscClosableWindow* window() const { return m_window.get(); }
    void showWindow();

    // The localised title and rich-text content of a kind; kinds outside 0-3 read as the imprint.
    static QString title(int kind);
    static QString content(int kind);

private:
    int m_kind;
    std::unique_ptr<EscClosableWindow> m_window;
};
