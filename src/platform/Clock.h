#pragma once
// The component's clocks: local wall-clock time for trace lines, and monotonic
// time for what must be looked at again after a while (the document cache).
// A fixed clock keeps transcripts repeatable and moves only when told.
// One thread calls it: the frame's apartment, calling into the component.

#include <chrono>
#include <ctime>
#include "../fdt/Export.h"

namespace zeb2hart::platform {

class ZEB2HART_API Clock {
public:
    using Monotonic = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;
    virtual std::tm localNow() const = 0;
    virtual Monotonic monotonicNow() const = 0;
};

class ZEB2HART_API SystemClock final : public Clock {
public:
    std::tm localNow() const override;
    Monotonic monotonicNow() const override { return std::chrono::steady_clock::now(); }
};

// Always answers the same moment; its monotonic time moves only by advance().
class ZEB2HART_API FixedClock final : public Clock {
public:
    explicit FixedClock(std::tm moment) : m_moment(moment) {}
    std::tm localNow() const override { return m_moment; }
    Monotonic monotonicNow() const override { return m_monotonic; }
    void set(std::tm moment) { m_moment = moment; }
    void advance(std::chrono::nanoseconds by) { m_monotonic += by; }

private:
    std::tm m_moment;
    Monotonic m_monotonic{};
};

} // namespace zeb2hart::platform
