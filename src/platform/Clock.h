#pragma once
// Local wall-clock time for trace lines; a fixed clock keeps transcripts repeatable.

#include <ctime>

namespace zeb2hart::platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::tm localNow() const = 0;
};

class SystemClock final : public Clock {
public:
    std::tm localNow() const override;
};

// Always answers the same moment.
class FixedClock final : public Clock {
public:
    explicit FixedClock(std::tm moment) : m_moment(moment) {}
    std::tm localNow() const override { return m_moment; }
    void set(std::tm moment) { m_moment = moment; }

private:
    std::tm m_moment;
};

} // namespace zeb2hart::platform
