#include "com/CatalogueUpdates.h"

#include <objbase.h>

#include "com/Values.h"
#include "platform/win32/WindowsApi.h"

namespace zeb2hart::com {

namespace {

LSTATUS setText(HKEY key, const wchar_t* name, const std::wstring& data)
{
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

} // namespace

HRESULT CatalogueUpdates::announce(const std::wstring& comment)
{
    GUID flag{};
    if (const HRESULT status = CoCreateGuid(&flag); FAILED(status))
        return status;
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(status);
    status = setText(key, L"ModificationFlag", platform::toWide(fromGuid(flag).toString()));
    if (status == ERROR_SUCCESS)
        status = setText(key, L"ModificationComment", comment);
    RegCloseKey(key);
    return HRESULT_FROM_WIN32(status);
}

} // namespace zeb2hart::com
