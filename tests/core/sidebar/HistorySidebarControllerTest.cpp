#include "core/sidebar/HistorySidebarController.h"
#include "core/sidebar/SidebarPanel.h"
#include "platform/fake/FakePointerMonitor.h"
#include "platform/fake/ManualClock.h"

#include <gtest/gtest.h>

namespace {

// A panel that records how it was moved: "in <from> <to> <ms>" or "out <to> <ms>", frames as x,y width x height.
class RecordingPanel : public SidebarPanel {
public:
    static QString text(const QRectF& r)
    {
        return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }
    void slideIn(const QRectF& from, const QRectF& to, int ms) override
    {
        slides << QStringLiteral("in %1 %2 %3").arg(text(from), text(to)).arg(ms);
    }
    void slideOut(const QRectF& to, int ms) override { slides << QStringLiteral("out %1 %2").arg(text(to)).arg(ms); }
    std::optional<QByteArray> renderPNG() override { return QByteArray("png"); }

    QStringList slides;
};

// One 1920 x 1080 primary monitor with a 24-point panel along its top; optionally a second monitor to its right.
struct SidebarFixture {
    explicit SidebarFixture(bool secondMonitorRight = false)
        : controller(
              &pointer, clock,
              [this](HistorySidebarWindowDelegate&) {
                  ++panelsMade;
                  auto made = std::make_unique<RecordingPanel>();
                  panel = made.get();
                  return made;
              },
              [this]() -> std::optional<HistorySidebarController::Screen> {
                  if (primary.isEmpty())
                      return std::nullopt;
                  return HistorySidebarController::Screen{primary, primary.adjusted(0, 24, 0, 0)};
              })
    {
        pointer.bounds = secondMonitorRight ? QRectF(0, 0, 3840, 1080) : primary;
        pointer.setPosition(QPointF(960, 540));
    }

    // Puts the pointer at (x, y) and reports a movement there without delta.
    void moveTo(qreal x, qreal y = 540, bool dragging = false)
    {
        pointer.setPosition(QPointF(x, y));
        pointer.move(0, 0, dragging);
    }
    // Pushes right at the edge: the pointer stays pinned at the last column of the desktop.
    void push(qreal deltaX, bool dragging = false) { pointer.move(deltaX, 0, dragging); }
    void pushToEdge()
    {
        moveTo(1919);
        push(100);
    }

    QRectF primary{0, 0, 1920, 1080};
    FakePointerMonitor pointer;
    ManualClock clock;
    RecordingPanel* panel = nullptr;
    int panelsMade = 0;
    HistorySidebarController controller;
};

} // namespace

TEST(HistorySidebarController, PushAtTheEdgeCountsRightwardTravelOnThePrimaryMonitorOnly)
{
    struct Step {
        qreal x; // where the pointer is put before the movement; < 0 keeps it where it is
        qreal deltaX;
        bool dragging = false;
    };
    // With a second monitor to the right or not, the steps, and whether the panel is shown after them.
    const std::tuple<const char*, bool, QList<Step>, bool> rows[] = {
        {"40, 40 and 19 are not enough", false, {{1919, 40}, {-1, 40}, {-1, 19}}, false},
        {"one more point reaches 100", false, {{1919, 40}, {-1, 40}, {-1, 19}, {-1, 1}}, true},
        // Left by 3 (still within the zone) and back: 2 - 3 stops at 0.
        {"leftward travel lowers the count, never below 0", false, {{1919, 2}, {-1, -3}, {-1, 3}, {-1, 96}}, false},
        {"and from 0 it climbs again", false, {{1919, 2}, {-1, -3}, {-1, 3}, {-1, 97}}, true},
        {"leaving the edge zone forgets the push", false, {{1919, 90}, {-1, -10}, {-1, 10}, {-1, 10}}, false},
        {"a movement ending on the zone's first point counts", true, {{1815, 100}}, true},
        {"one point further left does not", true, {{1814, 100}}, false},
        {"dragging at the edge never counts", false, {{1919, 150, true}, {-1, 150, true}}, false},
        {"crossing onto the right monitor does not count", true, {{1900, 17}, {-1, 100}, {-1, 300}}, false},
        {"nor does the right monitor's own edge", true, {{3839, 150}, {-1, 150}}, false},
    };
    for (const auto& [name, secondMonitorRight, steps, shown] : rows) {
        SidebarFixture f(secondMonitorRight);
        for (const Step& step : steps) {
            if (step.x >= 0)
                f.pointer.setPosition(QPointF(step.x, 540));
            f.push(step.deltaX, step.dragging);
        }
        EXPECT_EQ(f.controller.isVisible(), shown) << name;
    }
}

// A push that reaches 100 within 0.5 s of the last toggle is ignored.
TEST(HistorySidebarController, PushesWithinHalfASecondOfAToggleAreIgnored)
{
    for (const auto& [afterMs, shownAfterSecondPush] : {std::pair(500, true), std::pair(501, false)}) {
        SidebarFixture f;
        f.pushToEdge();
        ASSERT_TRUE(f.controller.isVisible());
        f.clock.advance(afterMs);
        f.push(100);
        EXPECT_EQ(f.controller.isVisible(), shownAfterSecondPush) << afterMs;
    }
}

// The panel rests at x 1620-1920; it stays while the pointer is within 20 points of it and leaves 2 s after the
// last movement outside.
TEST(HistorySidebarController, PanelLeavesTwoSecondsAfterThePointerLeftTheKeepOpenZone)
{
    struct Move {
        qreal x;
        qreal y = 540;
        qint64 thenWaitMs = 0;
        bool dragging = false;
    };
    // The moves, and how long the panel is shown from the last one (-1: still shown after 5 s).
    const std::tuple<const char*, QList<Move>, qint64> rows[] = {
        {"20 points left is still inside", {{1600}}, -1},
        {"21 points left starts the timer", {{1599}}, 2000},
        {"above the panel (over the top dock) is outside", {{1700, 10}}, 2000},
        {"a drag outside starts it as well", {{1000, 540, 0, true}}, 2000},
        {"coming back inside before it fires cancels it", {{1000, 540, 1500}, {1700}}, -1},
        {"each movement outside starts it again", {{1000, 540, 1500}, {900, 540}}, 2000},
    };
    for (const auto& [name, moves, shownForMs] : rows) {
        SCOPED_TRACE(name);
        SidebarFixture f;
        f.controller.showSidebar();
        for (const Move& move : moves) {
            f.moveTo(move.x, move.y, move.dragging);
            f.clock.advance(move.thenWaitMs);
        }
        f.clock.advance(shownForMs < 0 ? 5000 : shownForMs - 1);
        EXPECT_TRUE(f.controller.isVisible());
        if (shownForMs >= 0) {
            f.clock.advance(1);
            EXPECT_FALSE(f.controller.isVisible());
            EXPECT_TRUE(f.panel->slides.last().startsWith(u"out"));
        }
    }
}

TEST(HistorySidebarController, ShowHideAndToggleSlideOnePanelInAndOut)
{
    SidebarFixture f;
    f.controller.showSidebar();
    f.controller.toggleSidebar();
    EXPECT_FALSE(f.controller.isVisible()) << "hidden from the start of the slide-out";
    EXPECT_EQ(f.controller.captureSidebarImage(), std::nullopt) << "not while it slides out";
    f.controller.hideSidebar(); // hiding a hidden panel does nothing
    f.controller.toggleSidebar();
    f.clock.advance(600);
    f.pushToEdge();
    EXPECT_FALSE(f.controller.isVisible()) << "pushing while shown hides";
    // The next show uses the primary monitor as it is then, with the panel made first.
    f.primary = QRectF(0, 0, 2560, 1440);
    f.controller.showSidebar();
    EXPECT_EQ(f.panelsMade, 1);
    const QString shown = QStringLiteral("in 1920,24 300x1056 1620,24 300x1056 200");
    const QString hidden = QStringLiteral("out 1920,24 300x1056 200");
    EXPECT_EQ(f.panel->slides, QStringList({shown, hidden, shown, hidden, "in 2560,24 300x1416 2260,24 300x1416 200"}));

    // Without a monitor nothing is claimed to be shown.
    f.controller.hideSidebar();
    f.primary = QRectF();
    f.controller.showSidebar();
    EXPECT_FALSE(f.controller.isVisible());
}

TEST(HistorySidebarController, CaptureButtonHidesThePanelAndCapturesAQuarterSecondLater)
{
    SidebarFixture f;
    int captures = 0;
    f.controller.onCaptureRequested = [&] { ++captures; };
    f.controller.showSidebar();
    f.controller.sidebarDidRequestCapture();
    EXPECT_FALSE(f.controller.isVisible());
    f.clock.advance(249);
    EXPECT_EQ(captures, 0);
    f.clock.advance(1);
    EXPECT_EQ(captures, 1);
}

// The pointer monitor must not call into a controller that is gone.
TEST(HistorySidebarController, StopsWatchingThePointerWhenDestroyed)
{
    FakePointerMonitor pointer;
    ManualClock clock;
    {
        HistorySidebarController controller(
            &pointer, clock, [](HistorySidebarWindowDelegate&) { return std::unique_ptr<SidebarPanel>(); });
        EXPECT_TRUE(pointer.isStarted());
    }
    EXPECT_FALSE(pointer.isStarted());
}
