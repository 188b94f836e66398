#include "com/Registration.h"

#include <olectl.h>

#include "com/FdtInterfaces.h"
#include "com/TypeLibrary.h"
#include "com/Values.h"
#include "core/Pages.h"
#include "platform/ClassRegistry.h"
#include "platform/win32/WindowsApi.h"

namespace zeb2hart::com {

namespace {

constexpr const wchar_t* kDescription = L"ZEB2HART Gateway DTM";
constexpr const wchar_t* kLibraryVersion = L"1.0";
// The type library's own marshaller for oleautomation interfaces.
constexpr const wchar_t* kTypeLibraryMarshaller = L"{00020424-0000-0000-C000-000000000046}";
#ifdef _WIN64
constexpr const wchar_t* kPlatform = L"win64";
#else
constexpr const wchar_t* kPlatform = L"win32";
#endif

// The classes the component names: the DTM first, then its pages.
constexpr const char* kProgIds[] = {core::kProgIdDtm, core::kProgIdOfflineParam, core::kProgIdMonitor,
                                    core::kProgIdAbout};

std::wstring text(const GUID& id)
{
    return platform::toWide(fromGuid(id).toString());
}

std::wstring clsidOf(const char* progId)
{
    const auto clsid = platform::ClassRegistry::instance().clsidOf(progId);
    return clsid ? platform::toWide(clsid->toString()) : std::wstring();
}

// The dual and oleautomation interfaces of the type library: identifier and name.
std::vector<std::pair<std::wstring, std::wstring>> automationInterfaces()
{
    std::vector<std::pair<std::wstring, std::wstring>> result;
    ITypeLib& library = TypeLibrary::library();
    for (UINT index = 0; index < library.GetTypeInfoCount(); ++index) {
        ComPtr<ITypeInfo> info;
        TYPEATTR* attributes = nullptr;
        if (FAILED(library.GetTypeInfo(index, info.GetAddressOf())) || FAILED(info->GetTypeAttr(&attributes)))
            continue;
        const bool automation = (attributes->typekind == TKIND_DISPATCH && (attributes->wTypeFlags & TYPEFLAG_FDUAL)) ||
                                (attributes->typekind == TKIND_INTERFACE &&
                                 (attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION));
        const GUID iid = attributes->guid;
        info->ReleaseTypeAttr(attributes);
        BSTR name = nullptr;
        if (automation && SUCCEEDED(library.GetDocumentation(static_cast<INT>(index), &name, nullptr, nullptr, nullptr))) {
            result.emplace_back(text(iid), std::wstring(name, SysStringLen(name)));
            SysFreeString(name);
        }
    }
    return result;
}

LSTATUS write(const Registration::Value& value)
{
    HKEY key = nullptr;
    LSTATUS status =
        RegCreateKeyExW(HKEY_CLASSES_ROOT, value.key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    status = RegSetValueExW(key, value.name.empty() ? nullptr : value.name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.data.c_str()),
                            static_cast<DWORD>((value.data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status;
}

} // namespace

std::vector<Registration::Value> Registration::values(const std::filesystem::path& module, bool withInterfaces)
{
    const std::wstring clsid = L"CLSID\\" + text(CLSID_DTMMain);
    const std::wstring library = text(LIBID_ZEB2HARTGatewayLib);
    const std::wstring libraryKey = L"TypeLib\\" + library + L"\\" + kLibraryVersion;
    std::vector<Value> result = {
        {clsid, {}, kDescription},
        {clsid + L"\\InprocServer32", {}, module.wstring()},
        {clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {clsid + L"\\ProgID", {}, platform::toWide(core::kProgIdDtm)},
        {clsid + L"\\TypeLib", {}, library},
    };
    for (const char* progId : kProgIds) {
        result.push_back({platform::toWide(progId), {}, kDescription});
        result.push_back({platform::toWide(progId) + L"\\CLSID", {}, clsidOf(progId)});
    }
    result.push_back({libraryKey, {}, kDescription});
    result.push_back({libraryKey + L"\\0\\" + kPlatform, {}, module.wstring()});
    result.push_back({libraryKey + L"\\FLAGS", {}, L"0"});
    result.push_back({libraryKey + L"\\HELPDIR", {}, module.parent_path().wstring()});
    if (withInterfaces) {
        for (const auto& [iid, name] : automationInterfaces()) {
            const std::wstring key = L"Interface\\" + iid;
            result.push_back({key, {}, name});
            result.push_back({key + L"\\ProxyStubClsid32", {}, kTypeLibraryMarshaller});
            result.push_back({key + L"\\TypeLib", {}, library});
            result.push_back({key + L"\\TypeLib", L"Version", kLibraryVersion});
        }
    }
    return result;
}

std::vector<std::wstring> Registration::ownedKeys(bool withInterfaces)
{
    std::vector<std::wstring> result = {L"CLSID\\" + text(CLSID_DTMMain), L"TypeLib\\" + text(LIBID_ZEB2HARTGatewayLib)};
    for (const char* progId : kProgIds)
        result.push_back(platform::toWide(progId));
    if (withInterfaces) {
        for (const auto& [iid, name] : automationInterfaces())
            result.push_back(L"Interface\\" + iid);
    }
    return result;
}

HRESULT Registration::install(const std::filesystem::path& module, bool withInterfaces)
{
    try {
        for (const Value& value : values(module, withInterfaces)) {
            if (const LSTATUS status = write(value); status != ERROR_SUCCESS) {
                remove(withInterfaces);
                return HRESULT_FROM_WIN32(status);
            }
        }
        return S_OK;
    } catch (...) {
        remove(withInterfaces);
        return SELFREG_E_CLASS;
    }
}

HRESULT Registration::remove(bool withInterfaces)
{
    try {
        HRESULT result = S_OK;
        for (const std::wstring& key : ownedKeys(withInterfaces)) {
            const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
            if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
                result = HRESULT_FROM_WIN32(status);
        }
        return result;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

} // namespace zeb2hart::com
