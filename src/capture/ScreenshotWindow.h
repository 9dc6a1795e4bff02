#pragma once

#include "platform/Display.h"

#include <QWidget>

class ScreenshotOverlayView;

// A borderless window that covers one monitor during a capture, above every other window, with a
// ScreenshotOverlayView as its only content. It remembers the monitor it was made for.
class ScreenshotWindow : public QWidget {
    Q_OBJECT

public:
    explicit ScreenshotWindow(const Display& display);
    ~ScreenshotWindow() override;

    const Display& display() const { return m_display; }
    // Makes view the window's content, filling it; the window owns it from then on.
    void setContentView(ScreenshotOverlayView* view);
    ScreenshotOverlayView* contentView() const { return m_view; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    Display m_display;
    ScreenshotOverlayView* m_view = nullptr;
};
