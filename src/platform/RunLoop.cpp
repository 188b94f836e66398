#include "platform/RunLoop.h"

#include <thread>

namespace zeb2hart::platform {

using std::chrono::milliseconds;

RunLoop::RunLoop() : m_start(std::chrono::steady_clock::now()) {}

void RunLoop::post(Callback callback)
{
    m_posted.push_back(std::move(callback));
}

EventLoop::TimerId RunLoop::startTimer(milliseconds delay, Callback callback)
{
    const TimerId id = m_nextId++;
    m_timers.emplace(now() + std::max(delay, milliseconds{0}), std::make_pair(id, std::move(callback)));
    return id;
}

void RunLoop::cancelTimer(TimerId id)
{
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->second.first == id) {
            m_timers.erase(it);
            return;
        }
    }
}

milliseconds RunLoop::now() const
{
    return std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - m_start);
}

bool RunLoop::runOnce(milliseconds deadline)
{
    if (!m_posted.empty()) {
        Callback next = std::move(m_posted.front());
        m_posted.pop_front();
        next();
        return true;
    }
    if (m_timers.empty())
        return false;
    auto first = m_timers.begin();
    if (first->first > deadline)
        return false;
    if (first->first > now())
        std::this_thread::sleep_for(first->first - now());
    Callback callback = std::move(first->second.second);
    m_timers.erase(first);
    callback();
    return true;
}

void RunLoop::run()
{
    m_stopped = false;
    while (!m_stopped && runOnce(milliseconds::max())) {
    }
}

bool RunLoop::runUntil(const std::function<bool()>& done, milliseconds limit)
{
    m_stopped = false;
    const milliseconds deadline = now() + limit;
    while (!m_stopped && !done() && now() <= deadline && runOnce(deadline)) {
    }
    return done();
}

} // namespace zeb2hart::platform
