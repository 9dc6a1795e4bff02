#include "platform/linux/InlineOpenMPSections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

extern "C" void runProbeSections(void (*record)(int section, int level));

namespace {

using Runs = std::vector<std::pair<int, int>>; // section, OpenMP level, in the order they ran

std::mutex runsMutex;
Runs runs;
std::set<std::thread::id> threads;

void record(int section, int level)
{
    std::lock_guard lock(runsMutex);
    runs.emplace_back(section, level);
    threads.insert(std::this_thread::get_id());
}

Runs probeOnNewThread(bool inlineSections)
{
    runs.clear();
    threads.clear();
    std::thread([=] {
        if (inlineSections)
            InlineOpenMPSections::enableOnCallingThread();
        runProbeSections(record);
    }).join();
    return runs;
}

} // namespace

TEST(InlineOpenMPSectionsTest, EnabledThreadRunsEverySectionInOrderItselfOthersGoThroughLibgomp)
{
    // Level 0: libgomp opened no region.
    EXPECT_EQ(probeOnNewThread(true), (Runs{{1, 0}, {2, 0}, {3, 0}}));
    EXPECT_EQ(threads.size(), 1u);

    Runs others = probeOnNewThread(false);
    std::sort(others.begin(), others.end());
    EXPECT_EQ(others, (Runs{{1, 1}, {2, 1}, {3, 1}}));
}
