#pragma once

#include <QRectF>

// The one place where Qt's coordinates (origin top-left, y downwards) become the conventions of the HTTP API: the
// bottom-left one of its window frames and the primary monitor's top-left one of its pointer and keyboard routes.
class ScreenGeometry {
public:
    // Global screen space with its origin at the bottom-left of the primary monitor, y upwards. primaryGeometry
    // is the primary monitor's rectangle in Qt's global coordinates.
    static QRectF toGlobalBottomLeft(const QRectF& qtGlobal, const QRectF& primaryGeometry);
    // Points with the origin at the top-left corner of the primary monitor, y downwards, to Qt's global
    // coordinates, and back. They differ where the primary monitor is not the desktop's top-left one.
    static QPointF fromPrimaryTopLeft(const QPointF& point, const QRectF& primaryGeometry);
    static QPointF toPrimaryTopLeft(const QPointF& qtGlobal, const QRectF& primaryGeometry);
};
