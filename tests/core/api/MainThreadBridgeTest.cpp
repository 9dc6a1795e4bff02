// The server thread's way into the main thread, on its own: stopping, and the work of a bridge that is gone.
#include "core/api/MainThreadBridge.h"
#include "ServerFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace std::chrono_literals;

// Its answers and time-outs through the server: HTTPAPIRoutes.WhileTheMainThreadIsBusy.
TEST(MainThreadBridge, StopWakesEveryWaiterAtOnceUntilResumed)
{
    // The main thread runs nothing meanwhile, as when it waits for the server thread to close.
    MainThreadBridge bridge;
    std::vector<int> answers(3, 0);
    std::vector<std::thread> waiters;
    QElapsedTimer waited;
    waited.start();
    for (int& answer : answers)
        waiters.emplace_back([&] { answer = bridge.waitFor(-1, 5000ms, [](HTTPAPIServerDelegate*) { return 7; }); });
    std::this_thread::sleep_for(100ms); // most likely all waiting by now; those that are not return at once
    bridge.stop();
    for (std::thread& waiter : waiters)
        waiter.join();
    EXPECT_LT(waited.elapsed(), 2000);
    EXPECT_EQ(answers, std::vector<int>(3, -1));

    bridge.resume();
    int answer = 0;
    runOffMainThread([&] { answer = bridge.waitFor(-1, 5000ms, [](HTTPAPIServerDelegate*) { return 7; }); });
    EXPECT_EQ(answer, 7);
}

TEST(MainThreadBridge, WorkOfABridgeThatIsGoneNeverRuns)
{
    bool ran = false;
    {
        MainThreadBridge bridge;
        bridge.post([&](HTTPAPIServerDelegate*) { ran = true; });
        bridge.postStoreChange([&] { ran = true; });
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
}
