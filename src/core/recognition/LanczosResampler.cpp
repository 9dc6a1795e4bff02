#include "core/recognition/LanczosResampler.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr int Lobes = 3;

double lanczos(double x)
{
    if (x == 0.0)
        return 1.0;
    if (x <= -Lobes || x >= Lobes)
        return 0.0;
    const double px = std::numbers::pi * x;
    return Lobes * std::sin(px) * std::sin(px / Lobes) / (px * px);
}

// For each output position along one axis, the first input index and the normalised weights of its taps.
struct Taps {
    int count = 0;
    std::vector<int> first;
    std::vector<float> weights; // count per output position
};

Taps taps(int outSize, double factor)
{
    // When shrinking, the filter is widened so that it still covers every input sample.
    const double support = factor < 1.0 ? Lobes / factor : Lobes;
    const double stretch = factor < 1.0 ? factor : 1.0;
    Taps t;
    t.count = int(std::ceil(support)) * 2 + 1;
    t.first.resize(size_t(outSize));
    t.weights.assign(size_t(outSize) * size_t(t.count), 0.0f);
    for (int o = 0; o < outSize; ++o) {
        const double centre = (o + 0.5) / factor - 0.5;
        const int first = int(std::floor(centre - support)) + 1;
        t.first[size_t(o)] = first;
        std::vector<double> w(size_t(t.count));
        double sum = 0.0;
        for (int k = 0; k < t.count; ++k) {
            w[size_t(k)] = lanczos((first + k - centre) * stretch);
            sum += w[size_t(k)];
        }
        for (int k = 0; k < t.count; ++k)
            t.weights[size_t(o) * size_t(t.count) + size_t(k)] = float(w[size_t(k)] / sum);
    }
    return t;
}

} // namespace

QImage LanczosResampler::scaled(const QImage& source, double factor)
{
    if (source.isNull() || !(factor > 0.0))
        return QImage();
    const QImage gray =
        source.format() == QImage::Format_Grayscale8 ? source : source.convertToFormat(QImage::Format_Grayscale8);
    const int inW = gray.width();
    const int inH = gray.height();
    const int outW = std::max(1, int(std::lround(inW * factor)));
    const int outH = std::max(1, int(std::lround(inH * factor)));
    const double fx = double(outW) / inW;
    const double fy = double(outH) / inH;
    const Taps horizontal = taps(outW, fx);
    const Taps vertical = taps(outH, fy);

    // Horizontal pass into floats, edges clamped (the border pixel repeats, as screen backgrounds do).
    std::vector<float> rows(size_t(inH) * size_t(outW));
    for (int y = 0; y < inH; ++y) {
        const uchar* in = gray.constScanLine(y);
        float* out = rows.data() + size_t(y) * size_t(outW);
        for (int o = 0; o < outW; ++o) {
            const float* w = horizontal.weights.data() + size_t(o) * size_t(horizontal.count);
            const int first = horizontal.first[size_t(o)];
            float sum = 0.0f;
            for (int k = 0; k < horizontal.count; ++k)
                sum += w[k] * in[std::clamp(first + k, 0, inW - 1)];
            out[o] = sum;
        }
    }

    QImage result(outW, outH, QImage::Format_Grayscale8);
    std::vector<float> acc(static_cast<size_t>(outW));
    for (int o = 0; o < outH; ++o) {
        std::fill(acc.begin(), acc.end(), 0.0f);
        const float* w = vertical.weights.data() + size_t(o) * size_t(vertical.count);
        const int first = vertical.first[size_t(o)];
        for (int k = 0; k < vertical.count; ++k) {
            const float weight = w[k];
            if (weight == 0.0f)
                continue;
            const float* row = rows.data() + size_t(std::clamp(first + k, 0, inH - 1)) * size_t(outW);
            for (int x = 0; x < outW; ++x)
                acc[size_t(x)] += weight * row[x];
        }
        uchar* out = result.scanLine(o);
        for (int x = 0; x < outW; ++x)
            out[x] = uchar(std::clamp(std::lround(acc[size_t(x)]), 0L, 255L));
    }
    return result;
}
