#include "platform/ScreenTextPreparer.h"

#include "platform/LanczosResampler.h"

#include <QImage>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// Rows or columns whose levels differ by no more than this are one colour (a border or plain background);
// anti-aliased glyph edges differ by far more.
constexpr int UniformTolerance = 16;
// The widest frame that is peeled off as a border, in pixels.
constexpr int MaxBorderWidth = 12;

constexpr double MaxPreparedPixels = 40e6;

using Histogram = std::array<qint64, 256>;

Histogram histogram(const QImage& gray)
{
    Histogram counts{};
    for (int y = 0; y < gray.height(); ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = 0; x < gray.width(); ++x)
            ++counts[line[x]];
    }
    return counts;
}

// Transparent parts of a crop (image files can have them) count as a white page.
QImage toGrayscale(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_Grayscale8);
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QImage gray(argb.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        uchar* out = gray.scanLine(y);
        for (int x = 0; x < argb.width(); ++x) {
            const int alpha = qAlpha(in[x]);
            out[x] = uchar((qGray(in[x]) * alpha + 255 * (255 - alpha) + 127) / 255);
        }
    }
    return gray;
}

void invert(QImage& gray)
{
    for (int y = 0; y < gray.height(); ++y) {
        uchar* line = gray.scanLine(y);
        for (int x = 0; x < gray.width(); ++x)
            line[x] = uchar(255 - line[x]);
    }
}

QImage withMargin(const QImage& gray, int margin, int level)
{
    QImage framed(gray.width() + 2 * margin, gray.height() + 2 * margin, QImage::Format_Grayscale8);
    framed.fill(QColor(level, level, level));
    for (int y = 0; y < gray.height(); ++y)
        std::copy_n(gray.constScanLine(y), gray.width(), framed.scanLine(y + margin) + margin);
    return framed;
}

bool rowUniform(const QImage& gray, int y, int left, int right)
{
    const uchar* line = gray.constScanLine(y);
    const auto [lo, hi] = std::minmax_element(line + left, line + right + 1);
    return *hi - *lo <= UniformTolerance;
}

bool columnUniform(const QImage& gray, int x, int top, int bottom)
{
    int lo = 255;
    int hi = 0;
    for (int y = top; y <= bottom; ++y) {
        const int v = gray.constScanLine(y)[x];
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    return hi - lo <= UniformTolerance;
}

} // namespace

bool ScreenTextPreparer::isMostlyDark(const QImage& gray)
{
    const Histogram counts = histogram(gray);
    qint64 dark = 0;
    for (int v = 0; v < 128; ++v)
        dark += counts[size_t(v)];
    return dark * 2 > qint64(gray.width()) * gray.height();
}

QImage ScreenTextPreparer::trimmedUniformBorders(const QImage& gray)
{
    if (gray.isNull())
        return QImage();
    const int background = backgroundLevel(gray);
    int top = 0;
    int bottom = gray.height() - 1;
    int left = 0;
    int right = gray.width() - 1;

    const auto rowLevel = [&](int y) {
        return rowUniform(gray, y, left, right) ? int(gray.constScanLine(y)[left]) : -1;
    };
    const auto columnLevel = [&](int x) {
        return columnUniform(gray, x, top, bottom) ? int(gray.constScanLine(top)[x]) : -1;
    };
    const auto isBackground = [&](int level) { return std::abs(level - background) <= UniformTolerance; };
    // A line is peeled when it is one colour along the whole remaining edge: first only lines of another colour
    // than the background (borders, while the background around the text still keeps them apart from any
    // letter), then lines of background. Never the reverse, or the stem of an "l" in a crop cut tight round
    // the text could pass for a border.
    const auto peel = [&](bool borders) {
        int peeledTop = 0, peeledBottom = 0, peeledLeft = 0, peeledRight = 0;
        const auto wanted = [&](int level, int& count) {
            if (level < 0 || isBackground(level) == borders || (borders && count >= MaxBorderWidth))
                return false;
            ++count;
            return true;
        };
        for (bool peeled = true; peeled && top <= bottom && left <= right;) {
            peeled = false;
            if (wanted(rowLevel(top), peeledTop)) {
                ++top;
                peeled = true;
            }
            if (top <= bottom && wanted(rowLevel(bottom), peeledBottom)) {
                --bottom;
                peeled = true;
            }
            if (top > bottom)
                break;
            if (wanted(columnLevel(left), peeledLeft)) {
                ++left;
                peeled = true;
            }
            if (left <= right && wanted(columnLevel(right), peeledRight)) {
                --right;
                peeled = true;
            }
        }
    };
    peel(true);
    peel(false);
    if (top > bottom || left > right)
        return QImage();
    return gray.copy(left, top, right - left + 1, bottom - top + 1);
}

int ScreenTextPreparer::backgroundLevel(const QImage& gray)
{
    const Histogram counts = histogram(gray);
    return int(std::max_element(counts.begin(), counts.end()) - counts.begin());
}

int ScreenTextPreparer::typicalLineHeight(const QImage& gray)
{
    const int background = backgroundLevel(gray);
    const Histogram counts = histogram(gray);
    int darkest = 0;
    while (darkest < background && counts[size_t(darkest)] == 0)
        ++darkest;
    if (background - darkest <= UniformTolerance)
        return 0;
    const int threshold = (background + darkest) / 2;
    std::vector<int> runs;
    int run = 0;
    for (int y = 0; y <= gray.height(); ++y) {
        bool ink = false;
        if (y < gray.height()) {
            const uchar* line = gray.constScanLine(y);
            ink = std::any_of(line, line + gray.width(), [&](uchar v) { return v < threshold; });
        }
        if (ink) {
            ++run;
        } else if (run > 0) {
            runs.push_back(run);
            run = 0;
        }
    }
    if (runs.empty())
        return 0;
    std::nth_element(runs.begin(), runs.begin() + runs.size() / 2, runs.end());
    return runs[runs.size() / 2];
}

QImage ScreenTextPreparer::prepare(const QImage& crop) const
{
    if (crop.isNull())
        return QImage();
    QImage gray = toGrayscale(crop);
    if (m_steps.invertDark && isMostlyDark(gray))
        invert(gray);
    // Measured on the whole crop: once trimmed to the text, ink can outweigh the background.
    const int background = backgroundLevel(gray);
    if (m_steps.trimBorders) {
        gray = trimmedUniformBorders(gray);
        if (gray.isNull())
            return QImage();
    }
    if (m_steps.margin > 0)
        gray = withMargin(gray, m_steps.margin, background);

    // An enlarged full 8K screen would hold over a hundred million pixels: enlarge less rather than run out.
    const double area = double(gray.width()) * gray.height();
    const double factor = std::max(1.0, std::min(m_steps.upscale, std::sqrt(MaxPreparedPixels / area)));
    const bool scale = factor != 1.0 && (m_steps.upscaleBelowLineHeight <= 0 ||
                                         typicalLineHeight(gray) < m_steps.upscaleBelowLineHeight);
    if (!scale)
        return gray;
    switch (m_steps.filter) {
    case Filter::Lanczos:
        return LanczosResampler::scaled(gray, factor);
    case Filter::Bilinear:
    case Filter::Nearest: {
        const QSize size(int(std::lround(gray.width() * factor)), int(std::lround(gray.height() * factor)));
        return gray.scaled(size, Qt::IgnoreAspectRatio,
                           m_steps.filter == Filter::Bilinear ? Qt::SmoothTransformation : Qt::FastTransformation);
    }
    }
    return gray;
}
