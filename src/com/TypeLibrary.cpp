#include "com/TypeLibrary.h"

#include "com/ErrorMapping.h"
#include "com/Module.h"
#include "fdt/Errors.h"

namespace zeb2hart::com {

ITypeLib& TypeLibrary::library()
{
    // Loaded on first use and kept for the life of the process: the stubs'
    // type information must outlive every object that might still be called.
    static ITypeLib* const loaded = [] {
        ITypeLib* result = nullptr;
        const HRESULT status = LoadTypeLibEx(Module::path().c_str(), REGKIND_NONE, &result);
        if (FAILED(status))
            throw fdt::Error("the module's type library does not load: " + hresultText(status));
        return result;
    }();
    return *loaded;
}

ComPtr<ITypeInfo> TypeLibrary::typeInfo(const IID& iid)
{
    ComPtr<ITypeInfo> result;
    const HRESULT status = library().GetTypeInfoOfGuid(iid, result.GetAddressOf());
    if (FAILED(status))
        throw fdt::Error("the type library does not describe the interface: " + hresultText(status));
    return result;
}

} // namespace zeb2hart::com
