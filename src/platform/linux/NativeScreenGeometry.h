#pragma once

#include <QPoint>
#include <QPointF>

// Maps between Qt's global coordinates (logical points) and the X root window's device pixels. Qt keeps each
// screen's top-left corner at its device-pixel position and scales distances within the screen by that screen's
// device pixel ratio. Uses QGuiApplication's screens: call on the main thread.
class NativeScreenGeometry {
public:
    static QPoint toNative(const QPointF& logical);
    static QPointF fromNative(const QPoint& native);
};
