// The overlay windows on a real X server with two monitors side by side (LEFT and RIGHT, 1920 × 1080 each)
// and another application's full-screen window on LEFT that has the keyboard focus.
#include "TestStores.h"
#include "core/capture/CaptureSessionController.h"
#include "core/capture/ClipboardService.h"
#include "core/capture/LiveTextRecognitionService.h"
#include "core/capture/ScreenCaptureService.h"
#include "core/capture/ScreenshotOverlayViewDelegate.h"
#include "core/capture/SelectionView.h"
#include "platform/fake/FakeDisplayCapture.h"
#include "platform/fake/FakePasteboard.h"
#include "platform/fake/FakeTextRecognizer.h"
#include "widgets/capture/OverlayManager.h"
#include "widgets/capture/ScreenshotWindow.h"

#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QWindow>
#include <QtCore/qtestsupport_core.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class RecordingDelegate : public QObject, public ScreenshotOverlayViewDelegate {
public:
    void overlayViewDidFinishSelection(SelectionView*, const QRectF&) override {}
    void overlayViewDidCancel(SelectionView* view) override { cancelledBy.append(view); }
    QList<SelectionView*> cancelledBy;
};

void run(const QString& command)
{
    QStringList arguments = QProcess::splitCommand(command);
    QProcess process;
    process.start(arguments.takeFirst(), arguments);
    process.waitForFinished(5000);
}

// Qt's application header declares X11's Monitor, which clashes with ours; the monitors are reached through
// a window instead.
QList<QScreen*> monitors()
{
    QWindow probe;
    QList<QScreen*> screens = probe.screen()->virtualSiblings();
    std::sort(screens.begin(), screens.end(),
              [](QScreen* a, QScreen* b) { return a->geometry().x() < b->geometry().x(); });
    return screens;
}

// Each monitor's frozen image, filled with one colour for the left monitor and another for the right.
CapturedImages monitorImages(const QColor& left, const QColor& right)
{
    CapturedImages images;
    for (QScreen* screen : monitors()) {
        QImage image(screen->geometry().size() * screen->devicePixelRatio(), QImage::Format_RGB32);
        image.fill(screen->geometry().x() == 0 ? left : right);
        images.append(
            {Monitor{quint32(images.size() + 1), screen->name(), screen->geometry(), screen->devicePixelRatio()},
             image});
    }
    return images;
}

// The pixels of a region of the desktop as the X server shows them.
QImage screenRegion(const QRect& region)
{
    return monitors().front()->grabWindow(0, region.x(), region.y(), region.width(), region.height()).toImage();
}

// What the screen shows at a point of the desktop, as "#rrggbb".
QString screenColour(QPoint point)
{
    return screenRegion({point, QSize(1, 1)}).pixelColor(0, 0).name();
}

// Pixels of the region far darker than the frozen green under the selection: the indicator's pill.
int pillPixels(const QImage& region)
{
    int count = 0;
    for (int y = 0; y < region.height(); ++y)
        for (int x = 0; x < region.width(); ++x)
            count += QColor(region.pixel(x, y)).green() < 70 ? 1 : 0;
    return count;
}

} // namespace

TEST(OverlayManagerX11, EachMonitorIsCoveredAndTheKeyboardHeldWhileShown)
{
    ASSERT_EQ(monitors().size(), 2) << "run under scripts/virtual-desktop.sh --monitors 2";
    QProcess helper;
    QString helperOutput;
    const auto helperSaid = [&](const QString& text) {
        helperOutput += QString::fromUtf8(helper.readAllStandardOutput());
        return helperOutput.contains(text);
    };
    helper.start(qEnvironmentVariable("QUILLORA_FULLSCREEN_HELPER"), {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return helperSaid(QStringLiteral("ready")); }, 10000));
    // The window manager has made it full-screen and focused it once its colour fills LEFT.
    ASSERT_TRUE(QTest::qWaitFor([] { return screenColour({960, 540}) == QStringLiteral("#ff00ff"); }, 10000));

    const QString colourLeft = QStringLiteral("#00a000");
    const QString colourRight = QStringLiteral("#0000c8");
    CapturedImages images = monitorImages(QColor(colourLeft), QColor(colourRight));
    TestSettings s;
    OverlayManager manager{s.settings};
    RecordingDelegate delegate;

    manager.showOverlay(images, false);
    for (SelectionView* view : manager.overlayViews())
        view->setDelegate(&delegate);
    ASSERT_TRUE(QTest::qWaitFor([&] { return screenColour({960, 540}) == colourLeft; }, 5000));

    // Each monitor shows its own frozen image from corner to corner, over the full-screen window too.
    for (QPoint corner : {QPoint(0, 0), QPoint(1919, 1079)})
        EXPECT_EQ(screenColour(corner), colourLeft);
    for (QPoint corner : {QPoint(1920, 0), QPoint(3839, 1079)})
        EXPECT_EQ(screenColour(corner), colourRight);

    // Even when the full-screen application takes the focus back, no key reaches it while the overlay is up;
    // Escape, and no other key, goes to the overlay.
    QString helperWindow = QRegularExpression(QStringLiteral("ready (\\d+)")).match(helperOutput).captured(1);
    run(QStringLiteral("xdotool windowfocus --sync ") + helperWindow);
    run(QStringLiteral("xdotool key a Return"));
    QTest::qWait(200);
    EXPECT_TRUE(delegate.cancelledBy.isEmpty());
    run(QStringLiteral("xdotool key Escape"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return delegate.cancelledBy.size() == 1; }, 3000));

    const auto nativeWindows = [&] {
        QList<WId> ids;
        for (ScreenshotWindow* window : manager.windows())
            ids.append(window->winId());
        std::sort(ids.begin(), ids.end());
        return ids;
    };
    const QList<WId> firstWindows = nativeWindows();
    manager.hideOverlay();
    EXPECT_TRUE(QTest::qWaitFor([] { return screenColour({960, 540}) == QStringLiteral("#ff00ff"); }, 5000));
    run(QStringLiteral("xdotool key b"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return helperSaid(QStringLiteral("key b")); }, 3000));
    EXPECT_FALSE(helperOutput.contains(QStringLiteral("key a")));

    // The next capture on the same monitors shows in the same windows, each with its new frozen image.
    const QString colourNext = QStringLiteral("#c0c000");
    for (CapturedDisplay& captured : images)
        captured.image.fill(QColor(colourNext));
    manager.showOverlay(images, false);
    EXPECT_EQ(nativeWindows(), firstWindows);
    ASSERT_TRUE(QTest::qWaitFor([&] { return screenColour({960, 540}) == colourNext; }, 5000));
    EXPECT_EQ(screenColour({3839, 1079}), colourNext);
    helper.kill();
    helper.waitForFinished();
}

// A slow recognition: after a moment the overlay shows an animated reading indicator over the selection, and
// Escape during it ends the capture, so that the late result copies nothing. Without Escape it is copied.
TEST(OverlayManagerX11, ASlowReadShowsTheIndicatorAndEscapeDropsItsResult)
{
    ASSERT_EQ(monitors().size(), 2) << "run under scripts/virtual-desktop.sh --monitors 2";
    const QColor green(0, 160, 0);
    FakeDisplayCapture displays;
    for (const CapturedDisplay& captured : monitorImages(green, green))
        displays.addDisplay(captured.display, captured.image);
    TestStores s;
    ScreenCaptureService screenCapture{displays};
    OverlayManager overlays{s.settings};
    FakeTextRecognizer engine;
    engine.setText(QStringLiteral("read at last"));
    LiveTextRecognitionService recognition{engine};
    FakePasteboard pasteboard;
    ClipboardService clipboard{pasteboard, s.settings};
    // No editor: a result is copied at once, so the clipboard shows whether it was dropped.
    CaptureSessionController controller{s.settings, screenCapture, overlays, recognition, clipboard, s.history};

    const QRect selection(400, 300, 400, 200);
    const QRect middle(selection.center() - QPoint(70, 15), QSize(140, 30));
    const auto captureAndSelect = [&] {
        controller.startCapture(false);
        ASSERT_TRUE(QTest::qWaitFor([&] { return screenColour(selection.center()) == green.name(); }, 5000));
        run(QStringLiteral("xdotool mousemove %1 %2 mousedown 1 mousemove %3 %4 mousemove %5 %6 mouseup 1")
                .arg(selection.left())
                .arg(selection.top())
                .arg(selection.center().x())
                .arg(selection.center().y())
                .arg(selection.right() + 1)
                .arg(selection.bottom() + 1));
    };

    engine.hold();
    captureAndSelect();
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.started() == 1; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pillPixels(screenRegion(middle)) > 100; }, 3000))
        << "no reading indicator over the selection";
    // Animated: the same region shows other pixels a moment later.
    const QImage frame = screenRegion(middle);
    EXPECT_TRUE(QTest::qWaitFor([&] { return screenRegion(middle) != frame; }, 2000));

    run(QStringLiteral("xdotool key Escape"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return overlays.overlayViews().isEmpty(); }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return screenColour(selection.center()) != green.name(); }, 3000));
    engine.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.finished() == 1; }, 5000));
    recognition.waitForDone();
    QTest::qWait(200);
    EXPECT_TRUE(pasteboard.writes.isEmpty());
    EXPECT_TRUE(s.history.entries().isEmpty());

    engine.hold();
    captureAndSelect();
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.started() == 2; }, 5000));
    engine.release();
    EXPECT_TRUE(QTest::qWaitFor([&] { return pasteboard.writes == QStringList{QStringLiteral("read at last")}; }));
    EXPECT_TRUE(overlays.overlayViews().isEmpty());
}
