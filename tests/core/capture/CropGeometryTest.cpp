#include "core/capture/CoordinateTransform.h"
#include "core/capture/ImageCrop.h"

#include "LogCapture.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

#include <limits>

TEST(CoordinateTransform, ScalesViewPointsToImagePixels)
{
    struct Row {
        const char* name;
        QRectF selection;
        QSizeF viewSize;
        QSize imageSize;
        QRectF expected; // null: a view without area, reported by a line
    };
    const qreal nan = std::numeric_limits<qreal>::quiet_NaN();
    const std::vector<Row> rows = {
        {"double density", {100, 650, 300, 50}, {1440, 900}, {2880, 1800}, {200, 1300, 600, 100}},
        {"different scales per axis", {10, 70, 20, 20}, {100, 100}, {300, 150}, {30, 105, 60, 30}},
        {"fractional scale is not rounded", {1, 718, 1, 1}, {1280, 720}, {1600, 900}, {1.25, 897.5, 1.25, 1.25}},
        {"outside the view is not clipped", {-10, -150, 20, 100}, {1440, 900}, {1440, 900}, {-10, -150, 20, 100}},
        {"view of zero width", {1, 2, 3, 4}, {0, 900}, {2880, 1800}, {}},
        {"view width not a number", {1, 2, 3, 4}, {nan, 900}, {2880, 1800}, {}},
    };
    for (const Row& row : rows) {
        LogCapture log;
        EXPECT_EQ(
            CoordinateTransform::imageRect(row.selection, row.viewSize, row.imageSize.width(), row.imageSize.height()),
            row.expected)
            << row.name;
        const QString error = QStringLiteral("❌ ERROR: CoordinateTransform - viewSize is zero!");
        EXPECT_EQ(log.containsOut(error), row.expected.isNull()) << row.name;
    }
}

TEST(ImageCrop, EnlargesToWholePixelsAndCutsToTheImage)
{
    struct Row {
        const char* name;
        QRectF region;
        QRect expected; // empty: no image
    };
    const QSize imageSize(100, 80);
    const std::vector<Row> rows = {
        {"fractional enlarged", {10.5, 20.25, 30.0, 40.0}, {10, 20, 31, 41}},
        {"partly outside right and bottom", {90, 70, 50, 50}, {90, 70, 10, 10}},
        {"covering the whole image", {-1e12, -1e12, 2e12, 2e12}, {0, 0, 100, 80}},
        {"wholly right of the image", {100, 0, 10, 10}, {}},
        {"zero width", {10.5, 10, 0, 10}, {}},
        {"not finite", {std::numeric_limits<qreal>::infinity(), 0, 10, 10}, {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ImageCrop::pixelRect(row.region, imageSize), row.expected) << row.name;
}
