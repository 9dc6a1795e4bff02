#pragma once

#include <QRectF>
#include <QSizeF>

// Maps a selection in a view's points to the pixels of the image the view shows. Both are measured from their
// top-left corner, y downwards, so the mapping is a scale on each axis.
class CoordinateTransform {
public:
    // The result is neither rounded nor clipped to the image. A view size with a side that is zero or negative
    // (or not a number) cannot be mapped: the error line is written and the zero rectangle returned.
    static QRectF imageRect(const QRectF& viewRect, const QSizeF& viewSize, qreal imageWidth, qreal imageHeight);
};
