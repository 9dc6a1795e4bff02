#pragma once

#include "core/platform/Monitor.h"

#include <QImage>
#include <QList>

#include <optional>

// One monitor frozen at the start of a capture, with its still image at full pixel size.
struct CapturedDisplay {
    Monitor display;
    QImage image;
};

// The still images of one capture, one per monitor that could be captured. Looked up by monitor.
using CapturedImages = QList<CapturedDisplay>;

inline std::optional<QImage> imageFor(const CapturedImages& images, const Monitor& display)
{
    for (const CapturedDisplay& captured : images)
        if (captured.display == display)
            return captured.image;
    return std::nullopt;
}
