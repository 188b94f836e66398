#include "ui/win32/GdiObjects.h"

#include <atomic>

namespace zeb2hart::ui::win32 {

namespace {
std::atomic<long> g_live{0};
}

long liveGdiObjects()
{
    return g_live;
}

void detail::countGdiObject(long change)
{
    g_live += change;
}

} // namespace zeb2hart::ui::win32
