#include "com/Module.h"

#include <atomic>
#include <string>

#include "platform/ThreadState.h"
#include "platform/win32/WindowEventLoop.h"

namespace zeb2hart::com {

namespace {

std::atomic<long> liveObjects{0};
std::atomic<long> serverLocks{0};

} // namespace

HMODULE Module::handle()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&Module::handle), &module);
    return module;
}

std::filesystem::path Module::path()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(handle(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

void Module::objectCreated()
{
    ++liveObjects;
}

void Module::objectDestroyed()
{
    --liveObjects;
}

void Module::lock(bool locked)
{
    serverLocks += locked ? 1 : -1;
}

bool Module::canUnload()
{
    // A thread's module data (its caches, its timer window) and an event loop
    // kept by an instance outliving its COM object also keep the code loaded.
    return liveObjects == 0 && serverLocks == 0 && platform::ThreadState::alive() == 0
           && platform::WindowEventLoop::alive() == 0;
}

} // namespace zeb2hart::com
