#pragma once
// The module the COM layer is linked into (ZEB2HARTGateway.dll, or a test
// program): its handle and path, and the count of its live COM objects and
// server locks that DllCanUnloadNow answers from, together with the threads
// whose module data is alive and the event loops (timer windows) that are.
// Safe from any thread.

#include <windows.h>

#include <filesystem>

namespace zeb2hart::com {

class Module {
public:
    static HMODULE handle();
    static std::filesystem::path path();

    // Every COM object of the module counts itself while it lives.
    static void objectCreated();
    static void objectDestroyed();
    // IClassFactory::LockServer.
    static void lock(bool locked);
    static bool canUnload();
};

} // namespace zeb2hart::com
