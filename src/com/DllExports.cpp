// The four exports of ZEB2HARTGateway.dll (ZEB2HARTGateway.def) through which
// COM and regsvr32 reach the component.

#include <windows.h>
#include <olectl.h>

#include "com/ClassFactory.h"
#include "com/FdtInterfaces.h"
#include "com/Module.h"
#include "com/Registration.h"

namespace {

#ifdef ZEB2HART_COM_TEST_REGISTRATION
constexpr bool kRegisterInterfaces = true;
#else
constexpr bool kRegisterInterfaces = false;
#endif

} // namespace

using namespace zeb2hart::com;

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** result)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    if (clsid != CLSID_DTMMain)
        return CLASS_E_CLASSNOTAVAILABLE;
    const ComPtr<IClassFactory> factory = ClassFactory::create();
    return factory ? factory->QueryInterface(iid, result) : E_OUTOFMEMORY;
}

STDAPI DllCanUnloadNow()
{
    return Module::canUnload() ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer()
{
    return Registration::install(Module::path(), kRegisterInterfaces);
}

STDAPI DllUnregisterServer()
{
    return Registration::remove(kRegisterInterfaces);
}
