#pragma once
// The EventLoop of the Windows build: a message-only window on the thread that
// made the loop (the frame's apartment). Posted work is a posted window message
// and each timer a window timer (SetTimer), so both run while the frame pumps
// its messages, as the original's timer on a hidden form did.
// Only the thread that made it calls it, pumps its messages and ends it. The
// window class goes with the last loop, so that no window of a DLL the system
// unloads keeps its procedure.

#include <deque>
#include <map>

#include "platform/EventLoop.h"
#include "platform/win32/WindowsApi.h"

namespace zeb2hart::platform {

class WindowEventLoop final : public EventLoop {
public:
    WindowEventLoop();
    ~WindowEventLoop() override;
    WindowEventLoop(const WindowEventLoop&) = delete;
    WindowEventLoop& operator=(const WindowEventLoop&) = delete;

    void post(Callback callback) override;
    TimerId startTimer(std::chrono::milliseconds delay, Callback callback) override;
    void cancelTimer(TimerId id) override;
    std::chrono::milliseconds now() const override;

    // Pumps this thread's messages until `done` returns true or `limit` has
    // passed; returns done(). For hosts and tests without a message loop of their own.
    bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

    // The number of loops alive in the module; safe from any thread.
    static long alive();

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void runPosted();
    void fire(TimerId id);

    HWND m_window = nullptr;
    TimerId m_nextId = 1;
    std::map<TimerId, Callback> m_timers;
    std::deque<Callback> m_posted;
};

} // namespace zeb2hart::platform
