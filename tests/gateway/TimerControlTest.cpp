#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "fdt/Errors.h"
#include "gateway/clsTimerControl.h"
#include "platform/ManualEventLoop.h"

namespace zeb2hart::gateway {
namespace {

using namespace std::chrono_literals;

class TimerControlTest : public ::testing::Test {
protected:
    TimerControlTest()
    {
        m_timer.TimerEvent = [this] { ++m_events; };
    }
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

TEST_F(TimerControlTest, IntervalZeroNeverExpiresWhateverEnabledSays)
{
    m_timer.Enabled(false);
    m_timer.Interval(0);
    m_timer.Enabled(true);
    m_loop->advance(1h);
    EXPECT_EQ(m_events, 0);
}

TEST_F(TimerControlTest, FiresEveryIntervalUntilDisabled)
{
    m_timer.Interval(1000);
    m_loop->advance(999ms);
    EXPECT_EQ(m_events, 0);
    m_loop->advance(1ms);
    EXPECT_EQ(m_events, 1);
    m_loop->advance(1000ms);
    EXPECT_EQ(m_events, 2);
    m_loop->advance(3500ms);
    EXPECT_EQ(m_events, 5);
    m_timer.Enabled(false);
    m_loop->advance(10s);
    EXPECT_EQ(m_events, 5);
}

TEST_F(TimerControlTest, DisabledTimerDoesNotRunUntilEnabled)
{
    m_timer.Enabled(false);
    m_timer.Interval(500);
    m_loop->advance(2s);
    EXPECT_EQ(m_events, 0);
    m_timer.Enabled(true);
    m_loop->advance(499ms);
    EXPECT_EQ(m_events, 0);
    m_loop->advance(1ms);
    EXPECT_EQ(m_events, 1);
}

TEST_F(TimerControlTest, RearmingRestartsTheFullInterval)
{
    m_timer.Interval(3000);
    m_loop->advance(2000ms);
    m_timer.Enabled(false);
    m_timer.Interval(3000);
    m_timer.Enabled(true);
    m_loop->advance(2999ms);
    EXPECT_EQ(m_events, 0);
    m_loop->advance(1ms);
    EXPECT_EQ(m_events, 1);
}

TEST_F(TimerControlTest, SettingTheIntervalRestartsTheCountdown)
{
    m_timer.Interval(1000);
    m_loop->advance(900ms);
    m_timer.Interval(1000);
    m_loop->advance(900ms);
    EXPECT_EQ(m_events, 0);
    m_loop->advance(100ms);
    EXPECT_EQ(m_events, 1);
}

TEST_F(TimerControlTest, HandlerSettingZeroStopsFurtherExpiries)
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
}

TEST_F(TimerControlTest, NegativeIntervalIsRefused)
{
    m_timer.Interval(100);
    EXPECT_THROW(m_timer.Interval(-1000), fdt::Error);
    EXPECT_EQ(m_timer.Interval(), 100);
    m_loop->advance(100ms);
    EXPECT_EQ(m_events, 1);
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
}

TEST(TimerForm, TagAndEvent)
{
    auto loop = std::make_shared<platform::ManualEventLoop>();
    frmTimerControl form(loop);
    form.Tag("T1");
    EXPECT_EQ(form.Tag(), "T1");
    int events = 0;
    form.OnEvent = [&events] { ++events; };
    form.Interval(50);
    loop->advance(120ms);
    EXPECT_EQ(events, 2);
}

} // namespace
} // namespace zeb2hart::gateway
