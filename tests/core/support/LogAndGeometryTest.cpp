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

TEST(ScreenGeometry, WindowFramesGoToTheBottomLeftOfThePrimaryMonitor)
{
    // Primary 1920x1080 at the origin; a second monitor to its right, 1440x900, top-aligned.
    const QRectF primary(0, 0, 1920, 1080);
    EXPECT_EQ(ScreenGeometry::toGlobalBottomLeft(QRectF(1920, 0, 1440, 900), primary), QRectF(1920, 180, 1440, 900));
    // A primary monitor that is not at Qt's origin.
    const QRectF offset(1440, 100, 1920, 1080);
    EXPECT_EQ(ScreenGeometry::toGlobalBottomLeft(QRectF(1440, 100, 1920, 1080), offset), QRectF(0, 0, 1920, 1080));
}
