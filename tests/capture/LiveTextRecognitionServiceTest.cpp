#include "capture/LiveTextRecognitionService.h"

#include "LogCapture.h"
#include "platform/fake/FakeTextRecognizer.h"

#include <QImage>
#include <QThread>
#include <QtCore/qtestsupport_core.h>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

QImage sampleImage()
{
    QImage image(60, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

} // namespace

// An engine's error, and the text it then delivers, are seen through CaptureSessionControllerTest.
TEST(LiveTextRecognitionService, DeliversOnceOnTheMainThreadAfterReturning)
{
    FakeTextRecognizer engine;
    engine.setText(QStringLiteral("first line\nsecond line"));
    LiveTextRecognitionService service(engine);
    LogCapture log;
    QStringList deliveries;
    const Qt::HANDLE mainThread = QThread::currentThreadId();
    const auto record = [&](QString text) {
        EXPECT_EQ(QThread::currentThreadId(), mainThread);
        deliveries.append(text);
    };

    service.recognizeText(sampleImage(), record);
    EXPECT_TRUE(deliveries.isEmpty()); // never synchronously, even when there is nothing to do
    ASSERT_TRUE(QTest::qWaitFor([&] { return deliveries.size() == 1; }));
    service.recognizeText(QImage(), record);
    EXPECT_EQ(deliveries.size(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return deliveries.size() == 2; }));
    QTest::qWait(50);

    EXPECT_EQ(deliveries, (QStringList{QStringLiteral("first line\nsecond line"), QString()}));
    EXPECT_EQ(log.outLines(), QStringList{QStringLiteral("Text recognition error: the image is empty")});
    ASSERT_EQ(engine.calls().size(), 1) << "an empty image never reaches the engine";
    EXPECT_NE(engine.calls().first().thread, QThread::currentThreadId());
}

TEST(LiveTextRecognitionService, RunsAtMostTwoAtOnceAndAnswersEveryRequest)
{
    FakeTextRecognizer engine;
    engine.setText(QStringLiteral("text"));
    engine.hold();
    LiveTextRecognitionService service(engine);
    int delivered = 0;
    for (int i = 0; i < 4; ++i)
        service.recognizeText(sampleImage(), [&](QString) { ++delivered; });

    ASSERT_TRUE(engine.waitUntilStarted(2));
    EXPECT_FALSE(engine.waitUntilStarted(3, std::chrono::milliseconds(200)));
    engine.release();
    EXPECT_TRUE(QTest::qWaitFor([&] { return delivered == 4; }));
}

// Requests still queued or running when the service goes must neither crash nor call back into objects that
// are gone with it.
TEST(LiveTextRecognitionService, DestroyedWithWorkPendingCallsNothing)
{
    FakeTextRecognizer engine;
    engine.setText(QStringLiteral("late"));
    engine.setDelay(std::chrono::milliseconds(100));
    auto service = std::make_unique<LiveTextRecognitionService>(engine);
    int delivered = 0;
    for (int i = 0; i < 4; ++i)
        service->recognizeText(sampleImage(), [&](QString) { ++delivered; });
    ASSERT_TRUE(engine.waitUntilStarted(1));
    service.reset();
    EXPECT_LE(engine.started(), 2); // queued requests were dropped, not run
    EXPECT_EQ(engine.finished(), engine.started());
    QTest::qWait(50);
    EXPECT_EQ(delivered, 0);
}

TEST(LiveTextRecognitionService, WarmUpRunsOffTheMainThreadAndReportsFailure)
{
    FakeTextRecognizer engine;
    engine.setError(QStringLiteral("no language data"));
    LogCapture log;
    LiveTextRecognitionService service(engine);
    service.warmUp();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !engine.warmUps().isEmpty() && !log.systemLines().isEmpty(); }));
    EXPECT_NE(engine.warmUps().first(), QThread::currentThreadId());
    EXPECT_EQ(log.systemLines(), QStringList{QStringLiteral("⚠️ Text recognition is not ready: no language data")});
}
