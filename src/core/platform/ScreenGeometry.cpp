#include "core/platform/ScreenGeometry.h"

QRectF ScreenGeometry::flipped(const QRectF& rect, qreal containerHeight)
{
    return {rect.x(), containerHeight - rect.y() - rect.height(), rect.width(), rect.height()};
}

QPointF ScreenGeometry::flipped(const QPointF& point, qreal containerHeight)
{
    return {point.x(), containerHeight - point.y()};
}

// In Qt's space the primary monitor's top edge is at primary.top(); the bottom-left space puts y = 0 at the
// primary monitor's bottom edge, so y' = primary.bottom - y for points and y' = primary.bottom - (y + h) for
// rectangles, with x measured from the primary monitor's left edge in both.
QRectF ScreenGeometry::toGlobalBottomLeft(const QRectF& qtGlobal, const QRectF& primaryGeometry)
{
    const qreal bottom = primaryGeometry.y() + primaryGeometry.height();
    return {qtGlobal.x() - primaryGeometry.x(), bottom - qtGlobal.y() - qtGlobal.height(), qtGlobal.width(),
            qtGlobal.height()};
}

QRectF ScreenGeometry::fromGlobalBottomLeft(const QRectF& bottomLeft, const QRectF& primaryGeometry)
{
    const qreal bottom = primaryGeometry.y() + primaryGeometry.height();
    return {bottomLeft.x() + primaryGeometry.x(), bottom - bottomLeft.y() - bottomLeft.height(), bottomLeft.width(),
            bottomLeft.height()};
}

QPointF ScreenGeometry::toGlobalBottomLeft(const QPointF& qtGlobal, const QRectF& primaryGeometry)
{
    const qreal bottom = primaryGeometry.y() + primaryGeometry.height();
    return {qtGlobal.x() - primaryGeometry.x(), bottom - qtGlobal.y()};
}

QPointF ScreenGeometry::fromGlobalBottomLeft(const QPointF& bottomLeft, const QRectF& primaryGeometry)
{
    const qreal bottom = primaryGeometry.y() + primaryGeometry.height();
    return {bottomLeft.x() + primaryGeometry.x(), bottom - bottomLeft.y()};
}
