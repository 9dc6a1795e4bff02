#include "core/recognition/ScreenTextPreparer.h"

#include "core/recognition/LanczosResampler.h"

#include <QImage>
#include <QRect>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <vector>

namespace {

// Rows or columns whose levels differ by no more than this are one colour (a border or plain background);
// anti-aliased glyph edges differ by far more.
constexpr int UniformTolerance = 16;
// The widest frame that is peeled off as a border, in pixels.
constexpr int MaxBorderWidth = 12;

constexpr double MaxPreparedPixels = 40e6;

// A dark patch this high and wide, or more, can be a panel with text on it; letters of screen text are smaller.
constexpr int MinPanelSide = 12;

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

// Redraws a dark panel (the pixels labelled `id`, and everything they enclose) as the page around it: its colour
// becomes the page's background and its light text becomes dark ink. The page showing in its rounded corners
// stays as it is, so that no outline is left to be read as "|".
void recolourPanel(QImage& gray, const std::vector<int>& label, int id, const QRect& box, int background)
{
    const int width = gray.width();
    const auto inPanel = [&](int x, int y) { return label[size_t(y) * size_t(width) + size_t(x)] == id; };
    std::vector<int> rowFirst(size_t(box.height()), INT_MAX), rowLast(size_t(box.height()), -1);
    std::vector<int> columnFirst(size_t(box.width()), INT_MAX), columnLast(size_t(box.width()), -1);
    Histogram panelLevels{};
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (!inPanel(x, y))
                continue;
            ++panelLevels[gray.constScanLine(y)[x]];
            const size_t r = size_t(y - box.top());
            const size_t c = size_t(x - box.left());
            rowFirst[r] = std::min(rowFirst[r], x);
            rowLast[r] = std::max(rowLast[r], x);
            columnFirst[c] = std::min(columnFirst[c], y);
            columnLast[c] = std::max(columnLast[c], y);
        }
    }
    const auto enclosed = [&](int x, int y) {
        const size_t r = size_t(y - box.top());
        const size_t c = size_t(x - box.left());
        return x >= rowFirst[r] && x <= rowLast[r] && y >= columnFirst[c] && y <= columnLast[c];
    };
    const int panel = int(std::max_element(panelLevels.begin(), panelLevels.end()) - panelLevels.begin());
    int text = panel;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (enclosed(x, y))
                text = std::max(text, int(gray.constScanLine(y)[x]));
        }
    }
    if (text - panel < 2 * UniformTolerance)
        return; // a solid patch without text on it
    for (int y = box.top(); y <= box.bottom(); ++y) {
        uchar* line = gray.scanLine(y);
        for (int x = box.left(); x <= box.right(); ++x) {
            if (enclosed(x, y))
                line[x] = uchar(std::clamp(background - (line[x] - panel) * background / (text - panel), 0, 255));
        }
    }
}

// Labels the 4-connected patches of pixels darker than `threshold` one after another and calls
// visit(label, id, box, area) for each; label holds the ids of the patches found so far.
template <typename Visit>
void forEachDarkPatch(const QImage& gray, int threshold, Visit visit)
{
    const int width = gray.width();
    const int height = gray.height();
    std::vector<int> label(size_t(width) * size_t(height), 0);
    std::vector<int> stack;
    int next = 0;
    for (int y0 = 0; y0 < height; ++y0) {
        for (int x0 = 0; x0 < width; ++x0) {
            const size_t start = size_t(y0) * size_t(width) + size_t(x0);
            if (label[start] != 0 || gray.constScanLine(y0)[x0] >= threshold)
                continue;
            label[start] = ++next;
            stack.assign(1, int(start));
            QRect box(x0, y0, 1, 1);
            qint64 area = 0;
            while (!stack.empty()) {
                const int index = stack.back();
                stack.pop_back();
                ++area;
                const int x = index % width;
                const int y = index / width;
                box = box.united(QRect(x, y, 1, 1));
                const auto reach = [&](int nx, int ny) {
                    if (nx < 0 || ny < 0 || nx >= width || ny >= height)
                        return;
                    const size_t n = size_t(ny) * size_t(width) + size_t(nx);
                    if (label[n] == 0 && gray.constScanLine(ny)[nx] < threshold) {
                        label[n] = next;
                        stack.push_back(int(n));
                    }
                };
                reach(x - 1, y);
                reach(x + 1, y);
                reach(x, y - 1);
                reach(x, y + 1);
            }
            visit(label, next, box, area);
        }
    }
}

// Light text on a dark panel inside a light crop (a default button, a selected menu entry): the panel is one
// large, nearly solid patch of ink, unlike any letter.
void recolourDarkPanels(QImage& gray, int background)
{
    const qint64 pixels = qint64(gray.width()) * gray.height();
    forEachDarkPatch(gray, background - 64, [&](const std::vector<int>& label, int id, const QRect& box, qint64 area) {
        const qint64 boxArea = qint64(box.width()) * box.height();
        if (box.width() >= MinPanelSide && box.height() >= MinPanelSide && area * 10 >= boxArea * 6 &&
            boxArea * 2 < pixels)
            recolourPanel(gray, label, id, box, background);
    });
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

int ScreenTextPreparer::inkThreshold(const QImage& gray)
{
    const int background = backgroundLevel(gray);
    const Histogram counts = histogram(gray);
    int darkest = 0;
    while (darkest < background && counts[size_t(darkest)] == 0)
        ++darkest;
    if (background - darkest <= UniformTolerance)
        return -1;
    return (background + darkest) / 2;
}

int ScreenTextPreparer::typicalLineHeight(const QImage& gray)
{
    const int threshold = inkThreshold(gray);
    if (threshold < 0)
        return 0;
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

bool ScreenTextPreparer::hasColumnGap(const QImage& gray)
{
    const int threshold = inkThreshold(gray);
    const int lineHeight = typicalLineHeight(gray);
    if (threshold < 0 || lineHeight == 0)
        return false;
    std::vector<bool> ink(size_t(gray.width()), false);
    for (int y = 0; y < gray.height(); ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = 0; x < gray.width(); ++x) {
            if (line[x] < threshold)
                ink[size_t(x)] = true;
        }
    }
    const auto first = std::find(ink.begin(), ink.end(), true);
    const auto last = std::find(ink.rbegin(), ink.rend(), true).base();
    int gap = 0;
    for (auto it = first; it < last; ++it) {
        gap = *it ? 0 : gap + 1;
        if (gap >= lineHeight)
            return true;
    }
    return false;
}

QImage ScreenTextPreparer::prepare(const QImage& crop) const
{
    const QImage gray = unscaled(crop);
    if (gray.isNull())
        return QImage();
    return scaled(gray, enlargement(gray, maxEnlargement(gray.size())));
}

QImage ScreenTextPreparer::unscaled(const QImage& crop) const
{
    if (crop.isNull())
        return QImage();
    QImage gray = toGrayscale(crop);
    if (m_steps.invertDark && isMostlyDark(gray))
        invert(gray);
    // Measured on the whole crop: once trimmed to the text, ink can outweigh the background.
    const int background = backgroundLevel(gray);
    if (m_steps.recolourDarkPanels)
        recolourDarkPanels(gray, background);
    if (m_steps.trimBorders) {
        gray = trimmedUniformBorders(gray);
        if (gray.isNull())
            return QImage();
    }
    if (m_steps.margin > 0)
        gray = withMargin(gray, m_steps.margin, background);
    return gray;
}

double ScreenTextPreparer::maxEnlargement(const QSize& page) const
{
    // An enlarged full 8K screen would hold over a hundred million pixels: enlarge less rather than run out.
    const double area = double(page.width()) * page.height();
    return std::max(1.0, std::min(m_steps.upscale, std::sqrt(MaxPreparedPixels / std::max(1.0, area))));
}

double ScreenTextPreparer::enlargement(const QImage& gray, double maxFactor) const
{
    if (maxFactor == 1.0)
        return 1.0;
    const bool needed = m_steps.upscaleBelowLineHeight <= 0 || typicalLineHeight(gray) < m_steps.upscaleBelowLineHeight;
    return needed ? maxFactor : 1.0;
}

QImage ScreenTextPreparer::scaled(const QImage& gray, double factor) const
{
    if (factor == 1.0)
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
