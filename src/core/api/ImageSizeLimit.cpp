#include "core/api/ImageSizeLimit.h"

#include <QBuffer>

#include <algorithm>
#include <cmath>

std::optional<qint64> ImageSizeLimit::parse(const std::optional<QString>& text)
{
    if (!text || text->isEmpty())
        return std::nullopt;
    const qsizetype digitsFrom = (text->front() == u'+' || text->front() == u'-') ? 1 : 0;
    if (digitsFrom == text->size())
        return std::nullopt;
    for (qsizetype i = digitsFrom; i < text->size(); ++i)
        if (text->at(i) < u'0' || text->at(i) > u'9')
            return std::nullopt;
    bool ok = false;
    const qint64 value = text->toLongLong(&ok);
    if (!ok || value <= 0)
        return std::nullopt;
    return value;
}

QImage ImageSizeLimit::fit(const QImage& image, qint64 maxSize)
{
    const qint64 longest = std::max(image.width(), image.height());
    if (image.isNull() || longest <= maxSize)
        return image;
    // Truncated as the sizes have always been; a side never shrinks to nothing.
    const double scale = double(maxSize) / double(longest);
    const int width = std::max(1, int(std::trunc(scale * image.width())));
    const int height = std::max(1, int(std::trunc(scale * image.height())));
    return image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QByteArray ImageSizeLimit::fitPNG(const QByteArray& png, qint64 maxSize)
{
    QImage image;
    if (!image.loadFromData(png, "PNG"))
        return png;
    if (std::max(image.width(), image.height()) <= maxSize)
        return png;
    return encodePNG(fit(image, maxSize)).value_or(png);
}

std::optional<QByteArray> ImageSizeLimit::encodePNG(const QImage& image)
{
    if (image.isNull())
        return std::nullopt;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return std::nullopt;
    return bytes;
}
