#include "core/capture/ImageCrop.h"

#include <algorithm>
#include <cmath>

QRect ImageCrop::pixelRect(const QRectF& region, const QSize& imageSize)
{
    const QRectF r = region.normalized();
    if (!std::isfinite(r.x()) || !std::isfinite(r.y()) || !std::isfinite(r.width()) || !std::isfinite(r.height()))
        return {};
    // A region without area selects no pixel at all; enlarging it to one pixel would invent a selection.
    if (!(r.width() > 0) || !(r.height() > 0))
        return {};
    // Clamp in floating point before converting, so that huge regions cannot overflow int.
    const double left = std::max(std::floor(r.left()), 0.0);
    const double top = std::max(std::floor(r.top()), 0.0);
    const double right = std::min(std::ceil(r.left() + r.width()), double(imageSize.width()));
    const double bottom = std::min(std::ceil(r.top() + r.height()), double(imageSize.height()));
    if (right <= left || bottom <= top)
        return {};
    return {int(left), int(top), int(right - left), int(bottom - top)};
}

QImage ImageCrop::crop(const QImage& image, const QRectF& region)
{
    if (image.isNull())
        return {};
    const QRect pixels = pixelRect(region, image.size());
    if (pixels.isEmpty())
        return {};
    return image.copy(pixels);
}
