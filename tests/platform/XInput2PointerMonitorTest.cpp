#include <QGuiApplication>

#include "platform/linux/XInput2PointerMonitor.h"

#include "X11TestSupport.h"

#include <gtest/gtest.h>

using X11TestSupport::run;
using X11TestSupport::waitUntil;

namespace {

void xdotool(const QStringList& arguments)
{
    run(QStringLiteral("xdotool"), arguments);
}

} // namespace

class XInput2PointerMonitorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        xdotool({"mousemove", "100", "100"});
        ASSERT_TRUE(m_monitor.start([this](const PointerMonitor::Motion& motion) { m_motions.append(motion); }));
        waitUntil([] { return false; }, 100);
        m_motions.clear();
    }
    bool reachedPosition(const QPointF& position) const
    {
        return !m_motions.isEmpty() && m_motions.last().position == position;
    }
    qreal summedDeltaX() const
    {
        qreal sum = 0;
        for (const PointerMonitor::Motion& motion : m_motions)
            sum += motion.deltaX;
        return sum;
    }

    XInput2PointerMonitor m_monitor;
    QList<PointerMonitor::Motion> m_motions;
};

TEST_F(XInput2PointerMonitorTest, ReportsMotionAnywhereWithItsDelta)
{
    // Over the second monitor, where no window of this process is.
    xdotool({"mousemove_relative", "--", "2200", "50"});
    ASSERT_TRUE(waitUntil([&] { return reachedPosition(QPointF(2300, 150)); }));
    EXPECT_NEAR(summedDeltaX(), 2200, 2);
    EXPECT_FALSE(m_motions.last().dragging);
    EXPECT_EQ(m_monitor.position(), QPointF(2300, 150));

    m_motions.clear();
    xdotool({"mousemove_relative", "--", "-50", "0"});
    ASSERT_TRUE(waitUntil([&] { return reachedPosition(QPointF(2250, 150)); }));
    EXPECT_NEAR(summedDeltaX(), -50, 2);
}

TEST_F(XInput2PointerMonitorTest, DeltasKeepComingWhileThePointerIsPinnedAtTheEdge)
{
    // A jump to a position is no device motion and is not reported; pushing on from there is.
    xdotool({"mousemove", "3839", "500"});
    xdotool({"mousemove_relative", "--", "40", "0"});
    ASSERT_TRUE(waitUntil([&] { return summedDeltaX() >= 40; }));
    xdotool({"mousemove_relative", "--", "25", "0"});
    ASSERT_TRUE(waitUntil([&] { return summedDeltaX() >= 65; }));
    EXPECT_EQ(summedDeltaX(), 65);
    EXPECT_EQ(m_motions.last().position, QPointF(3839, 500));
}

TEST_F(XInput2PointerMonitorTest, ReportsDraggingWhileTheLeftButtonIsHeld)
{
    xdotool({"mousemove", "3000", "600"});
    xdotool({"mousedown", "1"});
    xdotool({"mousemove_relative", "--", "100", "0"});
    ASSERT_TRUE(waitUntil([&] { return reachedPosition(QPointF(3100, 600)); }));
    EXPECT_TRUE(m_motions.last().dragging);
    xdotool({"mouseup", "1"});
    xdotool({"mousemove_relative", "--", "100", "0"});
    ASSERT_TRUE(waitUntil([&] { return reachedPosition(QPointF(3200, 600)); }));
    EXPECT_FALSE(m_motions.last().dragging);
}

TEST_F(XInput2PointerMonitorTest, StopEndsTheReports)
{
    m_monitor.stop();
    xdotool({"mousemove_relative", "--", "600", "600"});
    waitUntil([] { return false; }, 300);
    EXPECT_TRUE(m_motions.isEmpty());
    EXPECT_EQ(m_monitor.position(), QPointF(700, 700));

    // Started again, it reports again.
    ASSERT_TRUE(m_monitor.start([this](const PointerMonitor::Motion& motion) { m_motions.append(motion); }));
    xdotool({"mousemove_relative", "--", "10", "0"});
    EXPECT_TRUE(waitUntil([&] { return reachedPosition(QPointF(710, 700)); }));
}
