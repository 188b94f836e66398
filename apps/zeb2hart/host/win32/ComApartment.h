#pragma once
// The calling thread in a COM apartment for the object's lifetime: a
// single-threaded one, as a frame's user-interface thread is, or the
// multithreaded apartment, as a frame's worker thread is. From the
// multithreaded apartment, COM creates an apartment-threaded DTM in a
// single-threaded apartment of its own, so that every call into it and out of
// it goes through proxies and stubs. Made and destroyed on that thread.

#include <objbase.h>

#include <stdexcept>

namespace zeb2hart::frame {

class ComApartment {
public:
    enum class Kind { SingleThreaded, MultiThreaded };

    explicit ComApartment(Kind kind = Kind::SingleThreaded)
    {
        const bool single = kind == Kind::SingleThreaded;
        if (FAILED(CoInitializeEx(nullptr, single ? COINIT_APARTMENTTHREADED : COINIT_MULTITHREADED)))
            throw std::runtime_error(single ? "the thread cannot enter a single-threaded COM apartment"
                                            : "the thread cannot enter the multithreaded COM apartment");
    }
    ~ComApartment() { CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

} // namespace zeb2hart::frame
