#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QtGlobal>

#include <cmath>

// One monitor of the desktop as the window system reports it.
struct Monitor {
    // Identifies the monitor within this desktop session; two Monitor values with the same id are the same monitor.
    quint32 id = 0;
    // The monitor's name as the desktop reports it, for example "HDMI-1".
    QString name;
    // Qt's global logical coordinates: origin at the top-left of the virtual desktop, y downwards.
    QRect geometry;
    qreal devicePixelRatio = 1.0;

    // The monitor's size in device pixels, which is the size of its still image.
    QSize pixelSize() const
    {
        return {int(std::lround(geometry.width() * devicePixelRatio)),
                int(std::lround(geometry.height() * devicePixelRatio))};
    }
    bool operator==(const Monitor& other) const { return id == other.id; }
};
