#include "capture/ScreenCaptureService.h"

#include "platform/fake/FakeDisplayCapture.h"

#include <QColor>
#include <QThread>

#include <gtest/gtest.h>

// One monitor captured whole, and the permission check's lines, are seen through CaptureSessionControllerTest and
// AppDelegateTest.

namespace {

QImage imageOf(const Monitor& d, QColor color)
{
    QImage image(d.pixelSize(), QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QList<quint32> ids(const CapturedImages& images)
{
    QList<quint32> result;
    for (const CapturedDisplay& captured : images)
        result.append(captured.display.id);
    return result;
}

} // namespace

// The fake holds every capture until three run at once: a service capturing one monitor after the other would
// see at most one in flight (each waiting out the time-out). A monitor that fails is left out.
TEST(ScreenCaptureService, SeveralMonitorsAreCapturedInParallelOffTheCallingThread)
{
    FakeDisplayCapture capture;
    const QList<Monitor> displays = {
        Monitor{1, QStringLiteral("DP-1"), {0, 0, 1920, 1080}},
        Monitor{2, QStringLiteral("DP-2"), {1920, 0, 1280, 1024}},
        Monitor{3, QStringLiteral("HDMI-1"), {3200, 0, 1440, 900}, 2.0},
    };
    const QList<QColor> colors = {Qt::red, Qt::green, Qt::blue};
    capture.addDisplay(displays[0], QImage());
    for (int i = 1; i < displays.size(); ++i)
        capture.addDisplay(displays[i], imageOf(displays[i], colors[i]));
    capture.setRendezvous(3);

    const CapturedImages images = ScreenCaptureService(capture).captureAllScreens();
    EXPECT_EQ(capture.maxCallsInFlight(), 3);
    ASSERT_EQ(ids(images), (QList<quint32>{2, 3}));
    for (int i = 0; i < images.size(); ++i) {
        EXPECT_EQ(images[i].image.size(), displays[i + 1].pixelSize());
        EXPECT_EQ(images[i].image.pixelColor(0, 0), colors[i + 1]);
    }
    for (const FakeDisplayCapture::Call& call : capture.calls())
        EXPECT_NE(call.thread, QThread::currentThreadId());
}

// A lone monitor takes its own path.
TEST(ScreenCaptureService, ALoneFailedMonitorLeavesNothing)
{
    FakeDisplayCapture alone;
    alone.addDisplay(Monitor{1, QStringLiteral("DP-1"), {0, 0, 1920, 1080}}, QImage());
    EXPECT_TRUE(ScreenCaptureService(alone).captureAllScreens().isEmpty());
}
