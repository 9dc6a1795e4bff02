#pragma once

#include "core/platform/Monitor.h"

#include <optional>

class ScreenshotOverlayViewDelegate;

// The capture controller's view of one overlay's selection view (ScreenshotOverlayView implements it), so that
// the controller runs without widgets in tests.
class SelectionView {
public:
    enum class Host {
        NoWindow,         // the view is in no window
        OtherWindow,      // the view's window is not a screenshot window
        ScreenshotWindow, // the view is the content of an overlay window
    };

    virtual ~SelectionView() = default;

    // The delegate is held weakly: the view never keeps it alive, and a gone delegate reads back as null.
    virtual void setDelegate(ScreenshotOverlayViewDelegate* delegate) = 0;
    virtual ScreenshotOverlayViewDelegate* delegate() const = 0;

    virtual Host host() const = 0;
    // The monitor the view's window is on, or nothing when it is on none.
    virtual std::optional<Monitor> hostDisplay() const = 0;
};
