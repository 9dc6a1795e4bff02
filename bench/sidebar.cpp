// The history sidebar. The pointer handler runs for every movement anywhere on the desktop: its CPU time per
// movement and the allocations it makes (none expected) in the four situations it meets. And the time from a show
// request to the panel's first pixels on the screen with 500 entries in the history, for the first show (the panel
// is made then) and for later ones; this part needs a desktop (QT_QPA_PLATFORM=xcb, as bench.sh runs it in a virtual
// one) and is skipped without.
#include "core/capture/ClipboardService.h"
#include "core/history/HistoryManager.h"
#include "core/settings/AppSettings.h"
#include "core/sidebar/HistorySidebarController.h"
#include "core/sidebar/SidebarPanel.h"
#include "core/support/SystemClock.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/FakePasteboard.h"
#include "platform/fake/InMemoryDefaultsStore.h"
#include "widgets/shell/Localization.h"
#include "widgets/sidebar/HistorySidebarWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QLoggingCategory>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <ctime>
#include <new>
#include <vector>

// Every allocation of the process is counted; the handler's share is the difference over its loop.
namespace {
std::atomic<long long> allocations{0};
}

void* operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

// Hands the controller's handler to the benchmark, which calls it as the X11 monitor would.
class DirectPointer : public PointerMonitor {
public:
    bool start(Handler h) override
    {
        handler = std::move(h);
        return true;
    }
    void stop() override { handler = nullptr; }
    QPointF position() const override { return {}; }
    Handler handler;
};

class NullPanel : public SidebarPanel {
public:
    void slideIn(const QRectF&, const QRectF&, int) override {}
    void slideOut(const QRectF&, int) override {}
    std::optional<QByteArray> renderPNG() override { return std::nullopt; }
};

enum Situation { HiddenMoving, HiddenPushingAtEdge, ShownOutside, ShownInside };

// One movement report per iteration, against the primary screen as Qt reports it.
void BM_MotionHandler(benchmark::State& state)
{
    const auto situation = Situation(state.range(0));
    DirectPointer pointer;
    SystemClock clock;
    HistorySidebarController controller(&pointer, clock,
                                        [](HistorySidebarWindowDelegate&) { return std::make_unique<NullPanel>(); });
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    if (situation == ShownOutside || situation == ShownInside)
        controller.showSidebar();
    PointerMonitor::Motion motion;
    switch (situation) {
    case HiddenMoving:
    case ShownOutside:
        motion.position = QPointF(screen.center());
        break;
    case HiddenPushingAtEdge:
        motion.position = QPointF(screen.right(), screen.center().y());
        break;
    case ShownInside:
        motion.position = QPointF(screen.right() - 150, screen.center().y());
        break;
    }
    const long long before = allocations.load();
    qreal delta = 1;
    for (auto _ : state) {
        // Pushing out and back at the edge never reaches the threshold, so the state stays the same.
        motion.deltaX = delta;
        delta = -delta;
        pointer.handler(motion);
        benchmark::ClobberMemory();
    }
    state.counters["allocations_per_event"] =
        benchmark::Counter(double(allocations.load() - before) / double(state.iterations()));
    if (controller.isVisible() != (situation == ShownOutside || situation == ShownInside))
        state.SkipWithError("the situation changed during the run");
}
BENCHMARK(BM_MotionHandler)
    ->ArgName("situation")
    ->Arg(HiddenMoving)
    ->Arg(HiddenPushingAtEdge)
    ->Arg(ShownOutside)
    ->Arg(ShownInside);

// A history of 500 entries as the program keeps it; every third with a screenshot name.
struct History500 {
    History500()
    {
        QList<HistoryEntry> entries;
        for (int i = 0; i < 500; ++i) {
            HistoryEntry entry;
            entry.id = QUuid::createUuid();
            entry.text = QStringLiteral("Capture %1: the committee reviewed the trade agreement in detail and found "
                                        "that the proposed changes\nwould affect export quotas")
                             .arg(i);
            entry.timestamp = QDateTime::currentDateTimeUtc().addSecs(-600 * i);
            if (i % 3 == 0)
                entry.screenshotFilename = HistoryEntry::formatId(QUuid::createUuid()) + QStringLiteral(".png");
            entries.append(entry);
        }
        QFile file(dir.path() + QStringLiteral("/history.json"));
        file.open(QIODevice::WriteOnly);
        file.write(HistoryEntry::encodeList(entries));
        file.close();
        settings.setHistoryMaxEntries(1000);
        history = std::make_unique<HistoryManager>(settings, dir.path());
    }

    QTemporaryDir dir;
    InMemoryDefaultsStore defaults;
    FakeLoginItem loginItem;
    AppSettings settings{defaults, loginItem};
    std::unique_ptr<HistoryManager> history;
    FakePasteboard pasteboard;
    ClipboardService clipboard{pasteboard};
};

QRgb pixelAt(const QPoint& point)
{
    return QGuiApplication::primaryScreen()->grabWindow(0, point.x(), point.y(), 1, 1).toImage().pixel(0, 0);
}

// Milliseconds from showSidebar() to the panel's colour at the screen's right edge, read back from the X server;
// the CPU time of showSidebar() itself (the work done before the slide starts) goes into a counter.
void BM_ShowToFirstPixels(benchmark::State& state)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        state.SkipWithError("needs a desktop: run with QT_QPA_PLATFORM=xcb on an X server");
        return;
    }
    const bool firstShow = state.range(0) == 1;
    History500 store;
    SystemClock clock;
    const auto makePanel = [&](HistorySidebarWindowDelegate& delegate) {
        return std::make_unique<HistorySidebarWindow>(*store.history, store.clipboard, delegate);
    };
    std::unique_ptr<HistorySidebarController> controller;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint probe(screen.right(), screen.center().y());
    const QRgb desktop = pixelAt(probe);
    std::vector<double> showCpuMs;
    std::vector<double> pixelsMs;
    for (auto _ : state) {
        if (firstShow || !controller)
            controller = std::make_unique<HistorySidebarController>(nullptr, clock, makePanel);
        QElapsedTimer wall;
        const std::clock_t cpuBefore = std::clock();
        wall.start();
        controller->showSidebar();
        showCpuMs.push_back(double(std::clock() - cpuBefore) * 1000.0 / CLOCKS_PER_SEC);
        qint64 elapsedNs = -1;
        while (wall.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            if (pixelAt(probe) != desktop) {
                elapsedNs = wall.nsecsElapsed();
                break;
            }
        }
        if (elapsedNs < 0) {
            state.SkipWithError("the panel did not reach the screen within 5 s");
            return;
        }
        state.SetIterationTime(double(elapsedNs) / 1e9);
        pixelsMs.push_back(double(elapsedNs) / 1e6);
        // Off the screen again before the next round.
        controller->hideSidebar();
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 400)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (firstShow)
            controller.reset();
    }
    std::sort(showCpuMs.begin(), showCpuMs.end());
    std::sort(pixelsMs.begin(), pixelsMs.end());
    state.counters["showSidebar_cpu_ms_median"] = showCpuMs[showCpuMs.size() / 2];
    state.counters["median_ms"] = pixelsMs[pixelsMs.size() / 2];
    state.counters["p90_ms"] = pixelsMs[std::min(pixelsMs.size() - 1, pixelsMs.size() * 9 / 10)];
    state.counters["max_ms"] = pixelsMs.back();
}
BENCHMARK(BM_ShowToFirstPixels)
    ->ArgName("first_show")
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

struct NoRequests : HistorySidebarWindowDelegate {
    void sidebarDidRequestCapture() override {}
    void sidebarDidRequestClose() override {}
};

// Scrolling the list of 500 entries by a third of a row and painting what the list shows then, as one frame of a
// scroll: the time a frame takes on the interface thread.
void BM_ScrollFrame(benchmark::State& state)
{
    History500 store;
    NoRequests delegate;
    HistorySidebarWindow panel(*store.history, store.clipboard, delegate);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    panel.slideIn(QRectF(area.right() + 1, area.top(), 300, area.height()),
                  QRectF(area.right() + 1 - 300, area.top(), 300, area.height()), 0);
    QCoreApplication::processEvents();
    QScrollBar* bar = panel.listView()->verticalScrollBar();
    int step = 20;
    for (auto _ : state) {
        if (bar->value() + step > bar->maximum() || bar->value() + step < 0)
            step = -step;
        bar->setValue(bar->value() + step);
        panel.listView()->viewport()->repaint();
    }
    state.counters["rows_shown"] = double(panel.listView()->viewport()->height()) / HistoryEntryCellView::RowHeight;
}
BENCHMARK(BM_ScrollFrame)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    // The handler's part needs screens only; without a desktop they come from the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("quillora.*=false"));
    Localization::install(app, QLocale(QStringLiteral("en_US")));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
