#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ManualEventLoop.h"

namespace zeb2hart::platform {
namespace {

using std::chrono::milliseconds;

TEST(ManualEventLoop, PostedWorkRunsOnlyWhenAsked)
{
    ManualEventLoop loop;
    std::vector<int> ran;
    loop.post([&] {
        ran.push_back(1);
        loop.post([&] { ran.push_back(2); });
    });
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(loop.runPending(), 2u);
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
}

TEST(ManualEventLoop, TimersFireInDueOrderAndNotBeforeTheirTime)
{
    ManualEventLoop loop;
    std::vector<std::string> fired;
    loop.startTimer(milliseconds(300), [&] { fired.push_back("300@" + std::to_string(loop.now().count())); });
    loop.startTimer(milliseconds(100), [&] { fired.push_back("100@" + std::to_string(loop.now().count())); });
    loop.advance(milliseconds(99));
    EXPECT_TRUE(fired.empty());
    loop.advance(milliseconds(1));
    EXPECT_EQ(fired, (std::vector<std::string>{"100@100"}));
    loop.advance(milliseconds(1000));
    EXPECT_EQ(fired, (std::vector<std::string>{"100@100", "300@300"}));
    EXPECT_EQ(loop.now(), milliseconds(1100));
    EXPECT_EQ(loop.pendingTimers(), 0u);
}

TEST(ManualEventLoop, CancelledTimerNeverFiresAndTimerStartedByATimerIsHonoured)
{
    ManualEventLoop loop;
    int cancelledRuns = 0;
    int chained = 0;
    const auto id = loop.startTimer(milliseconds(10), [&] { ++cancelledRuns; });
    loop.cancelTimer(id);
    loop.cancelTimer(9999); // unknown ids are ignored
    loop.startTimer(milliseconds(10), [&] { loop.startTimer(milliseconds(10), [&] { ++chained; }); });
    loop.advance(milliseconds(25));
    EXPECT_EQ(cancelledRuns, 0);
    EXPECT_EQ(chained, 1);
}

} // namespace
} // namespace zeb2hart::platform
