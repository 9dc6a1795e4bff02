#include "platform/linux/X11DisplayCapture.h"
#include <QGuiApplication>

#include "X11TestSupport.h"

#include <gtest/gtest.h>

using X11TestSupport::ColourWindow;
using X11TestSupport::waitUntil;

// The suite runs on a 3840x1080 virtual screen split into two RandR monitors, LEFT and RIGHT.
class X11DisplayCaptureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(waitUntil([] { return QGuiApplication::screens().size() == 2; }));
        m_displays = m_capture.displays();
        ASSERT_EQ(m_displays.size(), 2);
    }

    // Shows a coloured window and waits until the monitor's image shows it at its device pixels.
    void show(ColourWindow& window, const Monitor& display)
    {
        window.show();
        const QPointF local = (window.geometry().topLeft() - display.geometry.topLeft()) * display.devicePixelRatio;
        const QPoint inside = local.toPoint() + QPoint(5, 5);
        ASSERT_TRUE(waitUntil([&] {
            const QImage image = m_capture.captureDisplay(display);
            return !image.isNull() && image.pixelColor(inside) == window.colour();
        })) << display.name.toStdString();
    }

    X11DisplayCapture m_capture;
    QList<Monitor> m_displays;
};

TEST_F(X11DisplayCaptureTest, MonitorsKeepTheirSizeAsTheScreenShrinksAndGrows)
{
    ColourWindow red(QRect(3840 - 60, 1080 - 40, 60, 40), Qt::red);
    ColourWindow green(QRect(1920 + 10, 10, 50, 50), Qt::green);
    show(green, m_displays[1]);

    // Connections opened at the old size must not read beyond a shrunk screen's edge (the server refuses) nor
    // stop short of it once the screen is back (xrandr complains that the monitors no longer fit, but resizes).
    X11TestSupport::run(QStringLiteral("xrandr"), {"--fb", "3000x1080"});
    const QImage cut = m_capture.captureDisplay(m_displays[1]);
    X11TestSupport::run(QStringLiteral("xrandr"), {"--fb", "3840x1080"});
    ASSERT_EQ(cut.size(), QSize(1920, 1080));
    EXPECT_EQ(cut.pixelColor(20, 20), QColor(Qt::green));
    EXPECT_EQ(cut.pixelColor(1500, 500), QColor(Qt::black)) << "beyond the screen's edge";
    show(red, m_displays[1]);
}

// Registered a second time with QT_SCREEN_SCALE_FACTORS="LEFT=2;RIGHT=1.5": each monitor is mapped with its own
// scale factor, and its image has its device pixels.
TEST_F(X11DisplayCaptureTest, MonitorsWithTheirOwnScaleFactors)
{
    if (qEnvironmentVariable("QT_SCREEN_SCALE_FACTORS") != QStringLiteral("LEFT=2;RIGHT=1.5"))
        GTEST_SKIP() << "needs the scaled desktop";
    EXPECT_EQ(m_displays[0].geometry, QRect(0, 0, 960, 540));
    EXPECT_EQ(m_displays[1].geometry, QRect(1920, 0, 1280, 720));

    // Logical positions: 100,50 on the 2x monitor is pixel 200,100; 100,200 into the 1.5x one is pixel 150,300
    // (show() waits for them there); their far corners show the windows' sizes in device pixels.
    ColourWindow red(QRect(100, 50, 40, 30), Qt::red);
    ColourWindow blue(QRect(1920 + 100, 200, 40, 40), Qt::blue);
    show(red, m_displays[0]);
    show(blue, m_displays[1]);

    const QImage left = m_capture.captureDisplay(m_displays[0]);
    const QImage right = m_capture.captureDisplay(m_displays[1]);
    ASSERT_EQ(left.size(), QSize(1920, 1080));
    ASSERT_EQ(right.size(), QSize(1920, 1080));
    EXPECT_EQ(left.pixelColor(279, 159), QColor(Qt::red));
    EXPECT_NE(left.pixelColor(281, 100), QColor(Qt::red));
    EXPECT_EQ(right.pixelColor(209, 359), QColor(Qt::blue));
    EXPECT_NE(right.pixelColor(211, 300), QColor(Qt::blue));
}

TEST_F(X11DisplayCaptureTest, ImagesKeepTheirPixelsWhileLaterCapturesReuseMemory)
{
    const Monitor& left = m_displays[0];
    ColourWindow red(QRect(40, 30, 80, 60), Qt::red);
    show(red, left);
    const QImage withRed = m_capture.captureDisplay(left);

    ColourWindow blue(QRect(40, 30, 80, 60), Qt::blue);
    show(blue, left);
    // More images alive at once than the capture keeps memory for: each needs memory of its own.
    QList<QImage> held;
    for (int i = 0; i < 4; ++i)
        held.append(m_capture.captureDisplay(left));
    for (const QImage& image : held)
        EXPECT_EQ(image.pixelColor(50, 40), QColor(Qt::blue));
    EXPECT_EQ(withRed.pixelColor(50, 40), QColor(Qt::red)) << "a later capture wrote into an image still in use";
}
