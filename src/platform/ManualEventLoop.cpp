#include "platform/ManualEventLoop.h"

#include <algorithm>

namespace zeb2hart::platform {

void ManualEventLoop::post(Callback callback)
{
    m_posted.push_back(std::move(callback));
}

EventLoop::TimerId ManualEventLoop::startTimer(std::chrono::milliseconds delay, Callback callback)
{
    const TimerId id = m_nextId++;
    // A timer that would be due after the end of the clock is due at its end.
    delay = std::clamp(delay, std::chrono::milliseconds{0}, std::chrono::milliseconds::max() - m_now);
    m_timers.emplace(id, Timer{m_now + delay, id, std::move(callback)});
    return id;
}

void ManualEventLoop::cancelTimer(TimerId id)
{
    m_timers.erase(id);
}

std::size_t ManualEventLoop::runPending()
{
    std::size_t count = 0;
    while (!m_posted.empty()) {
        Callback next = std::move(m_posted.front());
        m_posted.pop_front();
        next();
        ++count;
    }
    return count;
}

void ManualEventLoop::advance(std::chrono::milliseconds by)
{
    const auto target = m_now + by;
    runPending();
    for (;;) {
        // The earliest due timer; equal due times fire in the order they were started.
        auto next = m_timers.end();
        for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
            if (it->second.due <= target && (next == m_timers.end() || it->second.due < next->second.due))
                next = it;
        }
        if (next == m_timers.end())
            break;
        m_now = std::max(m_now, next->second.due);
        Callback callback = std::move(next->second.callback);
        m_timers.erase(next);
        callback();
        runPending();
    }
    m_now = target;
}

} // namespace zeb2hart::platform
