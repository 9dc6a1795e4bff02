#include "platform/linux/NativeScreenGeometry.h"
#include <QGuiApplication>

#include <QScreen>

#include <cmath>

namespace {

// The screen whose area holds the point, or else the nearest one, measured in either coordinate system.
const QScreen* screenFor(const QPointF& point, bool native)
{
    const QScreen* nearest = nullptr;
    qreal nearestDistance = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        QRectF area = screen->geometry();
        if (native)
            area.setSize(area.size() * screen->devicePixelRatio());
        if (area.contains(point))
            return screen;
        const qreal dx = qMax<qreal>(0, qMax(area.left() - point.x(), point.x() - area.right()));
        const qreal dy = qMax<qreal>(0, qMax(area.top() - point.y(), point.y() - area.bottom()));
        const qreal distance = dx * dx + dy * dy;
        if (!nearest || distance < nearestDistance) {
            nearest = screen;
            nearestDistance = distance;
        }
    }
    return nearest;
}

} // namespace

QPoint NativeScreenGeometry::toNative(const QPointF& logical)
{
    const QScreen* screen = screenFor(logical, false);
    if (!screen)
        return logical.toPoint();
    const QPointF origin = screen->geometry().topLeft();
    const QPointF native = origin + (logical - origin) * screen->devicePixelRatio();
    return {int(std::floor(native.x())), int(std::floor(native.y()))};
}

QPointF NativeScreenGeometry::fromNative(const QPoint& native)
{
    const QScreen* screen = screenFor(native, true);
    if (!screen)
        return native;
    const QPointF origin = screen->geometry().topLeft();
    return origin + (QPointF(native) - origin) / screen->devicePixelRatio();
}
