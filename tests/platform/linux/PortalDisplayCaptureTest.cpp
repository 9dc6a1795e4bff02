#include "platform/linux/PortalDisplayCapture.h"
#include "platform/linux/PortalGlobalShortcutService.h"

#include "core/shell/HotkeyText.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

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

// Monitors of different scales: the portal's image has one scale for all, so one monitor's part is scaled to its
// pixel size, and no column of the neighbour may show at the shared edge.
TEST(PortalDisplayCapture, MixedScalesMeetWithoutTheNeighboursPixels)
{
    const QRect bounds(0, 0, 1280 + 1366, 768);
    QImage desktop(QSize(bounds.width() * 2, bounds.height() * 2), QImage::Format_RGB32);
    desktop.fill(Qt::blue);
    QPainter(&desktop).fillRect(QRect(0, 0, 1280 * 2, 768 * 2), Qt::red);
    const Monitor left{0, {}, {0, 0, 1280, 768}, 2};
    const Monitor right{0, {}, {1280, 0, 1366, 768}, 1};

    const QImage leftPart = PortalDisplayCapture::monitorImage(desktop, bounds, left);
    const QImage rightPart = PortalDisplayCapture::monitorImage(desktop, bounds, right);
    ASSERT_EQ(leftPart.size(), QSize(2560, 1536));
    ASSERT_EQ(rightPart.size(), QSize(1366, 768));
    for (int y : {0, 400, 767}) {
        EXPECT_EQ(rightPart.pixel(0, y), QColor(Qt::blue).rgb());
        EXPECT_EQ(leftPart.pixel(2559, y * 2), QColor(Qt::red).rgb());
    }
}

TEST(PortalDisplayCapture, NoImageForAMonitorOutsideTheScreenshotOrFromNothing)
{
    const QImage desktop = coordinateImage({1280, 720});
    const QRect bounds(0, 0, 1280, 720);
    // A monitor added after the screenshot was taken is not in it.
    EXPECT_TRUE(PortalDisplayCapture::monitorImage(desktop, bounds, Monitor{0, {}, {1280, 0, 1280, 720}, 1}).isNull());
    EXPECT_TRUE(PortalDisplayCapture::monitorImage(desktop, bounds, Monitor{0, {}, {640, 0, 1280, 720}, 1}).isNull());
    EXPECT_TRUE(PortalDisplayCapture::monitorImage(QImage(), bounds, Monitor{0, {}, bounds, 1}).isNull());
    EXPECT_TRUE(PortalDisplayCapture::monitorImage(desktop, QRect(), Monitor{0, {}, bounds, 1}).isNull());
}

TEST(PortalGlobalShortcutService, PreferredTriggerInThePortalsFormat)
{
    const std::tuple<quint32, quint32, const char*> rows[] = {
        {26, HotkeyText::CommandMask | HotkeyText::ShiftMask, "CTRL+SHIFT+7"},
        // The program's control modifier is the Super key, its option Alt.
        {0, HotkeyText::ControlMask | HotkeyText::OptionMask, "ALT+LOGO+A"},
        {96, HotkeyText::CommandMask, "CTRL+F5"},
        {0xffff, HotkeyText::CommandMask, ""},
    };
    for (const auto& [keyCode, modifiers, expected] : rows)
        EXPECT_EQ(PortalGlobalShortcutService::preferredTrigger(keyCode, modifiers), QString::fromLatin1(expected));
}
