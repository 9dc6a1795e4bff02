#pragma once

#include "core/platform/Monitor.h"

#include <QImage>
#include <QList>

// Still images of the desktop's monitors.
class DisplayCapture {
public:
    virtual ~DisplayCapture() = default;

    // The connected monitors; the primary monitor first.
    virtual QList<Monitor> displays() const = 0;
    // One still image of the monitor at its full pixel size, or a null image when it cannot be captured.
    // Safe to call for different monitors from several threads at once.
    virtual QImage captureDisplay(const Monitor& display) = 0;
    // Any thread: the primary monitor's still image at its full pixel size, or a null image. Finds the monitor
    // without the GUI's screen list, which belongs to the main thread.
    virtual QImage capturePrimaryDisplay() = 0;
    // Whether the desktop can be captured at all (a small test grab of the primary monitor).
    virtual bool canCapture() = 0;
};
