// Where Windows keeps the module data of each apartment: a single-threaded
// apartment's in a TLS slot of its thread, the multithreaded apartment's once
// for the process, since COM calls an object there on any of its threads
// (one call after another, for the objects of a test frame). Neither has a
// destructor of its own, so that nothing of a DLL the system has unloaded runs
// at a thread's end; the COM server ends the data with the apartment's last
// object (ThreadState::Hold).

#include "platform/ThreadState.h"
#include "platform/win32/WindowsApi.h"

#include <objbase.h>

#include <atomic>
#include <stdexcept>

namespace zeb2hart::platform {

struct ThreadStateOwner {
    static DWORD slot()
    {
        static const DWORD index = [] {
            const DWORD allocated = TlsAlloc();
            if (allocated == TLS_OUT_OF_INDEXES)
                throw std::runtime_error("no thread-local slot is left for the component's data");
            return allocated;
        }();
        return index;
    }

    static bool inMultithreadedApartment()
    {
        APTTYPE type{};
        APTTYPEQUALIFIER qualifier{};
        return SUCCEEDED(CoGetApartmentType(&type, &qualifier)) && type == APTTYPE_MTA;
    }

    static std::atomic<ThreadState*> multithreaded;
};

std::atomic<ThreadState*> ThreadStateOwner::multithreaded{nullptr};

ThreadState* ThreadState::stored()
{
    if (ThreadStateOwner::inMultithreadedApartment())
        return ThreadStateOwner::multithreaded;
    return static_cast<ThreadState*>(TlsGetValue(ThreadStateOwner::slot()));
}

void ThreadState::store(ThreadState* state)
{
    if (ThreadStateOwner::inMultithreadedApartment())
        ThreadStateOwner::multithreaded = state;
    else
        TlsSetValue(ThreadStateOwner::slot(), state);
}

} // namespace zeb2hart::platform
