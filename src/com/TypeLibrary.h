#pragma once
// The type library embedded in the module (resource TYPELIB 1), loaded once,
// from which the stubs serve IDispatch. Called on the apartment's thread.

#include <windows.h>
#include <oaidl.h>

#include "com/ComPtr.h"

namespace zeb2hart::com {

class TypeLibrary {
public:
    // Throws fdt::Error when the module carries no type library.
    static ITypeLib& library();
    // The type information of an interface of the library; throws fdt::Error for
    // an interface it does not describe.
    static ComPtr<ITypeInfo> typeInfo(const IID& iid);
};

} // namespace zeb2hart::com
