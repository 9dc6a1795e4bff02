#include "platform/linux/InlineOpenMPSections.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

extern "C" void runProbeSections(void (*record)(int section, int level), bool nestInSecond);

namespace {

struct SectionRun {
    int section;
    int level;
    std::thread::id thread;
};

std::mutex runsMutex;
std::vector<SectionRun> runs;

void record(int section, int level)
{
    std::lock_guard lock(runsMutex);
    runs.push_back({section, level, std::this_thread::get_id()});
}

std::vector<SectionRun> probeOnNewThread(bool inlineSections, bool nest)
{
    runs.clear();
    std::thread([=] {
        if (inlineSections)
            InlineOpenMPSections::enableOnCallingThread();
        runProbeSections(record, nest);
    }).join();
    return runs;
}

} // namespace

TEST(InlineOpenMPSectionsTest, EnabledThreadRunsEverySectionInOrderItselfWithoutAnOpenMPRegion)
{
    const std::vector<SectionRun> seen = probeOnNewThread(true, false);
    ASSERT_EQ(seen.size(), 3u);
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].section, int(i) + 1);
        EXPECT_EQ(seen[i].level, 0) << "libgomp opened a region for section " << seen[i].section;
        EXPECT_EQ(seen[i].thread, seen.front().thread);
    }
}

TEST(InlineOpenMPSectionsTest, NestedRegionLeavesTheOuterRegionsSectionsToRun)
{
    const std::vector<SectionRun> seen = probeOnNewThread(true, true);
    std::vector<int> order;
    for (const SectionRun& run : seen)
        order.push_back(run.section);
    EXPECT_EQ(order, (std::vector<int>{1, 1, 2, 3, 2, 3}));
}

TEST(InlineOpenMPSectionsTest, OtherThreadsStillGoThroughLibgomp)
{
    const std::vector<SectionRun> seen = probeOnNewThread(false, false);
    ASSERT_EQ(seen.size(), 3u);
    int sections = 0;
    for (const SectionRun& run : seen) {
        sections |= 1 << run.section;
        EXPECT_EQ(run.level, 1);
    }
    EXPECT_EQ(sections, 0b1110);
}
