#pragma once
// The component's stand-in for COM objects: every object that crosses an
// interface boundary derives (virtually) from Object and is held by
// std::shared_ptr; query<I>() plays QueryInterface. Objects from outside the
// C++ world (a COM peer) are ForeignObjects, asked for an interface by its
// identifier. Used on the one thread that drives the component.

#include <memory>

#include "Errors.h"
#include "Export.h"
#include "Guid.h"

namespace zeb2hart::fdt {

class ZEB2HART_API Object {
public:
    virtual ~Object() = default;
};

using ObjectPtr = std::shared_ptr<Object>;

// An object that holds others (its frame, its peers, their callbacks) and is
// told when every outside holder has let go of it: it lets go of what it holds
// and stops its timers, so that no cycle through it (an object given itself as
// its own peer) outlives its last outside holder. A COM server tells the
// instances its class factory made.
class ZEB2HART_API Detachable {
public:
    virtual ~Detachable() = default;
    virtual void detach() noexcept = 0;
};

// An object whose interfaces are not C++ base classes: it answers an interface
// identifier (an interface class's kIid) with an object offering that
// interface, or with nullptr when it does not offer it.
class ZEB2HART_API ForeignObject : public virtual Object {
public:
    virtual ObjectPtr queryInterface(const Guid& iid) = 0;
    // The outside object's identity: every ForeignObject standing for the same
    // outside object answers the same address (a COM object's IUnknown).
    virtual const void* identity() const = 0;
};

// The identity of an object: its outside identity for a foreign object, the
// address of its complete C++ object for any other; nullptr for null.
inline const void* identityOf(const Object* object)
{
    if (const auto* foreign = dynamic_cast<const ForeignObject*>(object))
        return foreign->identity();
    return dynamic_cast<const void*>(object);
}

// The interface I of an object, or nullptr when the object is null or does not offer it.
// An interface with an identifier is also asked of a foreign object.
template <class I, class T>
std::shared_ptr<I> query(const std::shared_ptr<T>& object)
{
    if (auto direct = std::dynamic_pointer_cast<I>(object))
        return direct;
    if constexpr (requires { I::kIid; }) {
        if (const auto foreign = std::dynamic_pointer_cast<ForeignObject>(object))
            return std::dynamic_pointer_cast<I>(foreign->queryInterface(I::kIid));
    }
    return nullptr;
}

// The interface I of an object that must offer it; a missing interface is a
// type-mismatch error, as a failed QueryInterface is for a COM caller.
template <class I, class T>
std::shared_ptr<I> require(const std::shared_ptr<T>& object)
{
    auto result = query<I>(object);
    if (!result)
        throw TypeMismatchError("object does not offer the requested interface");
    return result;
}

} // namespace zeb2hart::fdt
