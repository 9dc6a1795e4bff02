#pragma once

#include "core/platform/Monitor.h"

#include <QWidget>

class ScreenshotOverlayView;

// A borderless window that covers one monitor during a capture, above every other window, with a
// ScreenshotOverlayView as its only content. It remembers the monitor it was made for.
class ScreenshotWindow : public QWidget {
    Q_OBJECT

public:
    explicit ScreenshotWindow(const Monitor& display);
    ~ScreenshotWindow() override;

    const Monitor& display() const { return m_display; }
    // Makes view the window's content, filling it; the window owns it from then on.
    void setContentView(ScreenshotOverlayView* view);
    ScreenshotOverlayView* contentView() const { return m_view; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    Monitor m_display;
    ScreenshotOverlayView* m_view = nullptr;
};
