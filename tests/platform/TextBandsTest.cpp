#include "platform/TextBands.h"

#include <QImage>
#include <QList>
#include <QRect>

#include <gtest/gtest.h>

#include <ostream>

namespace {

using Band = TextBands::Band;

constexpr int Background = 250;

// A prepared page 400 px wide. Text lines are drawn as rows of 2 px stems 6 px apart, so that the page is
// mostly background as real text is; rules, bars and dots are solid.
QImage page(int height, const QList<QRect>& textLines, const QList<QRect>& solids = {})
{
    QImage image(400, height, QImage::Format_Grayscale8);
    image.fill(QColor(Background, Background, Background));
    for (const QRect& rect : textLines) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); x += 6)
                std::fill_n(image.scanLine(y) + x, 2, uchar(20));
        }
    }
    for (const QRect& rect : solids) {
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            std::fill_n(image.scanLine(y) + rect.left(), rect.width(), uchar(20));
    }
    return image;
}

// Text lines 28 px high, 12 px apart, starting 20 px down, each as wide as given.
QList<QRect> lines(const QList<int>& widths)
{
    QList<QRect> result;
    for (int i = 0; i < widths.size(); ++i)
        result.append(QRect(20, 20 + 40 * int(i), widths[i], 28));
    return result;
}

} // namespace

void PrintTo(const TextBands::Band& band, std::ostream* out)
{
    *out << "rows " << band.top << "-" << band.bottom;
}

TEST(TextBands, CutsOnlyBetweenLinesIntoBandsOfEqualWork)
{
    struct Row {
        const char* name;
        int height;
        QList<QRect> text;
        QList<QRect> solids;
        int maxBands;
        QList<Band> expected;
    };
    const QList<QRect> four = lines({360, 360, 360, 360});
    const QRect rule(0, 52, 400, 2);      // a table's rule in the gap between two lines
    const QRect windowEdge(2, 0, 2, 180); // running past every line
    const QList<QRect> equals = {QRect(20, 60, 300, 4), QRect(20, 68, 300, 4)};
    const QList<QRect> aroundEquals = {QRect(20, 20, 360, 28), QRect(20, 84, 360, 28)};
    // The second line starts where the first ends, shifted so that no stem runs through both.
    const QList<QRect> touching = {QRect(20, 10, 360, 28), QRect(23, 38, 360, 28)};
    const Row rows[] = {
        {"four equal lines in halves", 180, four, {}, 2, {{0, 93}, {94, 179}}},
        {"into three bands", 180, four, {}, 3, {{0, 53}, {54, 133}, {134, 179}}},
        // Work goes by width: one long line weighs as much as three short ones.
        {"one long and three short lines", 180, lines({360, 120, 120, 120}), {}, 2, {{0, 53}, {54, 179}}},
        {"a rule between two lines", 100, lines({360, 360}), {rule}, 2, {{0, 49}, {50, 99}}},
        {"a window edge beside the text", 180, four, {windowEdge}, 2, {{0, 93}, {94, 179}}},
        {"one engine", 180, four, {}, 1, {{0, 179}}},
        {"a single line", 70, lines({360}), {}, 2, {{0, 69}}},
        {"lines that touch", 90, touching, {}, 2, {{0, 89}}},
        // A line of "=": its two bars are one glyph row, never cut apart.
        {"an underline of equals signs", 130, aroundEquals, equals, 3, {{0, 53}, {54, 77}, {78, 129}}},
        // Dots over a capital stand apart from their line; no cut may take them from it.
        {"dots over a line",
         110,
         {QRect(20, 20, 360, 28), QRect(20, 62, 360, 28)},
         {QRect(60, 54, 6, 4)},
         2,
         {{0, 109}}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(TextBands::split(page(row.height, row.text, row.solids), row.maxBands), row.expected) << row.name;
    EXPECT_TRUE(TextBands::split(QImage(), 2).isEmpty());
}

TEST(TextBands, BandImagesKeepTheirRowsAndGetBackgroundWhereCut)
{
    const QImage whole = page(180, lines({360, 360, 360, 360}));
    const QList<Band> bands = TextBands::split(whole, 2);
    ASSERT_EQ(bands.size(), 2);
    QImage margin(400, 20, QImage::Format_Grayscale8);
    margin.fill(QColor(Background, Background, Background));
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        // The page's own edges get nothing; each cut edge (below the top band, above the bottom one) the margin.
        const QImage image = TextBands::image(whole, bands[i], 20, Background);
        const int rows = bands[i].bottom - bands[i].top + 1;
        const int above = i == 0 ? 0 : 20;
        ASSERT_EQ(image.height(), rows + 20);
        EXPECT_EQ(image.copy(0, above, 400, rows), whole.copy(0, bands[i].top, 400, rows));
        EXPECT_EQ(image.copy(0, i == 0 ? rows : 0, 400, 20), margin);
    }
}
