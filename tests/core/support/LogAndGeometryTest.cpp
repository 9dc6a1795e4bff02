#include "core/platform/ScreenGeometry.h"
#include "core/support/Log.h"

#include <gtest/gtest.h>

TEST(Log, ExpandsPlaceholdersInOrder)
{
    EXPECT_EQ(Log::expand(QStringLiteral("  Set delegate for view %d, delegate=%@"), {2, "SET"}),
              QStringLiteral("  Set delegate for view 2, delegate=SET"));
    EXPECT_EQ(Log::expand(QStringLiteral("100%% of %d"), {7}), QStringLiteral("100% of 7"));
    EXPECT_EQ(Log::expand(QStringLiteral("%@ and %@"), {QStringLiteral("a")}), QStringLiteral("a and (null)"));
    // An argument containing a placeholder is not expanded a second time.
    EXPECT_EQ(Log::expand(QStringLiteral("📝 '%@' (%d)"), {QStringLiteral("50%d"), 3}), QStringLiteral("📝 '50%d' (3)"));
}

TEST(ScreenGeometry, FlipsBetweenTopLeftAndBottomLeft)
{
    // A selection 50 points high whose top edge is 250 points below the top of a 900-point view.
    EXPECT_EQ(ScreenGeometry::flipped(QRectF(100, 650, 300, 50), 900), QRectF(100, 200, 300, 50));
    EXPECT_EQ(ScreenGeometry::flipped(QPointF(10, 0), 900), QPointF(10, 900));

    // Primary 1920x1080 at the origin; a second monitor to its right, 1440x900, top-aligned.
    const QRectF primary(0, 0, 1920, 1080);
    EXPECT_EQ(ScreenGeometry::toGlobalBottomLeft(QRectF(1920, 0, 1440, 900), primary), QRectF(1920, 180, 1440, 900));
    EXPECT_EQ(ScreenGeometry::fromGlobalBottomLeft(QRectF(1920, 180, 1440, 900), primary), QRectF(1920, 0, 1440, 900));
    EXPECT_EQ(ScreenGeometry::toGlobalBottomLeft(QPointF(100, 1080), primary), QPointF(100, 0));
    // A primary monitor that is not at Qt's origin.
    const QRectF offset(1440, 100, 1920, 1080);
    EXPECT_EQ(ScreenGeometry::toGlobalBottomLeft(QRectF(1440, 100, 1920, 1080), offset), QRectF(0, 0, 1920, 1080));
    EXPECT_EQ(ScreenGeometry::fromGlobalBottomLeft(QPointF(0, 0), offset), QPointF(1440, 1180));
}
