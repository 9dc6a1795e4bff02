#pragma once

#include "core/platform/Monitor.h"

#include <QWidget>

class ScreenshotOverlayView;

// A borderless window that covers one monitor during a capture, above every other window, with a
// ScreenshotOverlayView as its only content.
class ScreenshotWindow : public QWidget {
    Q_OBJECT

public:
    explicit ScreenshotWindow(const Monitor& display);
    ~ScreenshotWindow() override;

    // Makes view the window's content, filling it; the window owns it from then on. The previous view is
    // deleted from the event loop; a null view leaves the window empty.
    void setContentView(ScreenshotOverlayView* view);
    ScreenshotOverlayView* contentView() const { return m_view; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    ScreenshotOverlayView* m_view = nullptr;
};
