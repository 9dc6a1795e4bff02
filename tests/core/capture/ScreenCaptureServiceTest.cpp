#include "core/capture/ScreenCaptureService.h"

#include "platform/fake/FakeDisplayCapture.h"

#include <gtest/gtest.h>

// The fake holds every capture until three run at once: a service capturing one monitor after the other would
// see at most one in flight (each waiting out the time-out). A monitor that fails is left out.
TEST(ScreenCaptureService, SeveralMonitorsAreCapturedInParallel)
{
    FakeDisplayCapture capture;
    const QImage still(4, 4, QImage::Format_RGB32);
    capture.addDisplay(Monitor{1, QStringLiteral("DP-1"), {0, 0, 1920, 1080}}, QImage());
    capture.addDisplay(Monitor{2, QStringLiteral("DP-2"), {1920, 0, 1280, 1024}}, still);
    capture.addDisplay(Monitor{3, QStringLiteral("HDMI-1"), {3200, 0, 1440, 900}, 2.0}, still);
    capture.setRendezvous(3);

    const CapturedImages images = ScreenCaptureService(capture).captureAllScreens();
    EXPECT_EQ(capture.maxCallsInFlight(), 3);
    ASSERT_EQ(images.size(), 2);
    EXPECT_EQ(images[0].display.id, 2u);
    EXPECT_EQ(images[1].display.id, 3u);
}
