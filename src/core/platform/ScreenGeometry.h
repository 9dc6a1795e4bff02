#pragma once

#include <QPointF>
#include <QRectF>

// Converts between Qt's coordinates (origin top-left, y downwards) and the program's own screen and view
// coordinates (origin bottom-left, y upwards). All conversions at the Qt boundary go through here.
class ScreenGeometry {
public:
    // A rectangle inside a view or screen of the given height, flipped between the two conventions.
    // The conversion is its own inverse.
    static QRectF flipped(const QRectF& rect, qreal containerHeight);
    static QPointF flipped(const QPointF& point, qreal containerHeight);

    // Global screen space: origin bottom-left of the primary monitor, y upwards. primaryGeometry is the primary
    // monitor's rectangle in Qt's global coordinates.
    static QRectF toGlobalBottomLeft(const QRectF& qtGlobal, const QRectF& primaryGeometry);
    static QRectF fromGlobalBottomLeft(const QRectF& bottomLeft, const QRectF& primaryGeometry);
    static QPointF toGlobalBottomLeft(const QPointF& qtGlobal, const QRectF& primaryGeometry);
    static QPointF fromGlobalBottomLeft(const QPointF& bottomLeft, const QRectF& primaryGeometry);
};
