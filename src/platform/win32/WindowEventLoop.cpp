#include "platform/win32/WindowEventLoop.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <stdexcept>

namespace zeb2hart::platform {

namespace {

constexpr wchar_t kWindowClass[] = L"ZEB2HARTGatewayEventLoop";
constexpr UINT kRunPosted = WM_APP + 1;
// The window class is the module's, shared by the loops of every apartment:
// registered with the first and unregistered with the last, under this lock.
std::mutex g_classLock;
std::atomic<long> g_alive{0};

HINSTANCE moduleInstance()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&moduleInstance), &module);
    return module;
}

// Work runs inside the system's message dispatch, which no C++ exception may
// unwind; the component reports its own errors, so one that escapes is dropped.
void runGuarded(const EventLoop::Callback& callback)
{
    try {
        callback();
    } catch (...) {
    }
}

} // namespace

WindowEventLoop::WindowEventLoop()
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &WindowEventLoop::windowProcedure;
    windowClass.hInstance = moduleInstance();
    windowClass.lpszClassName = kWindowClass;
    const std::lock_guard lock(g_classLock);
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error("cannot register the event loop's window class");
    m_window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
    if (m_window == nullptr)
        throw std::runtime_error("cannot create the event loop's window");
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ++g_alive;
}

WindowEventLoop::~WindowEventLoop()
{
    SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
    for (const auto& [id, callback] : m_timers)
        KillTimer(m_window, static_cast<UINT_PTR>(id));
    DestroyWindow(m_window);
    const std::lock_guard lock(g_classLock);
    if (--g_alive == 0)
        UnregisterClassW(kWindowClass, moduleInstance());
}

long WindowEventLoop::alive()
{
    return g_alive;
}

void WindowEventLoop::post(Callback callback)
{
    m_posted.push_back(std::move(callback));
    PostMessageW(m_window, kRunPosted, 0, 0);
}

EventLoop::TimerId WindowEventLoop::startTimer(std::chrono::milliseconds delay, Callback callback)
{
    const TimerId id = m_nextId++;
    const auto milliseconds = static_cast<UINT>(std::max<std::chrono::milliseconds::rep>(delay.count(), USER_TIMER_MINIMUM));
    if (SetTimer(m_window, static_cast<UINT_PTR>(id), milliseconds, nullptr) == 0)
        throw std::runtime_error("cannot start a window timer");
    m_timers.emplace(id, std::move(callback));
    return id;
}

void WindowEventLoop::cancelTimer(TimerId id)
{
    if (m_timers.erase(id) != 0)
        KillTimer(m_window, static_cast<UINT_PTR>(id));
}

std::chrono::milliseconds WindowEventLoop::now() const
{
    return std::chrono::milliseconds(GetTickCount64());
}

bool WindowEventLoop::pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto deadline = now() + limit;
    while (!done()) {
        const auto left = deadline - now();
        if (left.count() <= 0)
            return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

LRESULT CALLBACK WindowEventLoop::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* loop = reinterpret_cast<WindowEventLoop*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (loop != nullptr && message == kRunPosted) {
        loop->runPosted();
        return 0;
    }
    if (loop != nullptr && message == WM_TIMER) {
        loop->fire(static_cast<TimerId>(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void WindowEventLoop::runPosted()
{
    // One message per post: run the oldest, so that work posted meanwhile keeps its turn.
    if (m_posted.empty())
        return;
    Callback callback = std::move(m_posted.front());
    m_posted.pop_front();
    runGuarded(callback);
}

void WindowEventLoop::fire(TimerId id)
{
    // A window timer repeats; the loop's timers fire once.
    KillTimer(m_window, static_cast<UINT_PTR>(id));
    const auto found = m_timers.find(id);
    if (found == m_timers.end())
        return;
    Callback callback = std::move(found->second);
    m_timers.erase(found);
    runGuarded(callback);
}

} // namespace zeb2hart::platform
