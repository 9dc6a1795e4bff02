#include "capture/ScreenCaptureService.h"

#include "LogCapture.h"
#include "platform/fake/FakeDisplayCapture.h"

#include <QColor>
#include <QSet>
#include <QThread>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

Monitor display(quint32 id, const QString& name, const QRect& geometry, qreal ratio = 1.0)
{
    return Monitor{id, name, geometry, ratio};
}

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

TEST(ScreenCaptureService, OneMonitorIsCapturedOnTheCallingThread)
{
    FakeDisplayCapture capture;
    const Monitor retina = display(7, QStringLiteral("eDP-1"), {0, 0, 1440, 900}, 2.0);
    capture.addDisplay(retina, imageOf(retina, Qt::red));
    ScreenCaptureService service(capture);

    const CapturedImages images = service.captureAllScreens();
    ASSERT_EQ(ids(images), QList<quint32>{7});
    EXPECT_EQ(images.first().image.size(), QSize(2880, 1800));
    EXPECT_EQ(images.first().display.name, QStringLiteral("eDP-1"));
    ASSERT_EQ(capture.calls().size(), 1);
    EXPECT_EQ(capture.calls().first().thread, QThread::currentThreadId());
}

TEST(ScreenCaptureService, NothingCapturedGivesNothing)
{
    FakeDisplayCapture failing;
    failing.addDisplay(display(1, QStringLiteral("HDMI-1"), {0, 0, 800, 600}), QImage());
    EXPECT_TRUE(ScreenCaptureService(failing).captureAllScreens().isEmpty());

    FakeDisplayCapture none;
    EXPECT_TRUE(ScreenCaptureService(none).captureAllScreens().isEmpty());
    EXPECT_TRUE(none.calls().isEmpty());
}

// The fake holds every capture until three run at once: a service capturing one monitor after the other would
// see at most one in flight (each waiting out the time-out).
TEST(ScreenCaptureService, SeveralMonitorsAreCapturedInParallelOffTheCallingThread)
{
    FakeDisplayCapture capture;
    const QList<Monitor> displays = {
        display(1, QStringLiteral("DP-1"), {0, 0, 1920, 1080}),
        display(2, QStringLiteral("DP-2"), {1920, 0, 1280, 1024}),
        display(3, QStringLiteral("HDMI-1"), {3200, 0, 1440, 900}, 2.0),
    };
    const QList<QColor> colors = {Qt::red, Qt::green, Qt::blue};
    for (int i = 0; i < displays.size(); ++i)
        capture.addDisplay(displays[i], imageOf(displays[i], colors[i]));
    capture.setRendezvous(3);
    ScreenCaptureService service(capture);

    const CapturedImages images = service.captureAllScreens();
    EXPECT_EQ(capture.maxCallsInFlight(), 3);
    ASSERT_EQ(ids(images), (QList<quint32>{1, 2, 3}));
    for (int i = 0; i < images.size(); ++i) {
        EXPECT_EQ(images[i].image.size(), displays[i].pixelSize());
        EXPECT_EQ(images[i].image.pixelColor(0, 0), colors[i]);
    }
    QSet<Qt::HANDLE> threads;
    for (const FakeDisplayCapture::Call& call : capture.calls())
        threads.insert(call.thread);
    EXPECT_EQ(threads.size(), 3);
    EXPECT_FALSE(threads.contains(QThread::currentThreadId()));
}

TEST(ScreenCaptureService, AFailedMonitorIsLeftOutOfSeveral)
{
    FakeDisplayCapture capture;
    const Monitor left = display(1, QStringLiteral("DP-1"), {0, 0, 1920, 1080});
    const Monitor right = display(2, QStringLiteral("DP-2"), {1920, 0, 1920, 1080});
    capture.addDisplay(left, QImage());
    capture.addDisplay(right, imageOf(right, Qt::white));
    ScreenCaptureService service(capture);

    const CapturedImages images = service.captureAllScreens();
    EXPECT_EQ(ids(images), QList<quint32>{2});
    EXPECT_EQ(capture.calls().size(), 2);
}

TEST(ScreenCaptureService, PermissionCheckWritesItsLines)
{
    for (const bool allowed : {true, false}) {
        FakeDisplayCapture capture;
        capture.setCanCapture(allowed);
        ScreenCaptureService service(capture);
        LogCapture log;
        EXPECT_EQ(service.checkScreenRecordingPermission(), allowed);
        EXPECT_EQ(log.outLines(),
                  (QStringList{QStringLiteral("🔍 Checking Screen Recording permission..."),
                               allowed ? QStringLiteral("✅ Screen Recording: Permission granted")
                                       : QStringLiteral("❌ Screen Recording: Permission NOT granted")}));
    }
}
