#pragma once

#include <QRectF>

// The one place where Qt's coordinates (origin top-left, y downwards) become the bottom-left convention that
// the HTTP API's window frames are defined in.
class ScreenGeometry {
public:
    // Global screen space with its origin at the bottom-left of the primary monitor, y upwards. primaryGeometry
    // is the primary monitor's rectangle in Qt's global coordinates.
    static QRectF toGlobalBottomLeft(const QRectF& qtGlobal, const QRectF& primaryGeometry);
};
