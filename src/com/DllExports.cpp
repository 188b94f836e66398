// The four exports of ZEB2HARTGateway.dll (ZEB2HARTGateway.def) through which
// COM and regsvr32 reach the component.

#include <windows.h>
#include <olectl.h>

#include <new>

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
    ComPtr<IClassFactory> factory;
    try {
        factory = ClassFactory::create(clsid);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return factory ? factory->QueryInterface(iid, result) : CLASS_E_CLASSNOTAVAILABLE;
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
