#pragma once

#include "core/platform/Monitor.h"

#include <QImage>
#include <QList>

// One monitor frozen at the start of a capture, with its still image at full pixel size.
struct CapturedDisplay {
    Monitor display;
    QImage image;
};

// The still images of one capture, one per monitor that could be captured.
using CapturedImages = QList<CapturedDisplay>;
