// The response time-out's timer on a manual event loop: time moves only when told.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <sstream>

#include "fdt/Errors.h"
#include "gateway/clsTimerControl.h"
#include "platform/ManualEventLoop.h"

namespace zeb2hart::test {
namespace {

using namespace std::chrono_literals;
using gateway::clsTimerControl;

class TimerControlTest : public ::testing::Test {
protected:
    TimerControlTest() { m_timer.TimerEvent = [this] { ++m_events; }; }
    std::shared_ptr<platform::ManualEventLoop> m_loop = std::make_shared<platform::ManualEventLoop>();
    clsTimerControl m_timer{m_loop};
    int m_events = 0;
};

// Each scenario runs on a new timer; its steps, separated by blanks: "i<ms>" sets the
// interval, "e0" or "e1" switches Enabled, "a<ms>" lets the time pass and "a<ms>:<n>"
// expects n expiries so far afterwards.
TEST_F(TimerControlTest, Scenarios)
{
    const std::pair<const char*, const char*> scenarios[] = {
        {"a new timer is idle and enabled", "a86400000:0"},
        {"interval 0 never expires, whatever Enabled says", "e0 i0 e1 a3600000:0"},
        {"fires every interval until disabled", "i1000 a999:0 a1:1 a1000:2 a3500:5 e0 a10000:5"},
        {"disabled does not run until enabled", "e0 i500 a2000:0 e1 a499:0 a1:1"},
        {"rearming restarts the full interval", "i3000 a2000 e0 i3000 e1 a2999:0 a1:1"},
        {"setting the interval restarts the countdown", "i1000 a900 i1000 a900:0 a100:1"},
    };
    for (const auto& [name, steps] : scenarios) {
        SCOPED_TRACE(name);
        auto loop = std::make_shared<platform::ManualEventLoop>();
        clsTimerControl timer(loop);
        EXPECT_EQ(timer.Interval(), 0);
        EXPECT_TRUE(timer.Enabled());
        int events = 0;
        timer.TimerEvent = [&events] { ++events; };
        std::istringstream in(steps);
        for (std::string step; in >> step;) {
            const int value = std::stoi(step.substr(1));
            if (step[0] == 'i')
                timer.Interval(value);
            else if (step[0] == 'e')
                timer.Enabled(value != 0);
            else
                loop->advance(std::chrono::milliseconds(value));
            if (const auto colon = step.find(':'); colon != std::string::npos) {
                EXPECT_EQ(events, std::stoi(step.substr(colon + 1))) << step;
            }
        }
    }
}

TEST_F(TimerControlTest, NegativeIntervalIsRefusedAndNoListenerIsHarmless)
{
    m_timer.Interval(100);
    EXPECT_THROW(m_timer.Interval(-1000), fdt::Error);
    EXPECT_EQ(m_timer.Interval(), 100);
    m_loop->advance(100ms);
    EXPECT_EQ(m_events, 1);
    m_timer.TimerEvent = nullptr;
    EXPECT_NO_THROW(m_loop->advance(100ms));
}

TEST_F(TimerControlTest, DestroyedTimerLeavesNothingBehind)
{
    int events = 0;
    {
        clsTimerControl timer(m_loop);
        timer.TimerEvent = [&events] { ++events; };
        timer.Interval(100);
        EXPECT_EQ(m_loop->pendingTimers(), 1u);
    }
    EXPECT_EQ(m_loop->pendingTimers(), 0u);
    m_loop->advance(1s);
    EXPECT_EQ(events, 0);
}

} // namespace
} // namespace zeb2hart::test
