#pragma once
// OleContainer: the frame stand-in as an OLE container of the pages, as a real
// frame embeds them. A HostedControl makes a top-level window, creates the
// control by ProgID, gives it the container's client site, in-place site and
// in-place frame (one PageSite object), activates it in place in the window
// and answers its window, its drawing and its interfaces. Made, used and
// destroyed on the thread of a single-threaded apartment.

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "com/ComPtr.h"

namespace zeb2hart::frame {

class PageSite;

class HostedControl {
public:
    // Creates and activates the control in a window of width × height pixels;
    // throws std::runtime_error with the failing step.
    HostedControl(const std::string& progId, int width, int height);
    ~HostedControl();
    HostedControl(const HostedControl&) = delete;
    HostedControl& operator=(const HostedControl&) = delete;

    IUnknown* control() const { return m_control.Get(); }
    // The control's in-place window; nullptr when it has none (any more).
    HWND controlWindow() const;
    // The container's window around it.
    HWND frameWindow() const { return m_window; }
    // Gives the container window's client area this size; the control follows.
    void resize(int width, int height);
    SIZE clientSize() const;
    // The control as shown, drawn through IViewObject::Draw into a 32-bit
    // top-down bitmap of the client size: BGRA rows. Throws when it cannot be drawn.
    std::vector<std::uint32_t> draw(SIZE& size) const;

private:
    HWND m_window = nullptr;
    com::ComPtr<PageSite> m_site;
    com::ComPtr<IUnknown> m_control;
    com::ComPtr<IOleObject> m_object;
};

// Lets the control and its window run: pumps the thread's messages until none is waiting.
void pumpMessages();

} // namespace zeb2hart::frame
