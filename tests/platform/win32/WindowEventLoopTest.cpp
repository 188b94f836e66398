// The Windows event loop: posted work and timers run only while the thread
// pumps its messages, in order, once each; a cancelled timer never runs, and
// work that throws does not stop the work after it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/WindowEventLoop.h"

namespace zeb2hart::platform {
namespace {

using namespace std::chrono_literals;

TEST(WindowEventLoop, PostedWorkAndTimersRunOnceInOrderWhileMessagesArePumped)
{
    WindowEventLoop loop;
    std::vector<std::string> ran;
    loop.post([&] { ran.push_back("first"); });
    loop.post([&] { throw std::runtime_error("escaped"); });
    loop.post([&] {
        ran.push_back("second");
        loop.post([&] { ran.push_back("posted by posted work"); });
    });
    const auto start = loop.now(); // before the timer is armed: it fires 40 ms after that at the earliest
    const auto late = loop.startTimer(40ms, [&] { ran.push_back("timer 40 ms"); });
    loop.startTimer(1ms, [&] { ran.push_back("timer 1 ms"); });
    const auto cancelled = loop.startTimer(5ms, [&] { ran.push_back("cancelled"); });
    loop.cancelTimer(cancelled);
    loop.cancelTimer(cancelled); // twice, and an unknown one, are ignored
    loop.cancelTimer(late + 100);
    EXPECT_TRUE(ran.empty()); // nothing runs inside the calls

    ASSERT_TRUE(loop.pumpUntil([&] { return ran.size() == 5; }, 5s)) << ran.size();
    EXPECT_GE(loop.now() - start, 40ms);
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "second", "posted by posted work", "timer 1 ms", "timer 40 ms"}));
    // A timer runs once; nothing else is left.
    EXPECT_FALSE(loop.pumpUntil([&] { return ran.size() > 5; }, 100ms));
}

TEST(WindowEventLoop, TwoLoopsOnOneThreadKeepTheirOwnWork)
{
    WindowEventLoop first;
    int ran = 0;
    {
        WindowEventLoop second;
        second.post([&] { ran += 10; });
        second.startTimer(1ms, [&] { ran += 100; });
    } // destroyed with its work pending: the work is dropped
    first.post([&] { ++ran; });
    EXPECT_TRUE(first.pumpUntil([&] { return ran > 0; }, 5s));
    EXPECT_FALSE(first.pumpUntil([&] { return ran != 1; }, 50ms));
    EXPECT_EQ(ran, 1);
}

} // namespace
} // namespace zeb2hart::platform
