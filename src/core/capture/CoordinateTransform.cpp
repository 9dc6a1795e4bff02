#include "core/capture/CoordinateTransform.h"

#include "core/support/Log.h"

QRectF CoordinateTransform::imageRect(const QRectF& viewRect, const QSizeF& viewSize, qreal imageWidth,
                                      qreal imageHeight)
{
    const qreal vw = viewSize.width();
    const qreal vh = viewSize.height();
    // Written as "not greater than zero" so that a NaN side takes the error path too.
    if (!(vw > 0) || !(vh > 0)) {
        qCInfo(lcCapture).noquote() << QStringLiteral("❌ ERROR: CoordinateTransform - viewSize is zero!");
        return {};
    }
    const qreal sx = imageWidth / vw;
    const qreal sy = imageHeight / vh;
    return {viewRect.x() * sx, viewRect.y() * sy, viewRect.width() * sx, viewRect.height() * sy};
}
