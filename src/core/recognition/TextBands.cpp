#include "core/recognition/TextBands.h"

#include "core/recognition/ScreenTextPreparer.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// Pixels that differ from the background by no more than this are background; the faint edges that smoothing
// leaves around a glyph differ by more, so a cut never shaves them off.
constexpr int BackgroundTolerance = 16;

// Consecutive rows holding ink: one text line, or several that touch.
struct InkRun {
    int top = 0;
    int bottom = 0;
    int left = 0;
    int right = 0;
    int height() const { return bottom - top + 1; }
};

std::vector<InkRun> inkRuns(const QImage& gray, int background)
{
    std::vector<InkRun> runs;
    bool inRun = false;
    for (int y = 0; y < gray.height(); ++y) {
        const uchar* line = gray.constScanLine(y);
        int left = -1;
        int right = -1;
        for (int x = 0; x < gray.width(); ++x) {
            if (std::abs(int(line[x]) - background) > BackgroundTolerance) {
                if (left < 0)
                    left = x;
                right = x;
            }
        }
        if (left < 0) {
            inRun = false;
            continue;
        }
        if (!inRun)
            runs.push_back({y, y, left, right});
        InkRun& run = runs.back();
        run.bottom = y;
        run.left = std::min(run.left, left);
        run.right = std::max(run.right, right);
        inRun = true;
    }
    return runs;
}

// The page with its vertical rules (window and menu edges, table borders, scroll bars) painted over as background:
// they run past every text line, so that no row would otherwise be plain. No glyph is half as high as a page
// that holds two lines of text or more.
QImage withoutVerticalRules(const QImage& gray, int background)
{
    const int minRule = std::max(2, gray.height() / 2);
    QImage result = gray;
    std::vector<int> runStart(size_t(gray.width()), -1);
    const auto endRun = [&](int x, int end) {
        const int start = runStart[size_t(x)];
        if (start >= 0 && end - start >= minRule) {
            for (int y = start; y < end; ++y)
                result.scanLine(y)[x] = uchar(background);
        }
        runStart[size_t(x)] = -1;
    };
    for (int y = 0; y < gray.height(); ++y) {
        const uchar* line = gray.constScanLine(y);
        for (int x = 0; x < gray.width(); ++x) {
            if (std::abs(int(line[x]) - background) > BackgroundTolerance) {
                if (runStart[size_t(x)] < 0)
                    runStart[size_t(x)] = y;
            } else {
                endRun(x, y);
            }
        }
    }
    for (int x = 0; x < gray.width(); ++x)
        endRun(x, gray.height());
    return result;
}

} // namespace

QList<TextBands::Band> TextBands::split(const QImage& gray, int maxBands)
{
    if (gray.isNull())
        return {};
    const QList<Band> whole = {{0, gray.height() - 1}};
    if (maxBands < 2)
        return whole;
    const int background = ScreenTextPreparer::backgroundLevel(gray);
    const std::vector<InkRun> runs = inkRuns(withoutVerticalRules(gray, background), background);
    if (runs.size() < 2)
        return whole;

    // The upper quartile of the runs' heights is a text line's even where horizontal rules outnumber the lines.
    std::vector<int> heights;
    int left = gray.width();
    int right = 0;
    for (const InkRun& run : runs) {
        heights.push_back(run.height());
        left = std::min(left, run.left);
        right = std::max(right, run.right);
    }
    std::nth_element(heights.begin(), heights.begin() + heights.size() * 3 / 4, heights.end());
    const int lineHeight = heights[heights.size() * 3 / 4];
    // A sliver is lower than half a line: a rule, the dots over capitals, one bar of an "=". A cut may pass a
    // rule (a sliver as wide as half the text) but never runs between two slivers or beside dots.
    const auto sliver = [&](const InkRun& run) { return run.height() * 2 < lineHeight; };
    const auto mayCutBeside = [&](const InkRun& run) {
        return !sliver(run) || (run.right - run.left + 1) * 2 >= right - left + 1;
    };

    // Reading a line costs about as much as it is wide; a run of several touching lines counts for each of them.
    std::vector<double> costBefore(runs.size() + 1, 0.0);
    for (size_t i = 0; i < runs.size(); ++i) {
        const double lines = sliver(runs[i]) ? 0.0 : std::max(1.0, std::round(double(runs[i].height()) / lineHeight));
        costBefore[i + 1] = costBefore[i] + lines * (runs[i].right - runs[i].left + 1);
    }

    QList<Band> bands;
    int top = 0;
    size_t after = 0; // cuts are made only after this run
    for (int part = 1; part < maxBands; ++part) {
        const double target = costBefore.back() * part / maxBands;
        size_t best = 0;
        for (size_t i = after; i + 1 < runs.size(); ++i) {
            const InkRun& above = runs[i];
            const InkRun& below = runs[i + 1];
            if (!mayCutBeside(above) || !mayCutBeside(below) || (sliver(above) && sliver(below)))
                continue;
            if (best == 0 || std::abs(costBefore[i + 1] - target) < std::abs(costBefore[best] - target))
                best = i + 1;
        }
        if (best == 0)
            break;
        const int cut = (runs[best - 1].bottom + 1 + runs[best].top) / 2;
        bands.append({top, cut - 1});
        top = cut;
        after = best;
    }
    bands.append({top, gray.height() - 1});
    return bands;
}

QImage TextBands::image(const QImage& gray, const Band& band, int margin, int level)
{
    const int above = band.top > 0 ? margin : 0;
    const int below = band.bottom < gray.height() - 1 ? margin : 0;
    QImage result(gray.width(), band.bottom - band.top + 1 + above + below, QImage::Format_Grayscale8);
    result.fill(QColor(level, level, level));
    for (int y = band.top; y <= band.bottom; ++y)
        std::copy_n(gray.constScanLine(y), gray.width(), result.scanLine(y - band.top + above));
    return result;
}
