#pragma once
// The component's stand-in for COM objects: every object that crosses an
// interface boundary derives (virtually) from Object and is held by
// std::shared_ptr; query<I>() plays QueryInterface.

#include <memory>

#include "fdt/Errors.h"

namespace zeb2hart::fdt {

class Object {
public:
    virtual ~Object() = default;
};

using ObjectPtr = std::shared_ptr<Object>;

// The interface I of an object, or nullptr when the object is null or does not offer it.
template <class I, class T>
std::shared_ptr<I> query(const std::shared_ptr<T>& object)
{
    return std::dynamic_pointer_cast<I>(object);
}

// The interface I of an object that must offer it; a missing interface is a
// type-mismatch error, as a failed QueryInterface is for a COM caller.
template <class I, class T>
std::shared_ptr<I> require(const std::shared_ptr<T>& object)
{
    auto result = std::dynamic_pointer_cast<I>(object);
    if (!result)
        throw TypeMismatchError("object does not offer the requested interface");
    return result;
}

} // namespace zeb2hart::fdt
