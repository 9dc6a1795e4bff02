#include "widgets/capture/ScreenshotOverlayView.h"
#include "TestStores.h"
#include "core/capture/ScreenshotOverlayViewDelegate.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QtCore/qtestsupport_core.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

class RecordingDelegate : public QObject, public ScreenshotOverlayViewDelegate {
public:
    void overlayViewDidFinishSelection(SelectionView*, const QRectF& rect) override { selections.append(rect); }
    void overlayViewDidCancel(SelectionView*) override {}
    QList<QRectF> selections;
};

void sendMouse(QWidget* view, QEvent::Type type, QPointF position)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, position, view->mapToGlobal(position), button,
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

class ScreenshotOverlayViewTest : public ::testing::Test, public TestSettings {
protected:
    std::unique_ptr<ScreenshotOverlayView> makeView()
    {
        const CapturedDisplay captured{Monitor{1, QStringLiteral("eDP-1"), {0, 0, 1440, 900}, 1.0}, QImage()};
        auto view = std::make_unique<ScreenshotOverlayView>(settings, captured, false);
        view->setDelegate(&delegate);
        return view;
    }

    RecordingDelegate delegate;
};

} // namespace

TEST_F(ScreenshotOverlayViewTest, DragsReportTheRectangleInTopLeftPointsUnlessTooSmall)
{
    auto view = makeView();
    drag(view.get(), {100, 100}, {110, 150});
    EXPECT_TRUE(delegate.selections.isEmpty());
    EXPECT_FALSE(view->selectionRect().has_value()) << "a selection too small is not left drawn";

    drag(view.get(), {100.25, 100.5}, {110.75, 111.5});
    drag(view.get(), {100, 100}, {40, 300});
    EXPECT_EQ(delegate.selections, (QList<QRectF>{{100.25, 100.5, 10.5, 11}, {40, 100, 60, 200}}));
    // The reported rectangle stays drawn until the overlay goes away.
    EXPECT_EQ(view->selectionRect(), QRectF(40, 100, 60, 200));

    // The pointer keeps coming while the button is held past the monitor's edge (on to the next monitor): the
    // selection, its size label and the report end at the edge, where the captured image ends.
    delegate.selections.clear();
    drag(view.get(), {1300, 800}, {1600, 1000});
    EXPECT_EQ(view->selectionRect(), QRectF(1300, 800, 140, 100));
    drag(view.get(), {100, 100}, {-50, -20});
    drag(view.get(), {1435, 100}, {2000, 400});
    EXPECT_EQ(delegate.selections, (QList<QRectF>{{1300, 800, 140, 100}, {0, 0, 100, 100}}))
        << "5 points of the last drag are on this monitor: too small, whatever the pointer did beyond";
}

// The reading indicator comes only for a selection handed over for reading, and only once reading has taken
// longer than a moment; a new drag takes it away.
TEST_F(ScreenshotOverlayViewTest, ReadingIndicatorFollowsAReportedSelectionAfterTheDelay)
{
    auto view = makeView();
    drag(view.get(), {100, 100}, {105, 105});
    QTest::qWait(ScreenshotOverlayView::ReadingIndicatorDelayMs * 2);
    EXPECT_FALSE(view->isReadingShown()) << "a selection too small is not read";

    drag(view.get(), {100, 100}, {300, 200});
    EXPECT_FALSE(view->isReadingShown()) << "quick results must not flash it";
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->isReadingShown(); }, 2000));
    sendMouse(view.get(), QEvent::MouseButtonPress, {400, 400});
    EXPECT_FALSE(view->isReadingShown());
    sendMouse(view.get(), QEvent::MouseButtonRelease, {401, 401});
    QTest::qWait(ScreenshotOverlayView::ReadingIndicatorDelayMs * 2);
    EXPECT_FALSE(view->isReadingShown());
}
