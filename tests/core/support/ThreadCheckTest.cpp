#include "TestStores.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

// A store changed from a thread not its own stops the program at the call, rather than corrupting the store and
// showing up somewhere else much later.
TEST(ThreadCheckDeathTest, StoresRefuseChangesFromAnotherThread)
{
#if !defined(QUILLORA_CHECK_THREADS) && defined(QT_NO_DEBUG)
    GTEST_SKIP() << "built without QUILLORA_CHECK_THREADS and without Qt's assertions";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TestStores stores;
    AppSettings& settings = stores.settings;
    HistoryManager& history = stores.history;
    const auto fromAnotherThread = [](const std::function<void()>& change) { std::thread(change).join(); };

    EXPECT_DEATH(fromAnotherThread([&] { settings.setApiPort(1); }), "AppSettings::assign.*belongs to the main thread");
    EXPECT_DEATH(fromAnotherThread([&] { history.clearHistory(); }),
                 "HistoryManager::clearHistory.*belongs to the main thread");
}
