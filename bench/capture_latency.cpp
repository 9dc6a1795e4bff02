// Time from letting go of the mouse button at the end of a selection to the editor showing the recognised text, on
// the real program, warm: a 600 x 100 selection of 14 px text and a 1200 x 600 paragraph. The benchmark shows the
// text itself (DejaVu Sans 14 px, black on white, another application's window as far as Quillora knows), starts
// each capture with `quillora --capture`, drags with XTest and starts the clock right before the button goes up.
// It stops the clock when the region of the editor that shows the first lines holds exactly the pixels it holds
// once the editor has settled (taken in warm-up captures before the timed ones), so the figure includes the
// recognition, the clean-up, closing the overlay, and mapping and painting the editor.
// Run through bench/capture-latency.sh, which starts the virtual desktop and Quillora.
#include "platform/linux/XTestSyntheticInput.h"
#include <QGuiApplication>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QProcess>
#include <QRasterWindow>
#include <QScreen>
#include <QThread>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

namespace {

constexpr quint32 EscapeKeyCode = 53;
const QPoint PageOrigin(100, 100);
constexpr int Padding = 8;
constexpr int WarmUpCaptures = 2;

// A page of running text from a license every Debian system carries: paragraphs joined into lines of their own.
QString licenseText()
{
    QFile file(QStringLiteral("/usr/share/common-licenses/GPL-3"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QString all = QString::fromUtf8(file.readAll());
    const QString body = all.mid(std::max<qsizetype>(0, all.indexOf(QStringLiteral("Preamble"))));
    QStringList paragraphs;
    for (const QString& block : body.split(QStringLiteral("\n\n"), Qt::SkipEmptyParts))
        paragraphs.append(block.simplified());
    return paragraphs.join(u'\n');
}

class TextPage : public QRasterWindow {
public:
    TextPage() { setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint); }

    void setPage(const QString& text, const QSize& size)
    {
        m_text = text;
        setGeometry(QRect(PageOrigin, size));
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(QRect(QPoint(), size()), Qt::white);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(14);
        painter.setFont(font);
        painter.setPen(QColor(0x20, 0x20, 0x20));
        painter.drawText(QRect(QPoint(), size()).adjusted(Padding, Padding, -Padding, -Padding),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_text);
    }

private:
    QString m_text;
};

// Waits with the event loop running: the page must repaint whenever the overlay or the editor uncovers it.
void pump(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        QThread::usleep(500);
    }
}

// Polls every 5 ms: a tight loop of screen grabs keeps the X server and the benchmark busy on a machine of two
// cores, taking them from the program being measured, which reads a selection on both (captures measured 40 %
// slower when polling every millisecond).
bool waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        if (condition())
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::usleep(5000);
    }
    return false;
}

QString visibleWindow(const QString& title)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                              QStringLiteral("--name"), QStringLiteral("^%1$").arg(title)});
    xdotool.waitForFinished(5000);
    return QString::fromUtf8(xdotool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts).value(0);
}

QString activeWindow()
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")});
    xdotool.waitForFinished(5000);
    return QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
}

std::optional<QRect> windowGeometry(const QString& id)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id});
    xdotool.waitForFinished(5000);
    QRect rect;
    for (const QString& line : QString::fromUtf8(xdotool.readAllStandardOutput()).split(u'\n')) {
        const QString value = line.section(u'=', 1);
        if (line.startsWith(QStringLiteral("X=")))
            rect.moveLeft(value.toInt());
        else if (line.startsWith(QStringLiteral("Y=")))
            rect.moveTop(value.toInt());
        else if (line.startsWith(QStringLiteral("WIDTH=")))
            rect.setWidth(value.toInt());
        else if (line.startsWith(QStringLiteral("HEIGHT=")))
            rect.setHeight(value.toInt());
    }
    return rect.isValid() ? std::optional(rect) : std::nullopt;
}

// The CPU time every thread of a process has run so far, from the kernel's scheduler statistics: unlike the wall
// time it does not grow when other work on the machine takes the cores. -1 when the process cannot be read.
qint64 processCpuNs(const QString& pid)
{
    if (pid.isEmpty())
        return -1;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    qint64 total = 0;
    const QStringList threads = QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& thread : threads) {
        QFile stat(tasks + u'/' + thread + QStringLiteral("/schedstat"));
        if (stat.open(QIODevice::ReadOnly))
            total += QString::fromLatin1(stat.readAll()).section(u' ', 0, 0).toLongLong();
    }
    return threads.isEmpty() ? -1 : total;
}

QImage grab(const QRect& region)
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, region.x(), region.y(), region.width(), region.height())
        .toImage();
}

class CaptureDriver {
public:
    explicit CaptureDriver(QString exe)
        : m_exe(std::move(exe))
    {}

    // Starts a capture and drags over the page up to the button's release. False when no overlay came.
    bool selectPage(const QSize& size)
    {
        if (QProcess::execute(m_exe, {QStringLiteral("--capture")}) != 0)
            return false;
        if (!waitUntil([] { return !visibleWindow(QStringLiteral("Quillora Capture")).isEmpty(); }, 5000))
            return false;
        pump(100);
        m_input.movePointer(PageOrigin);
        pump(30);
        m_input.buttonDown(SyntheticInput::MouseButton::Left);
        constexpr int Steps = 10;
        for (int step = 1; step <= Steps; ++step) {
            m_input.movePointer(PageOrigin + QPointF(size.width() * step / Steps, size.height() * step / Steps));
            pump(15);
        }
        // Every repaint of the drag is done before the clock starts.
        pump(150);
        return true;
    }

    void release() { m_input.buttonUp(SyntheticInput::MouseButton::Left); }

    // The editor can be drawn a moment before the window manager hands it the keyboard; an Escape pressed in
    // between would go to the window that had it before, so wait for the editor to be the active window.
    void cancelEditor()
    {
        waitUntil([this] { return activeWindow() == m_editor; }, 2000);
        m_input.keyDown(EscapeKeyCode, 0);
        m_input.keyUp(EscapeKeyCode, 0);
    }

    // Warm-up captures, untimed: they load whatever a first capture loads, and the last one tells where the
    // editor's first lines are and what they look like when shown.
    bool calibrate(const QSize& size, QString* error)
    {
        for (int i = 0; i < WarmUpCaptures; ++i) {
            if (!selectPage(size)) {
                *error = QStringLiteral("the overlay did not appear: is Quillora running?");
                return false;
            }
            release();
            QString& editor = m_editor;
            if (!waitUntil([&] { return !(editor = visibleWindow(QStringLiteral("Captured Text"))).isEmpty(); },
                           120000)) {
                *error = QStringLiteral("the editor did not appear");
                return false;
            }
            pump(1000);
            const std::optional<QRect> geometry = windowGeometry(editor);
            if (!geometry) {
                *error = QStringLiteral("no geometry for the editor");
                return false;
            }
            m_region = QRect(geometry->topLeft(), QSize(geometry->width(), 40));
            m_shown = grab(m_region);
            cancelEditor();
            if (!waitUntil([&] { return grab(m_region) != m_shown; }, 5000)) {
                *error = QStringLiteral("the editor did not close on Escape");
                return false;
            }
            pump(300);
        }
        return true;
    }

    bool editorShown() const { return grab(m_region) == m_shown; }

private:
    QString m_exe;
    XTestSyntheticInput m_input;
    QString m_editor; // X window id of the editor, which the program reuses for every capture
    QRect m_region;
    QImage m_shown;
};

void report(benchmark::State& state, std::vector<double> ms, std::vector<double> cpuMs)
{
    std::sort(ms.begin(), ms.end());
    std::sort(cpuMs.begin(), cpuMs.end());
    if (ms.empty())
        return;
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p90_ms"] = ms[std::min(ms.size() - 1, ms.size() * 9 / 10)];
    state.counters["max_ms"] = ms.back();
    if (!cpuMs.empty())
        state.counters["quillora_cpu_median_ms"] = cpuMs[cpuMs.size() / 2];
}

void BM_MouseUpToEditor(benchmark::State& state, TextPage* page)
{
    const QSize size(int(state.range(0)), int(state.range(1)));
    const QString exe = qEnvironmentVariable("QUILLORA_EXE");
    if (exe.isEmpty()) {
        state.SkipWithError("QUILLORA_EXE names no program");
        return;
    }
    page->setPage(licenseText(), size);
    page->show();
    pump(300);

    CaptureDriver driver(exe);
    QString error;
    if (!driver.calibrate(size, &error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    // Set by bench/capture-latency.sh: the program's CPU time per capture is reported beside the wall time.
    const QString pid = qEnvironmentVariable("QUILLORA_PID");
    std::vector<double> samples;
    std::vector<double> cpuSamples;
    for (auto _ : state) {
        state.PauseTiming();
        const bool selecting = driver.selectPage(size);
        state.ResumeTiming();
        if (!selecting) {
            state.SkipWithError("the overlay did not appear");
            break;
        }
        const qint64 cpuBefore = processCpuNs(pid);
        QElapsedTimer clock;
        clock.start();
        driver.release();
        if (!waitUntil([&] { return driver.editorShown(); }, 120000)) {
            state.SkipWithError("the editor did not show the text seen in the warm-up");
            break;
        }
        const qint64 elapsed = clock.nsecsElapsed();
        const qint64 cpuAfter = processCpuNs(pid);
        state.SetIterationTime(double(elapsed) / 1e9);
        samples.push_back(double(elapsed) / 1e6);
        if (cpuBefore >= 0 && cpuAfter >= cpuBefore)
            cpuSamples.push_back(double(cpuAfter - cpuBefore) / 1e6);

        state.PauseTiming();
        driver.cancelEditor();
        if (!waitUntil([&] { return !driver.editorShown(); }, 5000)) {
            // Timing stays paused: the library forbids resuming it once an error is reported.
            state.SkipWithError("the editor did not close on Escape");
            break;
        }
        pump(300);
        state.ResumeTiming();
    }
    report(state, samples, cpuSamples);
}

void registerBenchmarks(TextPage* page)
{
    benchmark::RegisterBenchmark("BM_MouseUpToEditor", BM_MouseUpToEditor, page)
        ->ArgNames({"width", "height"})
        ->Args({600, 100})
        ->Args({1200, 600})
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(15);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    TextPage page;
    benchmark::Initialize(&argc, argv);
    registerBenchmarks(&page);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
