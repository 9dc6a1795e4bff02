// The history store on the main thread: adding a text to a history of 500 entries, and adding a capture with its
// 3840 × 2160 screenshot (how long the main thread is blocked, and how long until the PNG is on disk).
#include "core/history/HistoryManager.h"

#include "core/settings/AppSettings.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/InMemoryDefaultsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

const QString capturedText = QStringLiteral(
    "The committee reviewed the international trade agreement in detail and found that the proposed changes "
    "would affect export quotas for 2024. Grüße aus Köln – café crème.");

// A history as the program keeps it, in a temporary folder next to the executable (on a disk, not in memory).
struct Store {
    Store(int storedEntries, qint64 maxEntries)
    {
        settings.setHistoryMaxEntries(maxEntries);
        settings.setHistoryAutoDeleteDays(0);
        QList<HistoryEntry> entries;
        for (int i = 0; i < storedEntries; ++i) {
            HistoryEntry entry;
            entry.id = QUuid::createUuid();
            entry.text = capturedText;
            entry.timestamp = QDateTime::currentDateTimeUtc().addSecs(-60 * i);
            entry.displayName = QStringLiteral("DP-1");
            entry.screenshotFilename = HistoryEntry::formatId(QUuid::createUuid()) + QStringLiteral(".png");
            entries.append(entry);
        }
        QFile file(dir.path() + QStringLiteral("/history.json"));
        file.open(QIODevice::WriteOnly);
        file.write(HistoryEntry::encodeList(entries));
        file.close();
        history = std::make_unique<HistoryManager>(settings, dir.path());
    }

    QTemporaryDir dir{QCoreApplication::applicationDirPath() + QStringLiteral("/bench-history-XXXXXX")};
    InMemoryDefaultsStore defaults;
    FakeLoginItem loginItem;
    AppSettings settings{defaults, loginItem};
    std::unique_ptr<HistoryManager> history;
};

// Something like a desktop: window chrome, lines of text, a photo-like gradient with noise. A uniform or a
// purely random image would flatter or punish the PNG encoder.
QImage desktopScreenshot()
{
    QImage image(3840, 2160, QImage::Format_RGB32);
    image.fill(QColor(0xF4, 0xF4, 0xF4));
    QPainter painter(&image);
    QRandomGenerator random(7);
    painter.fillRect(0, 0, 3840, 56, QColor(0x2B, 0x2B, 0x30));
    for (int y = 140; y < 2000; y += 34)
        for (int x = 120; x < 1900;) {
            const int word = 20 + int(random.bounded(110));
            painter.fillRect(x, y, word, 18, QColor(0x20, 0x20, 0x20));
            x += word + 12;
        }
    QLinearGradient gradient(2000, 200, 3700, 1900);
    gradient.setColorAt(0, QColor(0x3A, 0x6E, 0xA5));
    gradient.setColorAt(1, QColor(0xE8, 0xA8, 0x60));
    painter.fillRect(2000, 200, 1700, 1700, gradient);
    painter.end();
    for (int y = 200; y < 1900; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 2000; x < 3700; ++x) {
            const int n = int(random.bounded(16));
            line[x] = qRgb(qMin(255, qRed(line[x]) + n), qMin(255, qGreen(line[x]) + n), qMin(255, qBlue(line[x]) + n));
        }
    }
    return image;
}

void BM_AddEntryTo500(benchmark::State& state)
{
    Store store(500, 1000);
    for (auto _ : state) {
        store.history->addEntry(capturedText, QStringLiteral("API Entry"), QImage(), QImage());
        state.PauseTiming();
        store.history->removeEntries(store.history->entries().at(0).id); // back to 500, file rewritten next time
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddEntryTo500)->Unit(benchmark::kMillisecond)->UseRealTime();

// Only the part of a capture's history add that the interface waits for.
void BM_AddCaptureMainThreadBlocked(benchmark::State& state)
{
    Store store(50, 50);
    const QImage screenshot = desktopScreenshot();
    for (auto _ : state) {
        store.history->addEntry(capturedText, QStringLiteral("DP-1"), QImage(), screenshot);
        state.PauseTiming();
        store.history->waitForPendingWrites();
        state.ResumeTiming();
    }
}
// Each iteration also waits (untimed) for the write, so a few iterations are enough.
BENCHMARK(BM_AddCaptureMainThreadBlocked)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

double processCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Until the screenshot is complete on disk under its final name. The CPU time of both threads is reported too:
// on a busy machine the wall time mostly says how much of a core the writer got.
void BM_AddCaptureUntilScreenshotOnDisk(benchmark::State& state)
{
    Store store(50, 50);
    const QImage screenshot = desktopScreenshot();
    qint64 bytes = 0;
    double cpu = 0;
    for (auto _ : state) {
        const double start = processCpuMilliseconds();
        store.history->addEntry(capturedText, QStringLiteral("DP-1"), QImage(), screenshot);
        store.history->waitForPendingWrites();
        cpu += processCpuMilliseconds() - start;
        state.PauseTiming();
        bytes = QFileInfo(store.history->screenshotPath(store.history->entries().at(0))).size();
        state.ResumeTiming();
    }
    state.counters["png_MB"] = double(bytes) / 1e6;
    state.counters["process_cpu_ms"] = cpu / double(state.iterations());
}
BENCHMARK(BM_AddCaptureUntilScreenshotOnDisk)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Every add logs a line; the system log is not what is measured here.
    QLoggingCategory::setFilterRules(QStringLiteral("quillora.*=false"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
