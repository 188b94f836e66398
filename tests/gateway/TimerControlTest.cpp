#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <sstream>

#include "fdt/Errors.h"
#include "gateway/clsTimerControl.h"
#include "platform/ManualEventLoop.h"

namespace zeb2hart::gateway {
namespace {

using namespace std::chrono_literals;

class TimerControlTest : public ::testing::Test {
protected:
    TimerControlTest() { m_timer.TimerEvent = [this] { ++m_events; }; }
    std::shared_ptr<platform::ManualEventLoop> m_loop = std::make_shared<platform::ManualEventLoop>();
    clsTimerControl m_timer{m_loop};
    int m_events = 0;
};

TEST_F(TimerControlTest, StartsIdle)
{
    EXPECT_EQ(m_timer.Interval(), 0);
    EXPECT_TRUE(m_timer.Enabled());
    EXPECT_EQ(m_timer.Index(), 0);
    m_loop->advance(24h);
    EXPECT_EQ(m_events, 0);
    EXPECT_EQ(m_loop->pendingTimers(), 0u);
    EXPECT_STREQ(frmTimerControl::Caption, "Invisible Timer-Contol Form");
}

// Each scenario runs on a new timer; its steps, separated by blanks: "i<ms>" sets the
// interval, "e0" or "e1" switches Enabled, "a<ms>" lets the time pass and "a<ms>:<n>"
// expects n expiries so far afterwards.
TEST_F(TimerControlTest, Scenarios)
{
    const std::pair<const char*, const char*> scenarios[] = {
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

TEST_F(TimerControlTest, HandlerSettingZeroStopsFurtherExpiriesAndANegativeIntervalIsRefused)
{
    m_timer.TimerEvent = [this] {
        ++m_events;
        m_timer.Interval(0);
    };
    m_timer.Interval(200);
    m_loop->advance(10s);
    EXPECT_EQ(m_events, 1);
    EXPECT_EQ(m_timer.Interval(), 0);
    EXPECT_EQ(m_loop->pendingTimers(), 0u);

    m_timer.Interval(100);
    EXPECT_THROW(m_timer.Interval(-1000), fdt::Error);
    EXPECT_EQ(m_timer.Interval(), 100);
    m_loop->advance(100ms);
    EXPECT_EQ(m_events, 2);
}

TEST_F(TimerControlTest, NoListenerIsHarmless)
{
    m_timer.TimerEvent = nullptr;
    m_timer.Interval(10);
    m_timer.Tag("TimeoutTimer");
    EXPECT_NO_THROW(m_loop->advance(100ms));
}

TEST(TimerControlLifetime, DestroyedTimerLeavesNothingBehind)
{
    auto loop = std::make_shared<platform::ManualEventLoop>();
    int events = 0;
    {
        clsTimerControl timer(loop);
        timer.TimerEvent = [&events] { ++events; };
        timer.Interval(100);
        EXPECT_EQ(loop->pendingTimers(), 1u);
    }
    EXPECT_EQ(loop->pendingTimers(), 0u);
    loop->advance(1s);
    EXPECT_EQ(events, 0);

    // The form underneath fires its own event every interval.
    frmTimerControl form(loop);
    form.OnEvent = [&events] { ++events; };
    form.Interval(50);
    loop->advance(120ms);
    EXPECT_EQ(events, 2);
}

} // namespace
} // namespace zeb2hart::gateway
