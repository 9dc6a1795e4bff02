#pragma once

class QImage;
class QSize;

// Turns a crop of the screen into an image the recogniser reads well: grayscale, dark text on a light
// background (the recogniser otherwise retries dark lines inverted, which costs time), also on dark panels
// such as a default button (it otherwise skips their light text), no uniform border (a
// window edge caught in the selection reads as "l" or "I"), a margin of background around the text, and the
// text enlarged 2x, which screen text of 11 to 14 px needs most. Each step can be switched off, and the
// filter chosen, so that bench/ocr_bench.py can measure what each buys.
class ScreenTextPreparer {
public:
    // Bilinear measured best on screen text; Lanczos-3 and nearest neighbour are kept for the comparison.
    enum class Filter { Bilinear, Lanczos, Nearest };

    struct Steps {
        bool invertDark = true;
        bool recolourDarkPanels = true;
        bool trimBorders = true;
        int margin = 10;                 // pixels of background added on every side, before scaling
        double upscale = 2.0;            // 1.0 leaves the size alone
        int upscaleBelowLineHeight = 20; // only crops whose text lines are lower than this (px) are scaled; 0: all
        Filter filter = Filter::Bilinear;
    };

    ScreenTextPreparer() = default;
    explicit ScreenTextPreparer(const Steps& steps)
        : m_steps(steps)
    {}

    const Steps& steps() const { return m_steps; }

    // The prepared crop as QImage::Format_Grayscale8; a null image when the crop is a single colour, so it
    // cannot hold text.
    QImage prepare(const QImage& crop) const;

    // prepare() in its two halves, so that a page can be cut into bands first and each band enlarged as its own
    // text needs: every step but the enlargement (a null image for a single colour), then the enlargement.
    QImage unscaled(const QImage& crop) const;
    // The largest enlargement a page of this size may have (memory bounds it), 1.0 for none.
    double maxEnlargement(const QSize& page) const;
    // maxFactor when the text lines of the (unscaled) image are low enough to need it, else 1.0.
    double enlargement(const QImage& gray, double maxFactor) const;
    QImage scaled(const QImage& gray, double factor) const;

    // Helpers of prepare(), on 8-bit grayscale images.
    static bool isMostlyDark(const QImage& grayscale);
    static QImage trimmedUniformBorders(const QImage& grayscale);
    static int backgroundLevel(const QImage& grayscale);
    // The level between background and the darkest ink, or -1 when the image has no contrast.
    static int inkThreshold(const QImage& grayscale);
    // Whether some stretch of background as wide as a text line is high runs through the whole text from top
    // to bottom, as between columns or table cells; word spaces are narrower.
    static bool hasColumnGap(const QImage& grayscale);
    // The typical height in pixels of a line of text (dark on light), or 0 when there is none.
    static int typicalLineHeight(const QImage& grayscale);

private:
    Steps m_steps;
};
