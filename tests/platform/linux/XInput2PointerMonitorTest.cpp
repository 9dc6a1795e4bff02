#include <QGuiApplication>

#include "platform/linux/XInput2PointerMonitor.h"

#include "X11TestSupport.h"

#include <gtest/gtest.h>

#include <numeric>

using X11TestSupport::pause;
using X11TestSupport::waitUntil;
using X11TestSupport::xdotool;

class XInput2PointerMonitorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        xdotool(QStringLiteral("mousemove 100 100"));
        ASSERT_TRUE(m_monitor.start([this](const PointerMonitor::Motion& motion) { m_motions.append(motion); }));
        pause(100);
        m_motions.clear();
    }
    // Moves the pointer by dx, dy and waits until the reports reach the position.
    void moveBy(int dx, int dy, const QPointF& reached)
    {
        xdotool(QStringLiteral("mousemove_relative -- %1 %2").arg(dx).arg(dy));
        ASSERT_TRUE(waitUntil([&] { return !m_motions.isEmpty() && m_motions.last().position == reached; }));
    }
    qreal summedDeltaX() const
    {
        return std::accumulate(m_motions.begin(), m_motions.end(), 0.0,
                               [](qreal sum, const PointerMonitor::Motion& motion) { return sum + motion.deltaX; });
    }

    XInput2PointerMonitor m_monitor;
    QList<PointerMonitor::Motion> m_motions;
};

TEST_F(XInput2PointerMonitorTest, ReportsMotionAnywhereWithItsDeltaAndWhetherTheButtonIsHeld)
{
    // Over the second monitor, where no window of this process is.
    moveBy(2200, 50, QPointF(2300, 150));
    EXPECT_NEAR(summedDeltaX(), 2200, 2);
    EXPECT_FALSE(m_motions.last().dragging);
    EXPECT_EQ(m_monitor.position(), QPointF(2300, 150));
    m_motions.clear();
    moveBy(-50, 0, QPointF(2250, 150));
    EXPECT_NEAR(summedDeltaX(), -50, 2);

    xdotool(QStringLiteral("mousedown 1"));
    moveBy(100, 0, QPointF(2350, 150));
    EXPECT_TRUE(m_motions.last().dragging);
    xdotool(QStringLiteral("mouseup 1"));
    moveBy(100, 0, QPointF(2450, 150));
    EXPECT_FALSE(m_motions.last().dragging);
}
