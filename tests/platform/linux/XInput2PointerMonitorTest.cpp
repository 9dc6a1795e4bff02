#include <QGuiApplication>

#include "platform/linux/XInput2PointerMonitor.h"

#include "X11TestSupport.h"

#include <gtest/gtest.h>

using X11TestSupport::pause;
using X11TestSupport::waitUntil;
using X11TestSupport::xdotool;

TEST(XInput2PointerMonitor, ReportsMotionAnywhereWithItsDeltaAndWhetherTheButtonIsHeld)
{
    xdotool(QStringLiteral("mousemove 100 100"));
    XInput2PointerMonitor monitor;
    QList<PointerMonitor::Motion> motions;
    ASSERT_TRUE(monitor.start([&](const PointerMonitor::Motion& motion) { motions.append(motion); }));
    pause(100);
    // Moves the pointer by dx, dy and waits until the reports reach the position; gives the last report, and the
    // sum of the reports' x deltas in the move.
    const auto moveBy = [&](int dx, int dy, const QPointF& reached) {
        motions.clear();
        xdotool(QStringLiteral("mousemove_relative -- %1 %2").arg(dx).arg(dy));
        EXPECT_TRUE(waitUntil([&] { return !motions.isEmpty() && motions.last().position == reached; }));
        qreal deltaX = 0;
        for (const PointerMonitor::Motion& motion : motions)
            deltaX += motion.deltaX;
        return std::pair(motions.value(motions.size() - 1), deltaX);
    };

    // Over the second monitor, where no window of this process is.
    const auto [onSecond, deltaX] = moveBy(2200, 50, QPointF(2300, 150));
    EXPECT_NEAR(deltaX, 2200, 2);
    EXPECT_FALSE(onSecond.dragging);
    EXPECT_EQ(monitor.position(), QPointF(2300, 150));
    EXPECT_NEAR(moveBy(-50, 0, QPointF(2250, 150)).second, -50, 2);

    xdotool(QStringLiteral("mousedown 1"));
    EXPECT_TRUE(moveBy(100, 0, QPointF(2350, 150)).first.dragging);
    xdotool(QStringLiteral("mouseup 1"));
    EXPECT_FALSE(moveBy(100, 0, QPointF(2450, 150)).first.dragging);
}
