#pragma once
// The calling thread in a single-threaded COM apartment for the object's
// lifetime, as a frame's user-interface thread is. Made and destroyed on that thread.

#include <objbase.h>

#include <stdexcept>

namespace zeb2hart::frame {

class ComApartment {
public:
    ComApartment()
    {
        if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
            throw std::runtime_error("the thread cannot enter a single-threaded COM apartment");
    }
    ~ComApartment() { CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

} // namespace zeb2hart::frame
