#pragma once

#include <QImage>
#include <QRect>
#include <QRectF>

// Cuts a region out of a still image the way a sub-image operation on a bitmap does: the region is first
// enlarged to the smallest whole-pixel rectangle that contains it, then cut to the image's bounds.
class ImageCrop {
public:
    // The whole-pixel rectangle that crop() would copy, or an empty rectangle when there is none: the region
    // has no area, is not finite, or lies wholly outside an image of the given size.
    static QRect pixelRect(const QRectF& region, const QSize& imageSize);
    // The cropped image, or a null image when pixelRect() is empty or the image is null.
    static QImage crop(const QImage& image, const QRectF& region);
};
