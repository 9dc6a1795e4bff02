// The server thread's way into the main thread, on its own: the work of a bridge that is gone.
#include "core/api/MainThreadBridge.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

// Its answers, time-outs and waiters woken by a stop: HTTPAPIRoutes.WhileTheMainThreadIsBusy,
// HTTPAPITransport.ATakenPortAndStop.
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
