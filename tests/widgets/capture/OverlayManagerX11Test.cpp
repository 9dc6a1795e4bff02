// The overlay windows on a real X server with two monitors side by side (LEFT and RIGHT, 1920 × 1080 each)
// and another application's full-screen window on LEFT that has the keyboard focus.
#include "core/capture/ScreenshotOverlayViewDelegate.h"
#include "core/capture/SelectionView.h"
#include "core/settings/AppSettings.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/InMemoryDefaultsStore.h"
#include "widgets/capture/OverlayManager.h"
#include "widgets/capture/ScreenshotOverlayView.h"
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

// What the screen shows at a point of the desktop, read back from the X server, as "#rrggbb".
QString screenColour(QPoint point)
{
    return monitors().front()->grabWindow(0, point.x(), point.y(), 1, 1).toImage().pixelColor(0, 0).name();
}

} // namespace

TEST(OverlayManagerX11, EachMonitorIsCoveredAndTheKeyboardHeldWhileShown)
{
    const QList<QScreen*> screens = monitors();
    ASSERT_EQ(screens.size(), 2) << "run under scripts/virtual-desktop.sh --monitors 2";
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
    CapturedImages images;
    for (QScreen* screen : screens) {
        QImage image(screen->geometry().size() * screen->devicePixelRatio(), QImage::Format_RGB32);
        image.fill(QColor(screen->geometry().x() == 0 ? colourLeft : colourRight));
        images.append(
            {Monitor{quint32(images.size() + 1), screen->name(), screen->geometry(), screen->devicePixelRatio()},
             image});
    }
    InMemoryDefaultsStore defaults;
    FakeLoginItem loginItem;
    AppSettings settings{defaults, loginItem};
    OverlayManager manager{settings};
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
    // A selection on a monitor is cut from the image that monitor shows.
    for (ScreenshotWindow* window : manager.windows()) {
        const CapturedDisplay& bound = window->contentView()->capturedDisplay();
        EXPECT_EQ(bound.display.geometry, window->geometry());
        EXPECT_EQ(screenColour(window->geometry().center()), bound.image.pixelColor(0, 0).name());
    }

    // Even when the full-screen application takes the focus back, no key reaches it while the overlay is up;
    // Escape, and no other key, goes to the overlay.
    QString helperWindow = QRegularExpression(QStringLiteral("ready (\\d+)")).match(helperOutput).captured(1);
    run(QStringLiteral("xdotool windowfocus --sync ") + helperWindow);
    run(QStringLiteral("xdotool key a Return"));
    QTest::qWait(200);
    EXPECT_TRUE(delegate.cancelledBy.isEmpty());
    run(QStringLiteral("xdotool key Escape"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return delegate.cancelledBy.size() == 1; }, 3000));

    manager.hideOverlay();
    EXPECT_TRUE(QTest::qWaitFor([] { return screenColour({960, 540}) == QStringLiteral("#ff00ff"); }, 5000));
    run(QStringLiteral("xdotool key b"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return helperSaid(QStringLiteral("key b")); }, 3000));
    EXPECT_FALSE(helperOutput.contains(QStringLiteral("key a")));
    helper.kill();
    helper.waitForFinished();
}
