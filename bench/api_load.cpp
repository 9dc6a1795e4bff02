// Load on the HTTP server: 10,000 sequential GET /status and 10,000 GET /history (500 entries), each on a new
// connection, from a second process (api_load_client). The server runs here with real stores, and this main
// thread plays the interface thread: a 5 ms timer measures how late its event loop gets while the load runs.
//
// Counters: req_per_s, p50_us and p99_us (client-side, per request from connect to the end of the answer),
// failed (must be 0), server_cpu_us_per_req (CPU time of the server's thread per request), ui_lag_p99_ms and
// ui_lag_max_ms (how late the main thread's 5 ms timer fired). BM_IdleBaseline3s gives the lag with no load, for
// comparison: the machine's own scheduling noise.
#include "core/api/HTTPAPIServer.h"
#include "core/api/HTTPAPIServerDelegate.h"
#include "core/history/HistoryManager.h"
#include "core/settings/AppSettings.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/InMemoryDefaultsStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QLoggingCategory>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <vector>

namespace {

constexpr int Requests = 10000;
constexpr int TickMs = 5;

// The application side: answers the sidebar question the status route asks on the main thread.
class IdleDelegate : public QObject, public HTTPAPIServerDelegate {
public:
    void requestCapture() override {}
    bool isSidebarVisible() override { return false; }
    void showHistorySidebar() override {}
    void hideHistorySidebar() override {}
    std::optional<QByteArray> sidebarScreenshotPNG() override { return std::nullopt; }
    nlohmann::json appWindowList() override { return nlohmann::json::array(); }
    std::optional<QByteArray> appWindowsScreenshotPNG() override { return std::nullopt; }
    std::optional<QByteArray> overlayScreenshotPNG() override { return std::nullopt; }
    void openPreferences(const std::optional<QString>&) override {}
    void openAboutWindow() override {}
    void openOnboardingWindow() override {}
    void quitApplication() override {}
};

struct LoadFigures {
    QMap<QString, double> client;
    std::vector<double> lagMs;
    double serverCpuSeconds = 0; // the whole process but this thread: the server thread, in practice
};

double cpuSeconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

LoadFigures runLoad(const QString& path, int historyEntries)
{
    QLoggingCategory::setFilterRules(QStringLiteral("quillora.*=false"));
    QTemporaryDir folder;
    InMemoryDefaultsStore defaults;
    FakeLoginItem loginItem;
    AppSettings settings(defaults, loginItem);
    settings.setHistoryMaxEntries(historyEntries + 1);
    HistoryManager history(settings, folder.path());
    for (int i = 0; i < historyEntries; ++i)
        history.addEntry(QStringLiteral("Captured text number %1, a line of ordinary length.").arg(i),
                         QStringLiteral("Monitor %1").arg(i % 2), QImage(), QImage());

    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    IdleDelegate delegate;
    HTTPAPIServer server(settings, history);
    server.setDelegate(&delegate);
    server.start(port);

    LoadFigures figures;
    QElapsedTimer sinceTick;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        figures.lagMs.push_back(std::max(0.0, sinceTick.nsecsElapsed() / 1e6 - TickMs));
        sinceTick.restart();
    });
    const double processBefore = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const double threadBefore = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    QProcess client;
    QEventLoop untilDone;
    QObject::connect(&client, &QProcess::finished, &untilDone, &QEventLoop::quit);
    QObject::connect(&client, &QProcess::errorOccurred, &untilDone, &QEventLoop::quit);
    sinceTick.start();
    tick.start(TickMs);
    if (path.isEmpty()) {
        // The baseline: the same timer with no load at all.
        QTimer::singleShot(3000, &untilDone, &QEventLoop::quit);
        untilDone.exec();
    } else {
        client.start(QCoreApplication::applicationDirPath() + QStringLiteral("/api_load_client"),
                     {QString::number(port), path, QString::number(Requests)});
        if (client.waitForStarted())
            untilDone.exec();
    }
    tick.stop();
    figures.serverCpuSeconds =
        (cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processBefore) - (cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - threadBefore);
    server.stop();
    QLoggingCategory::setFilterRules(QString());

    for (const QByteArray& pair : client.readAllStandardOutput().trimmed().split(' ')) {
        const QList<QByteArray> parts = pair.split('=');
        if (parts.size() == 2)
            figures.client[QString::fromLatin1(parts[0])] = parts[1].toDouble();
    }
    if (figures.client.isEmpty() && !path.isEmpty())
        figures.client[QStringLiteral("failed")] = Requests;
    return figures;
}

void report(benchmark::State& state, const LoadFigures& figures)
{
    std::vector<double> lag = figures.lagMs;
    std::sort(lag.begin(), lag.end());
    const auto c = figures.client;
    state.SetIterationTime(std::max(1e-9, c.value(QStringLiteral("seconds"))));
    state.counters["server_cpu_us_per_req"] =
        1e6 * figures.serverCpuSeconds / std::max(1.0, c.value(QStringLiteral("requests")));
    state.counters["req_per_s"] =
        c.value(QStringLiteral("requests")) / std::max(1e-9, c.value(QStringLiteral("seconds")));
    state.counters["p50_us"] = c.value(QStringLiteral("p50_us"));
    state.counters["p99_us"] = c.value(QStringLiteral("p99_us"));
    state.counters["failed"] = c.value(QStringLiteral("failed"));
    state.counters["ui_lag_p99_ms"] = lag.empty() ? 0 : lag[size_t(0.99 * double(lag.size() - 1))];
    state.counters["ui_lag_max_ms"] = lag.empty() ? 0 : lag.back();
    if (c.value(QStringLiteral("failed")) > 0)
        state.SkipWithError("some requests failed");
}

void BM_IdleBaseline3s(benchmark::State& state)
{
    for (auto _ : state)
        report(state, runLoad(QString(), 0));
}

void BM_Status10k(benchmark::State& state)
{
    for (auto _ : state)
        report(state, runLoad(QStringLiteral("/status"), 0));
}

void BM_History500Entries10k(benchmark::State& state)
{
    for (auto _ : state)
        report(state, runLoad(QStringLiteral("/history"), 500));
}

} // namespace

BENCHMARK(BM_IdleBaseline3s)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Status10k)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_History500Entries10k)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
