#include "capture/CoordinateTransform.h"
#include "capture/ImageCrop.h"
#include "capture/RectText.h"

#include "LogCapture.h"

#include <QColor>
#include <QImage>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

#include <limits>

TEST(CoordinateTransform, MapsBottomLeftPointsToTopLeftPixels)
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
        {"double density near the top", {100, 700, 200, 100}, {1440, 900}, {2880, 1800}, {200, 200, 400, 200}},
        {"different scales per axis", {10, 10, 20, 20}, {100, 100}, {300, 150}, {30, 105, 60, 30}},
        {"fractional scale is not rounded", {1, 1, 1, 1}, {1280, 720}, {1600, 900}, {1.25, 897.5, 1.25, 1.25}},
        {"outside the view is not clipped", {-10, 950, 20, 100}, {1440, 900}, {1440, 900}, {-10, -150, 20, 100}},
        {"view of zero width", {1, 2, 3, 4}, {0, 900}, {2880, 1800}, {}},
        {"view of negative height", {1, 2, 3, 4}, {1440, -900}, {2880, 1800}, {}},
        {"view width not a number", {1, 2, 3, 4}, {nan, 900}, {2880, 1800}, {}},
    };
    for (const Row& row : rows) {
        LogCapture log;
        EXPECT_EQ(
            CoordinateTransform::imageRect(row.selection, row.viewSize, row.imageSize.width(), row.imageSize.height()),
            row.expected)
            << row.name;
        const QString error = QStringLiteral("(out) ❌ ERROR: CoordinateTransform - viewSize is zero!");
        EXPECT_EQ(log.allLines(), row.expected.isNull() ? QStringList{error} : QStringList()) << row.name;
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
        {"fraction inside one pixel", {3.2, 4.2, 0.5, 0.5}, {3, 4, 1, 1}},
        {"partly outside left and top", {-5, -5, 20, 10}, {0, 0, 15, 5}},
        {"partly outside right and bottom", {90, 70, 50, 50}, {90, 70, 10, 10}},
        {"covering the whole image", {-1e12, -1e12, 2e12, 2e12}, {0, 0, 100, 80}},
        {"wholly right of the image", {100, 0, 10, 10}, {}},
        {"wholly above the image", {0, -20, 10, 20}, {}},
        {"zero width", {10.5, 10, 0, 10}, {}},
        {"not finite", {std::numeric_limits<qreal>::infinity(), 0, 10, 10}, {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ImageCrop::pixelRect(row.region, imageSize), row.expected) << row.name;
}

TEST(ImageCrop, CopiesThePixelsOfTheRegion)
{
    QImage image(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, QColor(x, y, 0));

    const QImage cropped = ImageCrop::crop(image, {10.5, 20.25, 5, 5});
    ASSERT_EQ(cropped.size(), QSize(6, 6));
    EXPECT_EQ(cropped.pixelColor(0, 0), QColor(10, 20, 0));
    EXPECT_EQ(cropped.pixelColor(5, 5), QColor(15, 25, 0));

    EXPECT_TRUE(ImageCrop::crop(QImage(), {0, 0, 10, 10}).isNull());
}

TEST(RectText, BothForms)
{
    struct Row {
        const char* name;
        QRectF rect;
        const char* nested;
        const char* tuple;
    };
    const std::vector<Row> rows = {
        {"fractions", {10.5, 0.25, 1, 2}, "{{10.5, 0.25}, {1, 2}}", "(10.5, 0.25, 1.0, 2.0)"},
        {"negative and zero", {-10, -0.0, 0, 7}, "{{-10, 0}, {0, 7}}", "(-10.0, 0.0, 0.0, 7.0)"},
        {"shortest round trip",
         {0.1, 1.0 / 3, 2880, 1800},
         "{{0.1, 0.3333333333333333}, {2880, 1800}}",
         "(0.1, 0.3333333333333333, 2880.0, 1800.0)"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(RectText::nested(row.rect), QString::fromUtf8(row.nested)) << row.name;
        EXPECT_EQ(RectText::tuple(row.rect), QString::fromUtf8(row.tuple)) << row.name;
    }
}
