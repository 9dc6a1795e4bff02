#pragma once

#include <QRectF>

class SelectionView;

// What a selection view tells its delegate (the capture session controller). Called on the main thread.
class ScreenshotOverlayViewDelegate {
public:
    // rect is in the view's own coordinates: points, origin at the top-left corner of its monitor, y downwards.
    virtual void overlayViewDidFinishSelection(SelectionView* view, const QRectF& rect) = 0;
    // The user pressed Escape.
    virtual void overlayViewDidCancel(SelectionView* view) = 0;

protected:
    ~ScreenshotOverlayViewDelegate() = default;
};
