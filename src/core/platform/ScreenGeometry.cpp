#include "core/platform/ScreenGeometry.h"

// In Qt's space the primary monitor's top edge is at primary.top(); the bottom-left space puts y = 0 at the
// primary monitor's bottom edge, so y' = primary.bottom - (y + h), and x is measured from the primary monitor's
// left edge.
QRectF ScreenGeometry::toGlobalBottomLeft(const QRectF& qtGlobal, const QRectF& primaryGeometry)
{
    const qreal bottom = primaryGeometry.y() + primaryGeometry.height();
    return {qtGlobal.x() - primaryGeometry.x(), bottom - qtGlobal.y() - qtGlobal.height(), qtGlobal.width(),
            qtGlobal.height()};
}

QPointF ScreenGeometry::fromPrimaryTopLeft(const QPointF& point, const QRectF& primaryGeometry)
{
    return point + primaryGeometry.topLeft();
}

QPointF ScreenGeometry::toPrimaryTopLeft(const QPointF& qtGlobal, const QRectF& primaryGeometry)
{
    return qtGlobal - primaryGeometry.topLeft();
}
