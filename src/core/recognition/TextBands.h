#pragma once

#include <QList>

class QImage;

// Cuts a prepared page of text (dark on light, 8-bit grayscale) into horizontal bands that can be read apart,
// so that several engines can share the work of one selection. A cut runs only through rows of plain
// background between two text lines, never through a line, and never beside a sliver of ink such as one bar of
// an "=" that would be read as a line of its own. The bands carry about equal shares of the text.
class TextBands {
public:
    struct Band {
        int top = 0;    // first row
        int bottom = 0; // last row
        bool operator==(const Band&) const = default;
    };

    // At most maxBands bands, top to bottom, together covering every row; one band covering the whole image when
    // there is no place to cut.
    static QList<Band> split(const QImage& gray, int maxBands);

    // The band's rows with `margin` rows of the background `level` added at each edge that was cut, so that the
    // text of a band keeps as much background around it as the page had.
    static QImage image(const QImage& gray, const Band& band, int margin, int level);
};
