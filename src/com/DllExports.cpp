// The four exports of ZEB2HARTGateway.dll (ZEB2HARTGateway.def) through which
// COM, regsvr32 and the installer packages reach the component.

#include <windows.h>
#include <olectl.h>

#include <new>

#include "com/CatalogueUpdates.h"
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

// Both tell frames that their DTM catalogue changed; a registration whose
// flag cannot be written is taken back, so that it fails as a whole.
STDAPI DllRegisterServer()
{
    if (const HRESULT status = Registration::install(Module::path(), kRegisterInterfaces); FAILED(status))
        return status;
    if (const HRESULT status = CatalogueUpdates::announce(L"ZEB2HART Gateway DTM registered"); FAILED(status)) {
        Registration::remove(kRegisterInterfaces);
        return status;
    }
    return S_OK;
}

STDAPI DllUnregisterServer()
{
    if (const HRESULT status = Registration::remove(kRegisterInterfaces); FAILED(status))
        return status;
    return CatalogueUpdates::announce(L"ZEB2HART Gateway DTM unregistered");
}
