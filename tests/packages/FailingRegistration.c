/* A stand-in for ZEB2HARTGateway.dll whose registration fails, so that the
   package tests see an install roll back. */
#include <windows.h>

HRESULT __stdcall DllRegisterServer(void)
{
    return E_FAIL;
}

HRESULT __stdcall DllUnregisterServer(void)
{
    return S_OK;
}
