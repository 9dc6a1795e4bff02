#include "core/capture/TextEditorPlacement.h"

QRectF TextEditorPlacement::frameNextToPointer(const QPointF& pointer, const QSizeF& windowSize,
                                               const QRectF& availableArea)
{
    const qreal w = windowSize.width();
    const qreal h = windowSize.height();
    qreal x = pointer.x() - w / 2;
    qreal y = pointer.y() + Offset;
    if (x < availableArea.left())
        x = availableArea.left() + Offset;
    if (x + w > availableArea.left() + availableArea.width())
        x = availableArea.left() + availableArea.width() - w - Offset;
    if (y + h > availableArea.top() + availableArea.height())
        y = availableArea.top() + availableArea.height() - h - Offset;
    if (y < availableArea.top())
        y = availableArea.top() + Offset;
    return {x, y, w, h};
}
