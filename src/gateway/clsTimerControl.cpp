#include "gateway/clsTimerControl.h"

#include "fdt/Errors.h"

namespace zeb2hart::gateway {

frmTimerControl::frmTimerControl(std::shared_ptr<platform::EventLoop> loop)
    : m_loop(std::move(loop)), m_alive(std::make_shared<bool>(true))
{
}

frmTimerControl::~frmTimerControl()
{
    if (m_timer != 0 && m_loop)
        m_loop->cancelTimer(m_timer);
    m_alive.reset();
}

void frmTimerControl::Interval(std::int32_t milliseconds)
{
    if (milliseconds < 0)
        throw fdt::Error("Invalid property value: a timer interval cannot be negative");
    m_interval = milliseconds;
    restart();
}

void frmTimerControl::Enabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    restart();
}

// Like a window timer: whenever the interval or the enabled state changes, the
// countdown starts again from the full interval; it runs only while enabled with
// a non-zero interval, and after each expiry it starts over.
void frmTimerControl::restart()
{
    if (m_timer != 0 && m_loop)
        m_loop->cancelTimer(m_timer);
    m_timer = 0;
    if (!m_enabled || m_interval == 0 || !m_loop)
        return;
    std::weak_ptr<bool> alive = m_alive;
    m_timer = m_loop->startTimer(std::chrono::milliseconds(m_interval), [this, alive] {
        if (alive.expired())
            return;
        m_timer = 0;
        restart();
        if (OnEvent)
            OnEvent();
    });
}

clsTimerControl::clsTimerControl(std::shared_ptr<platform::EventLoop> loop)
    : InvEventFrm(std::make_unique<frmTimerControl>(std::move(loop)))
{
    InvEventFrm->OnEvent = [this] {
        if (TimerEvent)
            TimerEvent();
    };
}

} // namespace zeb2hart::gateway
