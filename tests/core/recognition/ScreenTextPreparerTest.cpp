#include "core/recognition/ScreenTextPreparer.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// A block standing in for a word: preparation must never cut into it, whatever surrounds it.
const QRect Word(30, 12, 40, 9);

QImage page(QColor background, QColor ink, int frameWidth = 0, QColor frame = {})
{
    QImage image(120, 40, QImage::Format_ARGB32);
    image.fill(frameWidth > 0 ? frame : background);
    QPainter painter(&image);
    painter.fillRect(image.rect().adjusted(frameWidth, frameWidth, -frameWidth, -frameWidth), background);
    painter.fillRect(Word, ink);
    return image;
}

int level(const QImage& gray, int x, int y)
{
    return gray.constScanLine(y)[x];
}

} // namespace

// Whatever the theme and whatever frame the selection caught, what is left is the word, dark on light, on a
// margin of its own page, enlarged.
TEST(ScreenTextPreparer, EveryCropBecomesDarkTextOnAMarginOfLightPage)
{
    const std::pair<const char*, QImage> rows[] = {
        {"dark theme", page(QColor(30, 30, 30), QColor(220, 220, 220))},
        {"light theme", page(QColor(250, 250, 250), QColor(20, 20, 20))},
        {"transparent parts of a file are white page", page(Qt::transparent, Qt::black)},
        {"one-pixel window border", page(Qt::white, Qt::black, 1, QColor(90, 90, 90))},
        {"frame on a dark theme", page(QColor(30, 30, 30), Qt::white, 2, QColor(200, 200, 200))},
    };
    for (const auto& [name, crop] : rows) {
        SCOPED_TRACE(name);
        const QImage prepared = ScreenTextPreparer({.margin = 10, .upscale = 2.0}).prepare(crop);
        ASSERT_EQ(prepared.format(), QImage::Format_Grayscale8);
        ASSERT_EQ(prepared.size(), (Word.size() + QSize(20, 20)) * 2);
        const int pageLevel = level(prepared, 0, 0);
        EXPECT_GT(pageLevel, 128) << "background light";
        for (int x = 0; x < prepared.width(); ++x) {
            ASSERT_EQ(level(prepared, x, 0), pageLevel) << "no frame left in the margin, x " << x;
            ASSERT_EQ(level(prepared, x, prepared.height() - 1), pageLevel) << "no frame left in the margin, x " << x;
        }
        EXPECT_LT(level(prepared, prepared.width() / 2, prepared.height() / 2), pageLevel - 64) << "ink";
    }
}
