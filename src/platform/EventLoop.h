#pragma once
// The single thread's event loop: posted work and one-shot timers, all run on
// the thread that drives the loop. The window timer of the original platform
// sits on this interface.
// Only that thread posts, starts and cancels: the frame's apartment, calling into the component.
//
// Production: RunLoop (apps) or the Qt adapter (ui) drive real time.
// Tests and frame scripts: ManualEventLoop, whose clock moves only when the
// test calls advance().

#include <chrono>
#include <cstdint>
#include <functional>
#include "../fdt/Export.h"

namespace zeb2hart::platform {

class ZEB2HART_API EventLoop {
public:
    using TimerId = std::uint64_t;
    using Callback = std::function<void()>;

    virtual ~EventLoop() = default;

    // Runs the callback later, after the current call has returned.
    virtual void post(Callback callback) = 0;
    // Runs the callback once, `delay` from now. Returns an id for cancelTimer.
    virtual TimerId startTimer(std::chrono::milliseconds delay, Callback callback) = 0;
    // Forgets a timer that has not fired yet; unknown ids are ignored.
    virtual void cancelTimer(TimerId id) = 0;
    // Milliseconds on the loop's own clock (monotonic).
    virtual std::chrono::milliseconds now() const = 0;
};

} // namespace zeb2hart::platform
