#include "core/capture/CoordinateTransform.h"
#include "core/capture/ImageCrop.h"
#include "core/capture/TextEditorPlacement.h"
#include "core/platform/ScreenGeometry.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

#include <limits>

TEST(CoordinateTransform, ScalesViewPointsToImagePixels)
{
    const qreal nan = std::numeric_limits<qreal>::quiet_NaN();
    // The selection, the view's size, the image's size, and the selection in the image (null: a view without area).
    const std::vector<std::tuple<const char*, QRectF, QSizeF, QSize, QRectF>> rows = {
        {"double density", {100, 650, 300, 50}, {1440, 900}, {2880, 1800}, {200, 1300, 600, 100}},
        {"different scales per axis", {10, 70, 20, 20}, {100, 100}, {300, 150}, {30, 105, 60, 30}},
        {"fractional scale is not rounded", {1, 718, 1, 1}, {1280, 720}, {1600, 900}, {1.25, 897.5, 1.25, 1.25}},
        {"outside the view is not clipped", {-10, -150, 20, 100}, {1440, 900}, {1440, 900}, {-10, -150, 20, 100}},
        {"view of zero width", {1, 2, 3, 4}, {0, 900}, {2880, 1800}, {}},
        {"view width not a number", {1, 2, 3, 4}, {nan, 900}, {2880, 1800}, {}},
    };
    for (const auto& [name, selection, viewSize, image, expected] : rows)
        EXPECT_EQ(CoordinateTransform::imageRect(selection, viewSize, image.width(), image.height()), expected) << name;
}

TEST(ImageCrop, EnlargesToWholePixelsAndCutsToTheImage)
{
    // The region of a 100 x 80 image, and its pixels (empty: no image).
    const std::vector<std::tuple<const char*, QRectF, QRect>> rows = {
        {"fractional enlarged", {10.5, 20.25, 30.0, 40.0}, {10, 20, 31, 41}},
        {"partly outside right and bottom", {90, 70, 50, 50}, {90, 70, 10, 10}},
        {"covering the whole image", {-1e12, -1e12, 2e12, 2e12}, {0, 0, 100, 80}},
        {"wholly right of the image", {100, 0, 10, 10}, {}},
        {"zero width", {10.5, 10, 0, 10}, {}},
        {"not finite", {std::numeric_limits<qreal>::infinity(), 0, 10, 10}, {}},
    };
    for (const auto& [name, region, expected] : rows)
        EXPECT_EQ(ImageCrop::pixelRect(region, QSize(100, 80)), expected) << name;
}

TEST(TextEditorPlacement, KeepsTheWindowInsideTheAvailableArea)
{
    // A 500 × 300 window: the pointer, the available area, the window's frame.
    const std::tuple<const char*, QPointF, QRectF, QRectF> cases[] = {
        {"top-right corner", {1440, 0}, {0, 0, 1440, 875}, {920, 20, 500, 300}},
        {"too narrow: the right edge wins", {200, 500}, {0, 0, 510, 900}, {-10, 520, 500, 300}},
        {"too short: the top edge wins", {700, 100}, {0, 0, 1440, 200}, {450, 20, 500, 300}},
        {"area away from the origin", {1930, 1040}, {1920, 56, 1280, 1024}, {1940, 760, 500, 300}},
    };
    for (const auto& [name, pointer, available, frame] : cases)
        EXPECT_EQ(TextEditorPlacement::frameNextToPointer(pointer, {500, 300}, available), frame) << name;
}

TEST(ScreenGeometry, WindowFramesGoToTheBottomLeftOfThePrimaryMonitor)
{
    // Primary 1920x1080 at the origin; a second monitor to its right, 1440x900, top-aligned.
    const QRectF primary(0, 0, 1920, 1080);
    EXPECT_EQ(ScreenGeometry::toGlobalBottomLeft(QRectF(1920, 0, 1440, 900), primary), QRectF(1920, 180, 1440, 900));
    // A primary monitor that is not at Qt's origin.
    const QRectF offset(1440, 100, 1920, 1080);
    EXPECT_EQ(ScreenGeometry::toGlobalBottomLeft(QRectF(1440, 100, 1920, 1080), offset), QRectF(0, 0, 1920, 1080));
}
