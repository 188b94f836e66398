#pragma once
// The response time-out: clsTimerControl forwards to the window timer of its
// hidden form frmTimerControl, which runs on the EventLoop. An interval of 0
// never expires, whatever Enabled says; each expiry raises TimerEvent once and
// the timer goes on running until disabled or set to 0.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/EventLoop.h"

namespace zeb2hart::gateway {

// The hidden form with its one timer control "TimeoutTimer". Never shown.
class frmTimerControl {
public:
    explicit frmTimerControl(std::shared_ptr<platform::EventLoop> loop);
    ~frmTimerControl();
    frmTimerControl(const frmTimerControl&) = delete;
    frmTimerControl& operator=(const frmTimerControl&) = delete;

    static constexpr const char* Caption = "Invisible Timer-Contol Form";

    std::int32_t Interval() const { return m_interval; }
    void Interval(std::int32_t milliseconds);
    bool Enabled() const { return m_enabled; }
    void Enabled(bool enabled);
    void Tag(std::string tag) { m_tag = std::move(tag); }
    const std::string& Tag() const { return m_tag; }

    std::function<void()> OnEvent;

private:
    void restart();
    std::shared_ptr<platform::EventLoop> m_loop;
    std::int32_t m_interval = 0;
    bool m_enabled = true;
    std::string m_tag;
    platform::EventLoop::TimerId m_timer = 0;
    std::shared_ptr<bool> m_alive;
};

class clsTimerControl {
public:
    explicit clsTimerControl(std::shared_ptr<platform::EventLoop> loop);
    // The form's event is wired to this object, so it stays where it was made.
    clsTimerControl(const clsTimerControl&) = delete;
    clsTimerControl& operator=(const clsTimerControl&) = delete;

    std::int32_t Interval() const { return InvEventFrm->Interval(); }
    void Interval(std::int32_t milliseconds) { InvEventFrm->Interval(milliseconds); }
    bool Enabled() const { return InvEventFrm->Enabled(); }
    void Enabled(bool enabled) { InvEventFrm->Enabled(enabled); }
    void Tag(const std::string& tag) { InvEventFrm->Tag(tag); }

    // Raised once per expiry.
    std::function<void()> TimerEvent;

private:
    std::unique_ptr<frmTimerControl> InvEventFrm;
};

} // namespace zeb2hart::gateway
