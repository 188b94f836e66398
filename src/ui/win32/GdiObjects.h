#pragma once
// GdiObject: the owner of one GDI object (a font, a brush, a bitmap) that the
// Win32 page views make, deleted with its owner; liveGdiObjects() counts those
// alive in the process, so that a test can see that a view leaves none
// behind. Any thread may use its own objects; the count is shared.

#include "platform/win32/WindowsApi.h"

#include <utility>

namespace zeb2hart::ui::win32 {

// The GDI objects made through GdiObject and not yet deleted.
long liveGdiObjects();

namespace detail {
void countGdiObject(long change);
}

template <class Handle>
class GdiObject {
public:
    GdiObject() = default;
    // Takes `handle` (nullptr: nothing).
    explicit GdiObject(Handle handle) : m_handle(handle)
    {
        if (m_handle != nullptr)
            detail::countGdiObject(1);
    }
    ~GdiObject() { reset(); }
    GdiObject(GdiObject&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    void reset()
    {
        if (m_handle != nullptr) {
            DeleteObject(m_handle);
            detail::countGdiObject(-1);
            m_handle = nullptr;
        }
    }

private:
    Handle m_handle = nullptr;
};

} // namespace zeb2hart::ui::win32
