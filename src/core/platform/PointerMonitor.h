#pragma once

#include <QPointF>

#include <functional>

// Watches the pointer across the whole desktop, whichever application it is over. Positions are Qt's global
// coordinates (points, origin top-left). Call and receive on the main thread.
class PointerMonitor {
public:
    struct Motion {
        QPointF position;
        // The device's movement since the previous report, in pixels. It keeps coming while the pointer is pinned
        // against a screen edge, where the position no longer changes.
        qreal deltaX = 0;
        qreal deltaY = 0;
        // Whether the left button is held.
        bool dragging = false;
    };
    using Handler = std::function<void(const Motion&)>;

    virtual ~PointerMonitor() = default;

    // Reports pointer motion to handler until stop(); replaces an earlier handler. False when the desktop does
    // not let this process watch the pointer.
    virtual bool start(Handler handler) = 0;
    virtual void stop() = 0;
    // The pointer's position now.
    virtual QPointF position() const = 0;
};
