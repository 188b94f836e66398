#pragma once
// The table of the interfaces the COM layer carries across: for each, its
// identifier, how to make its stub for a C++ object that offers it, and how to
// make its proxy for a COM object that offers it. ComObject and Peer consult it;
// it is fixed at build time and read on any thread.

#include <memory>
#include <span>

#include "com/Facet.h"
#include "fdt/Object.h"

namespace zeb2hart::com {

class ComObject;

struct InterfaceBridge {
    const IID* iid;
    // The C++ interface class's identifier; zero for an interface without one.
    fdt::Guid fdtIid;
    // Derived from IDispatch, so that it may answer for IDispatch.
    bool dispatch;
    // The stub serving the interface for `object`, or nullptr when the object does not offer it.
    std::unique_ptr<Facet> (*stub)(ComObject& owner, const fdt::ObjectPtr& object);
    // A proxy for a COM object, or nullptr when it does not offer the interface.
    // Null for an interface the C++ side never calls.
    fdt::ObjectPtr (*proxy)(IUnknown* object);

    // In the order in which the first dispatch interface answers for IDispatch.
    static std::span<const InterfaceBridge> all();
    static const InterfaceBridge* find(const IID& iid);
    static const InterfaceBridge* find(const fdt::Guid& iid);
};

} // namespace zeb2hart::com
