#pragma once

struct CapturedDisplay;
class ScreenshotOverlayViewDelegate;

// The capture controller's view of one overlay's selection view (ScreenshotOverlayView implements it), so that
// the controller runs without widgets in tests.
class SelectionView {
public:
    virtual ~SelectionView() = default;

    // The delegate is held weakly: the view never keeps it alive, and a gone delegate reads back as null.
    virtual void setDelegate(ScreenshotOverlayViewDelegate* delegate) = 0;
    virtual ScreenshotOverlayViewDelegate* delegate() const = 0;

    // The monitor the view covers and the still image it shows, bound when the overlay was made for them: a
    // selection on this view is measured against this monitor and cut from this image.
    virtual const CapturedDisplay& capturedDisplay() const = 0;
};
