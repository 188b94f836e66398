#pragma once
// A COM object from outside the component (the frame, a parent or child DTM, a
// DTM created with CoCreateInstance), seen as a C++ object: query<I>() finds
// its FDT interfaces by QueryInterface and answers them with proxies. Holds a
// reference on the COM object while it lives. Used on the apartment's thread.

#include <memory>

#include "com/ComPtr.h"
#include "fdt/Object.h"

namespace zeb2hart::com {

class Peer : public virtual fdt::ForeignObject {
public:
    explicit Peer(IUnknown* object);

    // The C++ object for a COM object: the C++ object itself when it is one of
    // this module's ComObjects, a Peer for any other, nullptr for null.
    static fdt::ObjectPtr wrap(IUnknown* object);
    // The interface I of wrap(object); nullptr for null, fdt::TypeMismatchError
    // when the object does not offer I.
    template <class I>
    static std::shared_ptr<I> wrapAs(IUnknown* object)
    {
        return object ? fdt::require<I>(wrap(object)) : nullptr;
    }

    // A proxy of the interface when the COM object offers it, else nullptr.
    fdt::ObjectPtr queryInterface(const fdt::Guid& iid) override;
    // The COM object's identity (its IUnknown).
    IUnknown* unknown() const { return m_unknown.Get(); }
    const void* identity() const override { return m_unknown.Get(); }

private:
    ComPtr<IUnknown> m_unknown;
};

} // namespace zeb2hart::com
