#pragma once

#include <memory>

class EscClosableWindow;

// The About window: version, license and the libraries Quillora is built on. Made once and shown again on
// every request.
class AboutWindowController {
public:
    AboutWindowController();
    ~AboutWindowController();

    EscClosableWindow* window() const { return m_window.get(); }
    void showWindow();

private:
    std::unique_ptr<EscClosableWindow> m_window;
};
