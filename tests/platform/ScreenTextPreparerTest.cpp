#include "platform/ScreenTextPreparer.h"
#include "platform/LanczosResampler.h"

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
    struct Row {
        const char* name;
        QImage crop;
    };
    const Row rows[] = {
        {"dark theme", page(QColor(30, 30, 30), QColor(220, 220, 220))},
        {"low-contrast dark theme", page(QColor(40, 44, 52), QColor(120, 125, 130))},
        {"light theme", page(QColor(250, 250, 250), QColor(20, 20, 20))},
        {"coloured light background", page(QColor(200, 230, 255), QColor(0, 0, 120))},
        {"transparent parts of a file are white page", page(Qt::transparent, Qt::black)},
        {"one-pixel window border", page(Qt::white, Qt::black, 1, QColor(90, 90, 90))},
        {"thick coloured frame", page(Qt::white, Qt::black, 5, QColor(0, 120, 215))},
        {"frame on a dark theme", page(QColor(30, 30, 30), Qt::white, 2, QColor(200, 200, 200))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QImage prepared = ScreenTextPreparer({.margin = 10, .upscale = 2.0}).prepare(row.crop);
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

TEST(ScreenTextPreparer, LightTextOnADarkButtonBecomesDarkTextOnThePage)
{
    QImage crop = page(QColor(245, 245, 245), QColor(30, 30, 30));
    QPainter painter(&crop);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(53, 132, 228)); // a default button, rounded
    painter.drawRoundedRect(QRect(80, 8, 36, 24), 4, 4);
    painter.fillRect(QRect(88, 16, 20, 8), Qt::white); // its label
    painter.end();

    const QImage prepared = ScreenTextPreparer({.trimBorders = false, .margin = 0, .upscale = 1.0}).prepare(crop);
    const int pageLevel = level(prepared, 2, 2);
    EXPECT_NEAR(level(prepared, 84, 20), pageLevel, 2) << "the button's face takes the page's colour";
    EXPECT_LT(level(prepared, 98, 20), 40) << "its label becomes dark ink";
    EXPECT_EQ(level(prepared, 80, 8), pageLevel) << "the page in the rounded corner is left alone";
    EXPECT_LT(level(prepared, Word.center().x(), Word.center().y()), 40) << "text on the page stays dark";
}

TEST(ScreenTextPreparer, NothingToReadInAOneColourCrop)
{
    QImage blank(200, 50, QImage::Format_RGB32);
    blank.fill(QColor(37, 99, 235));
    EXPECT_TRUE(ScreenTextPreparer().prepare(blank).isNull());
    EXPECT_TRUE(ScreenTextPreparer().prepare(QImage()).isNull());
}

TEST(ScreenTextPreparer, MeasuresLineHeightsAndGapsBetweenColumns)
{
    // Three lines of "words" 12 px high; the gaps between words (6 px) do not line up from line to line.
    QImage paragraph(200, 60, QImage::Format_Grayscale8);
    paragraph.fill(Qt::white);
    QPainter painter(&paragraph);
    for (int line = 0; line < 3; ++line) {
        for (int x = 10 + line * 9; x < 180; x += 30)
            painter.fillRect(x, 5 + 20 * line, 24, line == 2 ? 11 : 12, Qt::black);
    }
    painter.end();
    EXPECT_EQ(ScreenTextPreparer::typicalLineHeight(paragraph), 12);
    EXPECT_FALSE(ScreenTextPreparer::hasColumnGap(paragraph));

    // The same lines in two columns: a gutter of 20 px runs through all of them.
    QImage columns = paragraph;
    QPainter(&columns).fillRect(90, 0, 20, 60, Qt::white);
    EXPECT_TRUE(ScreenTextPreparer::hasColumnGap(columns));
    // A narrower gutter is only a word space.
    QImage narrow = paragraph;
    QPainter(&narrow).fillRect(95, 0, 8, 60, Qt::white);
    EXPECT_FALSE(ScreenTextPreparer::hasColumnGap(narrow));
}

TEST(ScreenTextPreparer, LargeTextIsLeftAtItsSizeWhenScalingIsForSmallTextOnly)
{
    const ScreenTextPreparer::Steps steps{
        .trimBorders = false, .margin = 0, .upscale = 2.0, .upscaleBelowLineHeight = 20};
    QImage small(120, 40, QImage::Format_RGB32);
    small.fill(Qt::white);
    QPainter(&small).fillRect(10, 10, 80, 10, Qt::black);
    QImage large(120, 60, QImage::Format_RGB32);
    large.fill(Qt::white);
    QPainter(&large).fillRect(10, 10, 80, 30, Qt::black);
    EXPECT_EQ(ScreenTextPreparer(steps).prepare(small).size(), QSize(240, 80));
    EXPECT_EQ(ScreenTextPreparer(steps).prepare(large).size(), QSize(120, 60));
}

TEST(LanczosResampler, DoublesWithoutShiftingEdgesOrDisturbingFlatAreas)
{
    // Black columns 0-4, white 5-9: the edge at x = 5 must land at x = 10 after doubling.
    QImage edge(10, 3, QImage::Format_Grayscale8);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x)
            edge.scanLine(y)[x] = x < 5 ? 0 : 255;
    const QImage doubled = LanczosResampler::scaled(edge, 2.0);
    ASSERT_EQ(doubled.size(), QSize(20, 6));
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 7; ++x)
            EXPECT_LT(level(doubled, x, y), 16) << x << "," << y;
        for (int x = 13; x < 20; ++x)
            EXPECT_GT(level(doubled, x, y), 239) << x << "," << y;
        EXPECT_LT(level(doubled, 9, y), 128);
        EXPECT_GT(level(doubled, 10, y), 128);
    }

    QImage flat(7, 5, QImage::Format_Grayscale8);
    flat.fill(QColor(137, 137, 137));
    const QImage scaled = LanczosResampler::scaled(flat, 3.0);
    ASSERT_EQ(scaled.size(), QSize(21, 15));
    for (int y = 0; y < scaled.height(); ++y)
        for (int x = 0; x < scaled.width(); ++x)
            ASSERT_EQ(level(scaled, x, y), 137) << x << "," << y;
}
