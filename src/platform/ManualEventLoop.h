#pragma once
// EventLoop for tests and frame scripts: nothing runs until the owner calls
// runPending() or advance(), and its clock moves only by advance().
// One thread drives and calls it: the test's or the script runner's.

#include <map>
#include <deque>

#include "../fdt/Export.h"
#include "EventLoop.h"

namespace zeb2hart::platform {

class ZEB2HART_API ManualEventLoop final : public EventLoop {
public:
    void post(Callback callback) override;
    TimerId startTimer(std::chrono::milliseconds delay, Callback callback) override;
    void cancelTimer(TimerId id) override;
    std::chrono::milliseconds now() const override { return m_now; }

    // Runs posted work (including work posted while running) until none is left.
    // Returns the number of callbacks run.
    std::size_t runPending();
    // Moves the clock forward, firing due timers in time order, each followed by
    // the posted work it caused.
    void advance(std::chrono::milliseconds by);
    std::size_t pendingTimers() const { return m_timers.size(); }

private:
    struct Timer {
        std::chrono::milliseconds due;
        TimerId id;
        Callback callback;
    };
    std::chrono::milliseconds m_now{0};
    TimerId m_nextId = 1;
    std::map<TimerId, Timer> m_timers;
    std::deque<Callback> m_posted;
};

} // namespace zeb2hart::platform
