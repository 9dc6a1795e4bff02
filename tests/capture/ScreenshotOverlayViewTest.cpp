#include "capture/ScreenshotOverlayView.h"
#include "capture/ScreenshotOverlayViewDelegate.h"
#include "capture/ScreenshotWindow.h"
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
    void overlayViewDidFinishSelection(SelectionView* view, const QRectF& rect) override {
        selections.append(rect);
        lastView = view;
    }
    void overlayViewDidCancel(SelectionView* view) override {
        ++cancels;
        lastView = view;
    }

    QList<QRectF> selections;
    int cancels = 0;
    SelectionView* lastView = nullptr;
};

// Qt's own event positions: origin top-left, fractional points allowed.
void sendMouse(QWidget* widget, QEvent::Type type, QPointF qtPosition, Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, qtPosition, widget->mapToGlobal(qtPosition),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

class ScreenshotOverlayViewTest : public ::testing::Test {
protected:
    // A 1440 × 900 point monitor: view point (x, y) is Qt position (x, 900 - y).
    std::unique_ptr<ScreenshotOverlayView> makeView(bool showHint = false) {
        auto view = std::make_unique<ScreenshotOverlayView>(settings, QRect(0, 0, 1440, 900), showHint);
        QImage image(1440, 900, QImage::Format_RGB32);
        image.fill(QColor(200, 100, 50));
        view->setImage(image);
        view->setDelegate(&delegate);
        return view;
    }

    void drag(QWidget* view, QPointF fromView, QPointF toView) {
        const auto qt = [](QPointF p) { return QPointF(p.x(), 900 - p.y()); };
        sendMouse(view, QEvent::MouseButtonPress, qt(fromView));
        sendMouse(view, QEvent::MouseMove, qt((fromView + toView) / 2));
        sendMouse(view, QEvent::MouseMove, qt(toView));
        sendMouse(view, QEvent::MouseButtonRelease, qt(toView));
    }

    InMemoryDefaultsStore defaults;
    FakeLoginItem loginItem;
    AppSettings settings{defaults, loginItem};
    RecordingDelegate delegate;
    LogCapture log;
};

// QTest's key helpers pull in Qt's X11 declarations, whose Display clashes with ours.
void sendKey(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

} // namespace

TEST_F(ScreenshotOverlayViewTest, DragReportsTheRectangleInBottomLeftPoints) {
    auto view = makeView();
    sendMouse(view.get(), QEvent::MouseButtonPress, {100, 800});
    EXPECT_TRUE(view->isDragging());
    sendMouse(view.get(), QEvent::MouseMove, {40, 600});
    EXPECT_EQ(view->selectionRect(), QRectF(40, 100, 60, 200));
    sendMouse(view.get(), QEvent::MouseButtonRelease, {40, 600});

    EXPECT_EQ(delegate.selections, QList<QRectF>{QRectF(40, 100, 60, 200)});
    EXPECT_EQ(delegate.lastView, view.get());
    EXPECT_FALSE(view->isDragging());
    // The reported rectangle stays drawn until the overlay goes away.
    EXPECT_EQ(view->selectionRect(), QRectF(40, 100, 60, 200));
    EXPECT_TRUE(log.containsSystem(
        QStringLiteral("🖱️ mouseUp called, selectionRect={{40, 100}, {60, 200}}, startPoint={100, 100}")));
    EXPECT_TRUE(log.containsSystem(QStringLiteral("✅ mouseUp: Valid selection 60x200, delegate=SET")));
    EXPECT_TRUE(log.containsSystem(QStringLiteral("📤 delegate callback completed")));
}

TEST_F(ScreenshotOverlayViewTest, TooSmallDragIsDiscardedAndTheUserCanDragAgain) {
    auto view = makeView();
    drag(view.get(), {100, 100}, {110, 150});
    EXPECT_TRUE(delegate.selections.isEmpty());
    EXPECT_FALSE(view->selectionRect().has_value());
    EXPECT_TRUE(log.containsSystem(QStringLiteral("⚠️ mouseUp: Selection too small (10x50)")));

    // A plain click is the smallest drag of all.
    drag(view.get(), {300, 300}, {300, 300});
    EXPECT_TRUE(delegate.selections.isEmpty());

    drag(view.get(), {100.25, 100.5}, {110.75, 111.5});
    EXPECT_EQ(delegate.selections, QList<QRectF>{QRectF(100.25, 100.5, 10.5, 11)});
}

TEST_F(ScreenshotOverlayViewTest, DoubleClickSelectsTheFixedBoxOnce) {
    auto view = makeView();
    // What Qt delivers for a double-click at view point (10, 10).
    sendMouse(view.get(), QEvent::MouseButtonPress, {10, 890});
    sendMouse(view.get(), QEvent::MouseButtonRelease, {10, 890});
    sendMouse(view.get(), QEvent::MouseButtonPress, {10, 890});
    sendMouse(view.get(), QEvent::MouseButtonDblClick, {10, 890});
    sendMouse(view.get(), QEvent::MouseButtonRelease, {10, 890});

    EXPECT_EQ(delegate.selections, QList<QRectF>{QRectF(0, 0, 60, 25)});
    EXPECT_TRUE(log.containsSystem(QStringLiteral("⚠️ mouseUp: guard failed (selectionRect or startPoint nil)")));
}

TEST_F(ScreenshotOverlayViewTest, OnlyTheLeftButtonSelects) {
    auto view = makeView();
    sendMouse(view.get(), QEvent::MouseButtonPress, {100, 100}, Qt::RightButton);
    EXPECT_FALSE(view->isDragging());
    sendMouse(view.get(), QEvent::MouseButtonRelease, {300, 300}, Qt::RightButton);
    EXPECT_TRUE(delegate.selections.isEmpty());
}

TEST_F(ScreenshotOverlayViewTest, EscapeCancelsOnceAndOtherKeysDoNot) {
    auto view = makeView();
    sendKey(view.get(), Qt::Key_A);
    sendKey(view.get(), Qt::Key_Return);
    EXPECT_EQ(delegate.cancels, 0);
    sendKey(view.get(), Qt::Key_Escape);
    EXPECT_EQ(delegate.cancels, 1);

    // Escape in the middle of a drag cancels too.
    sendMouse(view.get(), QEvent::MouseButtonPress, {100, 100});
    sendKey(view.get(), Qt::Key_Escape);
    EXPECT_EQ(delegate.cancels, 2);
    EXPECT_TRUE(delegate.selections.isEmpty());
}

TEST_F(ScreenshotOverlayViewTest, DelegateIsHeldWeakly) {
    auto view = makeView();
    {
        RecordingDelegate shortLived;
        view->setDelegate(&shortLived);
        EXPECT_EQ(view->delegate(), &shortLived);
    }
    EXPECT_EQ(view->delegate(), nullptr);
    // Nobody to tell: a selection and Escape are only logged.
    drag(view.get(), {100, 100}, {300, 300});
    sendKey(view.get(), Qt::Key_Escape);
    EXPECT_TRUE(log.containsSystem(QStringLiteral("✅ mouseUp: Valid selection 200x200, delegate=nil")));
}

TEST_F(ScreenshotOverlayViewTest, ToastNeedsBothTheCaptureAndTheSettingToAllowIt) {
    struct Case {
        const char* name;
        bool showHint;
        bool setting;
        bool shown;
    } const cases[] = {
        {"both allow", true, true, true},
        {"recapture", false, true, false},
        {"user turned hints off", true, false, false},
        {"neither", false, false, false},
    };
    for (const Case& c : cases) {
        settings.setShowCaptureHint(c.setting);
        auto view = makeView(c.showHint);
        EXPECT_EQ(view->isToastShown(), c.shown) << c.name;
    }
}

TEST_F(ScreenshotOverlayViewTest, ToastFadesAwayAfterItsTime) {
    settings.setShowCaptureHint(true);
    auto view = makeView(true);
    view->show();
    QTest::qWait(ScreenshotOverlayView::ToastVisibleMs - 300);
    EXPECT_TRUE(view->isToastShown());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !view->isToastShown(); }, ScreenshotOverlayView::ToastFadeMs + 1500));
}

TEST_F(ScreenshotOverlayViewTest, PictureDimsOnlyOutsideTheSelection) {
    settings.setShowCaptureHint(false);
    auto view = makeView();
    drag(view.get(), {100, 100}, {400, 300}); // Qt rows 600..800

    const std::optional<QByteArray> png = view->captureViewContentAsPNG(4000);
    ASSERT_TRUE(png.has_value());
    const QImage picture = QImage::fromData(*png, "PNG");
    ASSERT_EQ(picture.size(), QSize(1440, 900));
    const QColor inside = picture.pixelColor(250, 700);
    const QColor outside = picture.pixelColor(250, 150); // above the selection in view terms
    EXPECT_EQ(inside, QColor(200, 100, 50));
    EXPECT_NEAR(outside.red(), 200 * 0.6, 2);
    EXPECT_NEAR(outside.green(), 100 * 0.6, 2);
    // The white outline runs just outside the selection, leaving all of its inside undimmed.
    EXPECT_EQ(picture.pixelColor(250, 599), QColor(Qt::white));
    EXPECT_EQ(picture.pixelColor(250, 600), QColor(200, 100, 50));

    // Half the size for half the width, with the same picture.
    const std::optional<QByteArray> half = view->captureViewContentAsPNG(720);
    ASSERT_TRUE(half.has_value());
    const QImage small = QImage::fromData(*half, "PNG");
    EXPECT_EQ(small.size(), QSize(720, 450));
    EXPECT_EQ(small.pixelColor(125, 350), QColor(200, 100, 50));
    EXPECT_TRUE(log.containsSystem(
        QStringLiteral("📸 captureViewContentAsPNG: Success - 720x450, %1 bytes").arg(half->size())));
}

TEST_F(ScreenshotOverlayViewTest, ToastDimsTheWholePicture) {
    settings.setShowCaptureHint(true);
    auto view = makeView(true);
    const QImage picture = QImage::fromData(*view->captureViewContentAsPNG(1440), "PNG");
    EXPECT_NEAR(picture.pixelColor(10, 10).red(), 200 * 0.7, 2);
    // The box in the middle (inside its top padding) is darker still.
    EXPECT_LT(picture.pixelColor(720, 418).red(), 200 * 0.3);
}

TEST_F(ScreenshotOverlayViewTest, KnowsWhichWindowItIsIn) {
    auto loose = makeView();
    EXPECT_EQ(loose->host(), SelectionView::Host::NoWindow);
    EXPECT_FALSE(loose->hostDisplay().has_value());

    QWidget other;
    auto* inOther = new ScreenshotOverlayView(settings, QRect(0, 0, 100, 100), false, &other);
    EXPECT_EQ(inOther->host(), SelectionView::Host::OtherWindow);
    EXPECT_FALSE(inOther->hostDisplay().has_value());

    const Display display{7, QStringLiteral("RIGHT"), QRect(1920, 0, 1440, 900), 2.0};
    ScreenshotWindow window(display);
    auto* inWindow = new ScreenshotOverlayView(settings, QRect(0, 0, 1440, 900), false);
    window.setContentView(inWindow);
    EXPECT_EQ(inWindow->host(), SelectionView::Host::ScreenshotWindow);
    ASSERT_TRUE(inWindow->hostDisplay().has_value());
    EXPECT_EQ(inWindow->hostDisplay()->id, 7u);
    EXPECT_EQ(inWindow->hostDisplay()->name, QStringLiteral("RIGHT"));
}
