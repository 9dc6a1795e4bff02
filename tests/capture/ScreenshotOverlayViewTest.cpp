#include "capture/ScreenshotOverlayView.h"
#include "capture/ScreenshotOverlayViewDelegate.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/InMemoryDefaultsStore.h"
#include "settings/AppSettings.h"

#include "LogCapture.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QtCore/qtestsupport_core.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

class RecordingDelegate : public QObject, public ScreenshotOverlayViewDelegate {
public:
    void overlayViewDidFinishSelection(SelectionView*, const QRectF& rect) override { selections.append(rect); }
    void overlayViewDidCancel(SelectionView*) override { ++cancels; }
    QList<QRectF> selections;
    int cancels = 0;
};

// Events as Qt delivers them: view point (x, y) of the 1440 × 900 view is Qt position (x, 900 - y).
void sendMouse(QWidget* view, QEvent::Type type, QPointF viewPoint)
{
    const QPointF qt(viewPoint.x(), 900 - viewPoint.y());
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, qt, view->mapToGlobal(qt), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &event);
}

void drag(QWidget* view, QPointF from, QPointF to)
{
    sendMouse(view, QEvent::MouseButtonPress, from);
    sendMouse(view, QEvent::MouseMove, (from + to) / 2);
    sendMouse(view, QEvent::MouseMove, to);
    sendMouse(view, QEvent::MouseButtonRelease, to);
}

// QTest's key helpers pull in Qt's X11 declarations, whose Monitor clashes with ours.
void sendKey(QWidget* widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

class ScreenshotOverlayViewTest : public ::testing::Test {
protected:
    std::unique_ptr<ScreenshotOverlayView> makeView(bool showHint = false)
    {
        auto view = std::make_unique<ScreenshotOverlayView>(settings, QRect(0, 0, 1440, 900), showHint);
        QImage image(1440, 900, QImage::Format_RGB32);
        image.fill(QColor(200, 100, 50));
        view->setImage(image);
        view->setDelegate(&delegate);
        return view;
    }

    InMemoryDefaultsStore defaults;
    FakeLoginItem loginItem;
    AppSettings settings{defaults, loginItem};
    RecordingDelegate delegate;
    LogCapture log;
};

} // namespace

TEST_F(ScreenshotOverlayViewTest, DragsReportTheRectangleInBottomLeftPointsUnlessTooSmall)
{
    auto view = makeView();
    drag(view.get(), {100, 100}, {110, 150});
    drag(view.get(), {300, 300}, {300, 300});
    EXPECT_TRUE(delegate.selections.isEmpty());
    EXPECT_FALSE(view->selectionRect().has_value());
    EXPECT_TRUE(log.containsSystem(QStringLiteral("⚠️ mouseUp: Selection too small (10x50)")));

    drag(view.get(), {100.25, 100.5}, {110.75, 111.5});
    drag(view.get(), {100, 100}, {40, 300});
    EXPECT_EQ(delegate.selections, (QList<QRectF>{{100.25, 100.5, 10.5, 11}, {40, 100, 60, 200}}));
    // The reported rectangle stays drawn until the overlay goes away.
    EXPECT_EQ(view->selectionRect(), QRectF(40, 100, 60, 200));
    EXPECT_TRUE(log.containsSystem(
        QStringLiteral("🖱️ mouseUp called, selectionRect={{40, 100}, {60, 200}}, startPoint={100, 100}")));
    EXPECT_TRUE(log.containsSystem(QStringLiteral("✅ mouseUp: Valid selection 60x200, delegate=SET")));
}

TEST_F(ScreenshotOverlayViewTest, DoubleClickSelectsTheBoxCutToTheViewOnce)
{
    auto view = makeView();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
        sendMouse(view.get(), type, {10, 10});
    EXPECT_EQ(delegate.selections, QList<QRectF>{QRectF(0, 0, 60, 25)});
    EXPECT_TRUE(log.containsSystem(QStringLiteral("⚠️ mouseUp: guard failed (selectionRect or startPoint nil)")));
}

TEST_F(ScreenshotOverlayViewTest, EscapeCancelsAndOtherKeysDoNot)
{
    auto view = makeView();
    sendKey(view.get(), Qt::Key_A);
    sendKey(view.get(), Qt::Key_Return);
    EXPECT_EQ(delegate.cancels, 0);
    sendKey(view.get(), Qt::Key_Escape);
    EXPECT_EQ(delegate.cancels, 1);

    // A gone delegate reads back as nothing, and nothing is called.
    auto shortLived = std::make_unique<RecordingDelegate>();
    view->setDelegate(shortLived.get());
    shortLived.reset();
    EXPECT_EQ(view->delegate(), nullptr);
    sendKey(view.get(), Qt::Key_Escape);
    drag(view.get(), {100, 100}, {300, 300});
    EXPECT_TRUE(log.containsSystem(QStringLiteral("✅ mouseUp: Valid selection 200x200, delegate=nil")));
}

TEST_F(ScreenshotOverlayViewTest, ToastOnlyWhenBothAllowItAndGoneAfterItsFade)
{
    const struct {
        bool showHint, setting, shown;
    } cases[] = {{false, false, false}, {true, false, false}, {false, true, false}, {true, true, true}};
    for (const auto& c : cases) {
        settings.setShowCaptureHint(c.setting);
        EXPECT_EQ(makeView(c.showHint)->isToastShown(), c.shown) << c.showHint << c.setting;
    }
    auto view = makeView(true);
    view->show();
    QTest::qWait(ScreenshotOverlayView::ToastVisibleMs - 300);
    EXPECT_TRUE(view->isToastShown());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !view->isToastShown(); }, ScreenshotOverlayView::ToastFadeMs + 1500));
}

TEST_F(ScreenshotOverlayViewTest, PictureDimsOnlyOutsideTheSelection)
{
    auto view = makeView();
    drag(view.get(), {100, 100}, {400, 300}); // Qt rows 600 to 800

    const QImage full = QImage::fromData(view->captureViewContentAsPNG(4000).value_or(QByteArray()), "PNG");
    ASSERT_EQ(full.size(), QSize(1440, 900));
    EXPECT_EQ(full.pixelColor(250, 700), QColor(200, 100, 50));
    EXPECT_EQ(full.pixelColor(250, 600), QColor(200, 100, 50));
    EXPECT_EQ(full.pixelColor(250, 599), QColor(Qt::white)); // the outline, just outside
    EXPECT_NEAR(full.pixelColor(250, 150).red(), 200 * 0.6, 2);

    const QImage half = QImage::fromData(view->captureViewContentAsPNG(720).value_or(QByteArray()), "PNG");
    EXPECT_EQ(half.size(), QSize(720, 450));
    EXPECT_EQ(half.pixelColor(125, 350), QColor(200, 100, 50));
}
