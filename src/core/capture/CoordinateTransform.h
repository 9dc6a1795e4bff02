#pragma once

#include <QRectF>
#include <QSizeF>

// Maps a selection in a view's own coordinates (points, origin at the bottom-left corner, y upwards) to the
// pixels of the image the view shows (origin at the top-left corner, y downwards).
class CoordinateTransform {
public:
    // The result is neither rounded nor clipped to the image. A view size with a side that is zero or negative
    // (or not a number) cannot be mapped: the error line is written and the zero rectangle returned.
    static QRectF imageRect(const QRectF& viewRect, const QSizeF& viewSize, qreal imageWidth, qreal imageHeight);
};
