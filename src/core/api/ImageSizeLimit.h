#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

// The "maxSize" of the HTTP API's image routes: the longest side an image may have, in pixels. A larger image is
// scaled down smoothly to fit, keeping its proportions.
class ImageSizeLimit {
public:
    // A decimal whole number with an optional sign and nothing else, within 64 bits and above 0; anything else
    // (missing, 0, negative, letters, spaces) means no limit.
    static std::optional<qint64> parse(const std::optional<QString>& text);

    // The image fitted within the limit; an image that already fits is returned as it is.
    static QImage fit(const QImage& image, qint64 maxSize);
    // The PNG fitted within the limit, as PNG. An image that already fits, or that cannot be decoded or encoded,
    // comes back byte for byte as it was given.
    static QByteArray fitPNG(const QByteArray& png, qint64 maxSize);

    static std::optional<QByteArray> encodePNG(const QImage& image);
};
