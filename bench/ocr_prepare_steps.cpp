// Recognises a set of images with one combination of preparation steps and engine settings, writing one
// <id>.txt per image and timing.tsv (warm CPU and wall milliseconds per image) into an output folder, so that
// bench/ocr_bench.py can score what each step buys.
//
//   ocr_prepare_steps OUT_DIR IMAGE... [--psm N] [--no-invert] [--no-panels] [--no-trim] [--margin N]
//       [--upscale F] [--filter lanczos|bilinear|nearest] [--upscale-below PX] [--line-retry] [--columns-only]
//       [--dpi N] [--lang deu+eng] [--engines N] [--bands N] [--band-psm N] [--set tesseract_variable=value]...
#include "platform/linux/TesseractTextRecognizer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTextStream>

#include <cstdio>
#include <ctime>

namespace {

// Time spent by the process (the calling thread and the recogniser's helper), so that figures stay comparable
// while other programs load the machine; the wall time beside it shows what sharing a crop's bands saves.
double msOf(clockid_t clock)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    TesseractTextRecognizer::Tuning tuning;
    QStringList languages = {QStringLiteral("deu"), QStringLiteral("eng")};
    QStringList images;
    QString outDir;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto next = [&] { return i + 1 < args.size() ? args[++i] : QString(); };
        if (a == QLatin1String("--psm"))
            tuning.pageSegMode = next().toInt();
        else if (a == QLatin1String("--band-psm"))
            tuning.bandPageSegMode = next().toInt();
        else if (a == QLatin1String("--no-invert"))
            tuning.steps.invertDark = false;
        else if (a == QLatin1String("--no-panels"))
            tuning.steps.recolourDarkPanels = false;
        else if (a == QLatin1String("--no-trim"))
            tuning.steps.trimBorders = false;
        else if (a == QLatin1String("--margin"))
            tuning.steps.margin = next().toInt();
        else if (a == QLatin1String("--upscale"))
            tuning.steps.upscale = next().toDouble();
        else if (a == QLatin1String("--upscale-below"))
            tuning.steps.upscaleBelowLineHeight = next().toInt();
        else if (a == QLatin1String("--line-retry"))
            tuning.retryInvertedLines = true;
        else if (a == QLatin1String("--columns-only"))
            tuning.readTablesAcross = false;
        else if (a == QLatin1String("--dpi"))
            tuning.sourceResolution = next().toInt();
        else if (a == QLatin1String("--engines"))
            tuning.engines = next().toInt();
        else if (a == QLatin1String("--bands"))
            tuning.bands = next().toInt();
        else if (a == QLatin1String("--set"))
            tuning.variables.append(next());
        else if (a == QLatin1String("--lang"))
            languages = next().split(QLatin1Char('+'));
        else if (a == QLatin1String("--filter")) {
            const QString f = next();
            tuning.steps.filter = f == QLatin1String("lanczos")   ? ScreenTextPreparer::Filter::Lanczos
                                  : f == QLatin1String("nearest") ? ScreenTextPreparer::Filter::Nearest
                                                                  : ScreenTextPreparer::Filter::Bilinear;
        } else if (outDir.isEmpty())
            outDir = a;
        else
            images.append(a);
    }
    if (outDir.isEmpty() || images.isEmpty()) {
        std::fprintf(stderr, "usage: ocr_prepare_steps OUT_DIR IMAGE... [options]\n");
        return 2;
    }
    QDir().mkpath(outDir);
    TesseractTextRecognizer recognizer(TesseractTextRecognizer::defaultDataPath(), languages, tuning);
    QString error;
    if (!recognizer.warmUp(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QFile timing(outDir + QStringLiteral("/timing.tsv"));
    if (!timing.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    QTextStream timingOut(&timing);
    for (const QString& path : std::as_const(images)) {
        const QImage image(path);
        const double started = msOf(CLOCK_PROCESS_CPUTIME_ID);
        const double startedWall = msOf(CLOCK_MONOTONIC);
        const QString text = recognizer.recognize(image, &error);
        const double ms = msOf(CLOCK_PROCESS_CPUTIME_ID) - started;
        const double wallMs = msOf(CLOCK_MONOTONIC) - startedWall;
        const QString id = QFileInfo(path).completeBaseName();
        QFile out(outDir + QLatin1Char('/') + id + QStringLiteral(".txt"));
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            out.write(text.toUtf8() + '\n');
        timingOut << id << '\t' << QString::number(ms, 'f', 1) << '\t' << QString::number(wallMs, 'f', 1) << '\n';
    }
    return 0;
}
