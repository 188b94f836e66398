#pragma once
// What the COM tests share: a single-threaded apartment for each test, the
// built ZEB2HARTGateway.dll and its four exports, and texts of COM values.
// Used on the test's one thread.

#include <gtest/gtest.h>

#include <string>

#include "com/Bstr.h"
#include "com/ComPtr.h"
#include "com/FdtInterfaces.h"
#include "com/Values.h"
#include "platform/win32/WindowsApi.h"

namespace zeb2hart::test {

// The DLL as Windows names it: the build's path, on drive Z: under Wine.
inline std::wstring gatewayDllPath()
{
    std::wstring path = platform::toWide(ZEB2HART_GATEWAY_DLL);
    if (path.starts_with(L"/"))
        path = L"Z:" + path;
    for (auto& c : path)
        c = c == L'/' ? L'\\' : c;
    return path;
}

// The loaded DLL; call("DllRegisterServer") and the like.
class GatewayDll {
public:
    GatewayDll() : m_module(LoadLibraryW(gatewayDllPath().c_str())) {}
    ~GatewayDll()
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    GatewayDll(const GatewayDll&) = delete;
    GatewayDll& operator=(const GatewayDll&) = delete;

    bool loaded() const { return m_module != nullptr; }
    HRESULT call(const char* exportName) const
    {
        const auto function = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
            reinterpret_cast<void*>(GetProcAddress(m_module, exportName)));
        return function ? function() : E_NOTIMPL;
    }

private:
    HMODULE m_module;
};

class ComTest : public ::testing::Test {
protected:
    ComTest() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComTest() override { CoUninitialize(); }
};

// The text of a BSTR answer, which it frees.
inline std::string take(BSTR text)
{
    std::string result = com::fromBstr(text);
    SysFreeString(text);
    return result;
}

// The description of the thread's error info, taken from it.
inline std::string errorDescription()
{
    com::ComPtr<IErrorInfo> info;
    BSTR description = nullptr;
    if (GetErrorInfo(0, info.GetAddressOf()) != S_OK || FAILED(info->GetDescription(&description)))
        return {};
    return take(description);
}

} // namespace zeb2hart::test
