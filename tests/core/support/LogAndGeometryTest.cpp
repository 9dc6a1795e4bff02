#include "core/platform/ScreenGeometry.h"
#include "core/support/Log.h"

#include "LogCapture.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

// Which channel a line reaches is the message type alone; the text arrives as it was written.
TEST(Log, EachTypeGoesToItsChannelWordForWord)
{
    const std::vector<std::tuple<const char*, std::function<void(const QString&)>, Log::Channel>> rows = {
        {"info", [](const QString& text) { qCInfo(lcCapture).noquote() << text; }, Log::Channel::Out},
        {"debug", [](const QString& text) { qCDebug(lcHistory).noquote() << text; }, Log::Channel::System},
        {"warning", [](const QString& text) { qCWarning(lcApi).noquote() << text; }, Log::Channel::System},
        {"critical", [](const QString& text) { qCCritical(lcSettings).noquote() << text; }, Log::Channel::System},
    };
    // Quotes, a line feed, a placeholder and a trailing space, all the program's own.
    const QString text = QStringLiteral("📝 OCR Result: '50%1 \"done\"\nnext'... (length: %d) ");
    for (const auto& [name, write, channel] : rows) {
        LogCapture log;
        write(text);
        qWarning() << "Qt's own warning";
        qCWarning(lcOverlayTrace) << "the debug file is off";
        const QList<LogCapture::Line> lines = log.lines();
        ASSERT_EQ(lines.size(), 1) << name;
        EXPECT_EQ(lines.first().channel, channel) << name;
        EXPECT_EQ(lines.first().text, text) << name;
    }
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
