#include "capture/SelectionGeometry.h"
#include "capture/DebugLogFile.h"
#include "capture/TextEditorPlacement.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct LabelCase {
    const char* name;
    QRectF selection;
    QSizeF viewSize;
    QRectF expectedPill;
};

} // namespace

TEST(SelectionGeometry, DragInAnyDirectionSpansTheSameRectangle) {
    // Dragging up and to the left from (100, 100) to (40, 300).
    const QRectF rect = SelectionGeometry::rectFromPoints({100, 100}, {40, 300});
    EXPECT_EQ(rect, QRectF(40, 100, 60, 200));
    EXPECT_EQ(SelectionGeometry::rectFromPoints({40, 300}, {100, 100}), rect);
    EXPECT_EQ(SelectionGeometry::sizeLabelText(rect), QStringLiteral("60 × 200"));
    // Whole points by truncation, never rounded up.
    EXPECT_EQ(SelectionGeometry::sizeLabelText(QRectF(0, 0, 239.9, 96.5)), QStringLiteral("239 × 96"));
}

TEST(SelectionGeometry, BothSidesMustExceedTheMinimum) {
    EXPECT_FALSE(SelectionGeometry::isLargeEnough(QRectF(0, 0, 10, 50)));
    EXPECT_FALSE(SelectionGeometry::isLargeEnough(QRectF(0, 0, 50, 10)));
    EXPECT_TRUE(SelectionGeometry::isLargeEnough(QRectF(0, 0, 10.5, 11)));
    EXPECT_FALSE(SelectionGeometry::isLargeEnough(QRectF(5, 5, 0, 0)));
}

TEST(SelectionGeometry, DoubleClickBoxIsCentredAndCutToTheView) {
    const QSizeF view(1440, 900);
    EXPECT_EQ(SelectionGeometry::doubleClickBox({10, 10}, view), QRectF(0, 0, 60, 25));
    EXPECT_EQ(SelectionGeometry::doubleClickBox({700, 450}, view), QRectF(650, 435, 100, 30));
    EXPECT_EQ(SelectionGeometry::doubleClickBox({1435, 895}, view), QRectF(1385, 880, 55, 20));
}

TEST(SelectionGeometry, SizeLabelPlacement) {
    // A label text of 48 × 14 points makes a pill of 60 × 20.
    const QSizeF text(48, 14);
    const LabelCase cases[] = {
        {"below the selection, centred", QRectF(100, 200, 300, 100), QSizeF(1440, 900), QRectF(220, 172, 60, 20)},
        {"above when the bottom edge is 20 points up", QRectF(100, 20, 300, 100), QSizeF(1440, 900),
         QRectF(220, 128, 60, 20)},
        {"room below exactly at the edge inset", QRectF(100, 32, 300, 100), QSizeF(1440, 900), QRectF(220, 4, 60, 20)},
        {"kept 4 points inside the right edge", QRectF(1400, 300, 40, 40), QSizeF(1440, 900),
         QRectF(1376, 272, 60, 20)},
        {"kept 4 points inside the left edge", QRectF(0, 300, 20, 40), QSizeF(1440, 900), QRectF(4, 272, 60, 20)},
        {"narrow view pins the pill to the left", QRectF(0, 300, 40, 40), QSizeF(50, 900), QRectF(4, 272, 60, 20)},
        {"whole-height selection keeps the label on screen", QRectF(100, 0, 300, 900), QSizeF(1440, 900),
         QRectF(220, 876, 60, 20)},
    };
    for (const LabelCase& c : cases)
        EXPECT_EQ(SelectionGeometry::labelPillRect(c.selection, text, c.viewSize), c.expectedPill) << c.name;
}

TEST(TextEditorPlacement, KeepsTheWindowInsideTheAvailableArea) {
    // A 1440 × 900 monitor whose bottom 25 points are taken by a panel.
    const QRectF available(0, 25, 1440, 875);
    const QSizeF window(500, 300);
    struct Case {
        const char* name;
        QPointF pointer;
        QRectF expected;
    } const cases[] = {
        {"bottom-left corner", QPointF(0, 25), QRectF(20, 45, 500, 300)},
        {"top-right corner", QPointF(1440, 900), QRectF(920, 580, 500, 300)},
        {"middle: centred 20 points below the pointer", QPointF(700, 600), QRectF(450, 280, 500, 300)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextEditorPlacement::frameNextToPointer(c.pointer, window, available), c.expected) << c.name;

    // On an area narrower than the window plus both offsets the right-edge rule runs last and wins.
    EXPECT_EQ(TextEditorPlacement::frameNextToPointer({200, 400}, window, QRectF(0, 0, 510, 900)).x(), -10);
    // An area that does not start at the origin.
    EXPECT_EQ(TextEditorPlacement::frameNextToPointer({1930, 40}, window, QRectF(1920, 0, 1280, 1024)),
              QRectF(1940, 20, 500, 300));
}

class DebugLogFileTest : public ::testing::Test {
protected:
    void SetUp() override { QFile::remove(DebugLogFile::path()); }
    void TearDown() override { ::unsetenv("QUILLORA_DEBUG_LOG"); }
};

TEST_F(DebugLogFileTest, WritesNothingUnlessAskedTo) {
    ::unsetenv("QUILLORA_DEBUG_LOG");
    DebugLogFile::append(QStringLiteral("🖱️ mouseDown called at {1, 2}"));
    EXPECT_FALSE(QFileInfo::exists(DebugLogFile::path()));
}

TEST_F(DebugLogFileTest, AppendsStampedLinesToAPrivateFile) {
    ::setenv("QUILLORA_DEBUG_LOG", "1", 1);
    DebugLogFile::append(QStringLiteral("first"));
    DebugLogFile::append(QStringLiteral("📤 second"));

    QFile file(DebugLogFile::path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].contains(QRegularExpression(QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\] first$"))))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("] 📤 second")));
    EXPECT_EQ(lines[2], QString());
    EXPECT_EQ(file.permissions() &
                  (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup | QFileDevice::WriteOther),
              QFileDevice::Permissions());
    EXPECT_TRUE(DebugLogFile::path().startsWith(qEnvironmentVariable("XDG_STATE_HOME") + QStringLiteral("/Quillora/")));
}

TEST_F(DebugLogFileTest, NeverWritesThroughAPlantedLink) {
    ::setenv("QUILLORA_DEBUG_LOG", "1", 1);
    QDir().mkpath(QFileInfo(DebugLogFile::path()).path());
    const QString victim = QDir::tempPath() + QStringLiteral("/quillora-link-victim-") +
                           QString::number(QCoreApplication::applicationPid());
    {
        QFile target(victim);
        ASSERT_TRUE(target.open(QIODevice::WriteOnly));
        target.write("precious");
    }
    ASSERT_TRUE(QFile::link(victim, DebugLogFile::path()));

    DebugLogFile::append(QStringLiteral("redirected?"));

    QFile target(victim);
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), QByteArray("precious"));
    QFile::remove(DebugLogFile::path());
    QFile::remove(victim);
}
