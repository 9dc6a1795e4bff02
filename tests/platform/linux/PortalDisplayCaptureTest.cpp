#include "platform/linux/PortalDisplayCapture.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

// A desktop image whose pixels tell where they come from: red and green are x and y in units of 8 pixels.
QImage coordinateImage(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x / 8) % 256, (y / 8) % 256, 0));
    return image;
}

} // namespace

// The portal returns one image of all monitors, at the scale it chooses; each monitor's image must be the part it
// shows, at the monitor's own pixel size, as the X11 capture would give it.
TEST(PortalDisplayCapture, CutsEachMonitorOutOfTheDesktopImage)
{
    const struct {
        const char* name;
        QRect bounds; // of the desktop; the portal's image is this times the monitor's scale
        QRect geometry;
        qreal scale;
        QPoint sourceTopLeft; // in the desktop image, of the monitor's top-left pixel
    } rows[] = {
        {"right of two at scale 1", {0, 0, 2560, 720}, {1280, 0, 1280, 720}, 1, {1280, 0}},
        {"primary right of a monitor at negative x", {-1920, 0, 3200, 1080}, {0, 0, 1280, 720}, 1, {1920, 0}},
        {"below another", {0, 0, 1280, 1440}, {0, 720, 1280, 720}, 1, {0, 720}},
        {"both at scale 2, portal at scale 2", {0, 0, 2560, 720}, {1280, 0, 1280, 720}, 2, {2560, 0}},
        {"scale 1.5 at both", {0, 0, 2560, 720}, {1280, 0, 1280, 720}, 1.5, {1920, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QImage desktop = coordinateImage((QSizeF(row.bounds.size()) * row.scale).toSize());
        const QImage part =
            PortalDisplayCapture::monitorImage(desktop, row.bounds, Monitor{0, {}, row.geometry, row.scale});
        ASSERT_EQ(part.size(), (QSizeF(row.geometry.size()) * row.scale).toSize());
        EXPECT_EQ(part.pixel(0, 0), desktop.pixel(row.sourceTopLeft));
        const QPoint bottomRight(part.width() - 1, part.height() - 1);
        EXPECT_EQ(part.pixel(bottomRight), desktop.pixel(row.sourceTopLeft + bottomRight));
    }
}
