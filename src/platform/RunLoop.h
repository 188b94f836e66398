#pragma once
// EventLoop on the steady clock for the command-line frame: run() executes
// posted work and sleeps until the next timer, returning when nothing is left
// or stop() was called.
// Only the thread that runs it calls it.

#include <deque>
#include <map>

#include "../fdt/Export.h"
#include "EventLoop.h"

namespace zeb2hart::platform {

class ZEB2HART_API RunLoop final : public EventLoop {
public:
    RunLoop();
    void post(Callback callback) override;
    TimerId startTimer(std::chrono::milliseconds delay, Callback callback) override;
    void cancelTimer(TimerId id) override;
    std::chrono::milliseconds now() const override;

    void run();
    // Runs until `done` returns true, nothing is left to do, or `limit` has passed.
    // Returns done().
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
    void stop() { m_stopped = true; }

private:
    bool runOnce(std::chrono::milliseconds deadline);
    std::chrono::steady_clock::time_point m_start;
    TimerId m_nextId = 1;
    std::multimap<std::chrono::milliseconds, std::pair<TimerId, Callback>> m_timers;
    std::deque<Callback> m_posted;
    bool m_stopped = false;
};

} // namespace zeb2hart::platform
