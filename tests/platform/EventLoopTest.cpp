#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ManualEventLoop.h"

namespace zeb2hart::platform {
namespace {

using std::chrono::milliseconds;

TEST(ManualEventLoop, RunsPostedWorkAndDueTimersOnlyWhenAsked)
{
    ManualEventLoop loop;
    std::vector<std::string> ran;
    loop.post([&] {
        ran.push_back("post");
        loop.post([&] { ran.push_back("posted by a post"); });
    });
    loop.startTimer(milliseconds(300), [&] { ran.push_back("300@" + std::to_string(loop.now().count())); });
    loop.startTimer(milliseconds(100), [&] {
        ran.push_back("100@" + std::to_string(loop.now().count()));
        loop.startTimer(milliseconds(10), [&] { ran.push_back("started by a timer"); });
    });
    loop.cancelTimer(loop.startTimer(milliseconds(10), [&] { ran.push_back("cancelled"); }));
    loop.cancelTimer(9999); // unknown ids are ignored
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(loop.runPending(), 2u);
    loop.advance(milliseconds(99));
    EXPECT_EQ(ran.size(), 2u);
    loop.advance(milliseconds(1));
    loop.advance(milliseconds(1000));
    EXPECT_EQ(ran, (std::vector<std::string>{"post", "posted by a post", "100@100", "started by a timer", "300@300"}));
    EXPECT_EQ(loop.now(), milliseconds(1100));
    EXPECT_EQ(loop.pendingTimers(), 0u);
}

} // namespace
} // namespace zeb2hart::platform
