#include "core/capture/LiveTextRecognitionService.h"

#include "platform/fake/FakeTextRecognizer.h"

#include <QCoreApplication>
#include <QImage>
#include <QThread>
#include <QtCore/qtestsupport_core.h>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const QImage sampleImage(60, 20, QImage::Format_RGB32);

} // namespace

TEST(LiveTextRecognitionService, RunsAtMostTwoAtOnceAndAnswersEveryRequestOnceOnTheMainThread)
{
    FakeTextRecognizer engine;
    engine.setText(QStringLiteral("text"));
    engine.hold();
    LiveTextRecognitionService service(engine);
    QStringList deliveries;
    for (int i = 0; i < 4; ++i)
        service.recognizeText(sampleImage, [&](QString text) {
            EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
            deliveries.append(text);
        });

    ASSERT_TRUE(engine.waitUntilStarted(2));
    EXPECT_FALSE(engine.waitUntilStarted(3, std::chrono::milliseconds(200)));
    engine.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return deliveries.size() == 4; }));
    QTest::qWait(50);
    EXPECT_EQ(deliveries, QStringList(4, QStringLiteral("text")));
    for (const FakeTextRecognizer::Call& call : engine.calls())
        EXPECT_NE(call.thread, QThread::currentThreadId());
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
        service->recognizeText(sampleImage, [&](QString) { ++delivered; });
    ASSERT_TRUE(engine.waitUntilStarted(1));
    service.reset();
    EXPECT_LE(engine.started(), 2); // queued requests were dropped, not run
    EXPECT_EQ(engine.finished(), engine.started());
    QTest::qWait(50);
    EXPECT_EQ(delivered, 0);
}

// Spare engines go after an idle time without recognitions; one still running is never idle, or its engine would go.
TEST(LiveTextRecognitionService, SpareEnginesGoAfterAnIdleTimeButNeverWhileReading)
{
    FakeTextRecognizer engine;
    engine.setText(QStringLiteral("text"));
    LiveTextRecognitionService service(engine);
    service.setSpareEnginesIdleTime(std::chrono::milliseconds(600));
    int delivered = 0;
    const auto recognize = [&] { service.recognizeText(sampleImage, [&](const QString&) { ++delivered; }); };

    recognize();
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered == 1; }));
    engine.hold();
    recognize();
    ASSERT_TRUE(engine.waitUntilStarted(2));
    QTest::qWait(900);
    EXPECT_EQ(engine.releases(), 0) << "released while reading";
    engine.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered == 2; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return engine.releases() == 1; }, 2000));
}
