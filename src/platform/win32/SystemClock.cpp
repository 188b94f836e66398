#include "platform/Clock.h"

#include <time.h>

namespace zeb2hart::platform {

std::tm SystemClock::localNow() const
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    return local;
}

} // namespace zeb2hart::platform
