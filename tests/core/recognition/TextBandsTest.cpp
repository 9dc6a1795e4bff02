#include "core/recognition/TextBands.h"

#include <QImage>
#include <QList>
#include <QRect>

#include <gtest/gtest.h>

#include <ostream>

namespace {

// A prepared page 400 px wide. Text lines are rows of 2 px stems 6 px apart, mostly background as real text is;
// rules, bars and dots are solid.
QImage page(int height, const QList<QRect>& textLines, const QList<QRect>& solids = {})
{
    QImage image(400, height, QImage::Format_Grayscale8);
    image.fill(QColor(250, 250, 250));
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

} // namespace

void PrintTo(const TextBands::Band& band, std::ostream* out)
{
    *out << "rows " << band.top << "-" << band.bottom;
}

// A cut through a glyph row loses the characters on it, so bands are cut only in the gaps between lines, and
// nothing that merely looks like a gap (a rule, a window edge, the bars of "=", dots over a capital) is one.
TEST(TextBands, CutsOnlyBetweenLines)
{
    // Text lines 28 px high, 12 px apart, starting 20 px down.
    QList<QRect> four;
    for (int i = 0; i < 4; ++i)
        four.append(QRect(20, 20 + 40 * i, 360, 28));
    const QList<QRect> two = four.mid(0, 2);
    const QList<QRect> aroundEquals = {four[0], four[1].translated(0, 24)};
    // The page's height, its text lines and solid shapes, the most bands asked for, and the bands.
    const std::tuple<const char*, int, QList<QRect>, QList<QRect>, int, QList<TextBands::Band>> rows[] = {
        {"four equal lines in halves", 180, four, {}, 2, {{0, 93}, {94, 179}}},
        {"a rule between two lines", 100, two, {QRect(0, 52, 400, 2)}, 2, {{0, 49}, {50, 99}}},
        {"a window edge beside the text", 180, four, {QRect(2, 0, 2, 180)}, 2, {{0, 93}, {94, 179}}},
        {"lines that touch", 90, {QRect(20, 10, 360, 28), QRect(23, 38, 360, 28)}, {}, 2, {{0, 89}}},
        {"an underline of equals signs",
         130,
         aroundEquals,
         {QRect(20, 60, 300, 4), QRect(20, 68, 300, 4)},
         3,
         {{0, 53}, {54, 77}, {78, 129}}},
        {"dots over a line", 110, {four[0], QRect(20, 62, 360, 28)}, {QRect(60, 54, 6, 4)}, 2, {{0, 109}}},
    };
    for (const auto& [name, height, text, solids, maxBands, expected] : rows)
        EXPECT_EQ(TextBands::split(page(height, text, solids), maxBands), expected) << name;
}
