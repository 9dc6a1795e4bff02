// Warm recognition of screen text with the program's recogniser (preparation included): a 600 x 100 selection
// of three 14 px lines, the everyday capture, and a 1200 x 600 paragraph. Both run on a worker thread whose
// engines are already initialised, as captures after the first do; each with one engine and with two engines
// sharing the crop's bands, side by side (--benchmark_enable_random_interleaving alternates them). CPU time is
// the whole process's, the helper thread included. Engine initialisation and preparation alone are measured
// too, to show what keeping engines warm saves.
#include "core/recognition/ScreenTextPreparer.h"
#include "platform/linux/TesseractTextRecognizer.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QString Prose = QStringLiteral(
    "The committee reviewed the international trade agreement in detail and found that the proposed changes "
    "would affect export quotas for the coming year. Die Änderungen betreffen vor allem kleinere Betriebe, "
    "deren Ausfuhren über mehrere Grenzen gehen. Members asked for a summary of the figures before the vote, "
    "and the secretary promised to circulate one within a week. Größere Unternehmen äußerten sich zufrieden.");

// Text as a browser draws it, 14 px DejaVu Sans, dark on light, wrapped to the width: `lines` lines 25 px
// apart, or as many as fit when 0.
QImage screenText(QSize size, int lines)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(250, 250, 250));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor(30, 30, 30));
    QString text;
    while (text.size() < 6000)
        text += Prose + QLatin1Char(' ');
    const QRect area(QPoint(8, 8), size - QSize(16, 16));
    if (lines == 0) {
        painter.drawText(area, Qt::TextWordWrap, text);
        return image;
    }
    const QFontMetrics metrics(font);
    qsizetype start = 0;
    for (int i = 0; i < lines; ++i) {
        qsizetype end = start;
        // Whole words up to the width, as the browser breaks them.
        for (qsizetype next = text.indexOf(QLatin1Char(' '), end + 1);
             next > 0 && metrics.horizontalAdvance(text.mid(start, next - start)) <= area.width();
             next = text.indexOf(QLatin1Char(' '), next + 1))
            end = next;
        painter.drawText(QPointF(area.left(), area.top() + 18 + 25 * i), text.mid(start, end - start));
        start = end + 1;
    }
    return image;
}

std::unique_ptr<TesseractTextRecognizer> withEngines(int engines)
{
    TesseractTextRecognizer::Tuning tuning;
    tuning.engines = engines;
    return std::make_unique<TesseractTextRecognizer>(TesseractTextRecognizer::defaultDataPath(),
                                                     QStringList{QStringLiteral("deu"), QStringLiteral("eng")}, tuning);
}

TesseractTextRecognizer& recognizer(int engines)
{
    static const std::unique_ptr<TesseractTextRecognizer> one = withEngines(1);
    static const std::unique_ptr<TesseractTextRecognizer> two = withEngines(2);
    return engines == 1 ? *one : *two;
}

void BM_RecognizeWarm(benchmark::State& state)
{
    const QImage image = screenText(QSize(int(state.range(0)), int(state.range(1))), int(state.range(2)));
    TesseractTextRecognizer& warm = recognizer(int(state.range(3)));
    QString error;
    warm.warmUp(&error);
    qsizetype characters = 0;
    for (auto _ : state) {
        const QString text = warm.recognize(image, &error);
        characters = text.size();
        benchmark::DoNotOptimize(text);
    }
    if (!error.isEmpty())
        state.SkipWithError(error.toUtf8().constData());
    state.counters["chars"] = double(characters);
}
BENCHMARK(BM_RecognizeWarm)
    ->ArgNames({"width", "height", "lines", "engines"})
    ->ArgsProduct({{600}, {100}, {3}, {1, 2}})
    ->ArgsProduct({{1200}, {600}, {0}, {1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

void BM_PrepareOnly(benchmark::State& state)
{
    const QImage image = screenText(QSize(int(state.range(0)), int(state.range(1))), int(state.range(2)));
    const ScreenTextPreparer preparer;
    for (auto _ : state)
        benchmark::DoNotOptimize(preparer.prepare(image));
}
BENCHMARK(BM_PrepareOnly)->Args({600, 100, 3})->Args({1200, 600, 0})->Unit(benchmark::kMillisecond);

// What every capture would pay without warm engines: a new engine for the German and English models.
void BM_EngineInitialisation(benchmark::State& state)
{
    for (auto _ : state) {
        const std::unique_ptr<TesseractTextRecognizer> fresh = withEngines(1);
        QString error;
        if (!fresh->warmUp(&error))
            state.SkipWithError(error.toUtf8().constData());
    }
}
BENCHMARK(BM_EngineInitialisation)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    // Fonts for the rendered text, without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
