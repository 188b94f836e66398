#include "com/Registration.h"

#include <comcat.h>
#include <olectl.h>

#include <cwchar>
#include <iterator>
#include <span>

#include "com/FdtInterfaces.h"
#include "com/OleControl.h"
#include "com/TypeLibrary.h"
#include "com/Values.h"
#include "core/ComponentClasses.h"
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

constexpr LCID kCategoryLocale = 0x409; // English (United States)
struct Category {
    GUID id;
    const wchar_t* name; // its name for kCategoryLocale, given when the category is created
};
// The FDT component categories of a device DTM, which a gateway is: a device
// DTM with a channel.
constexpr Category kDtmCategories[] = {
    {{0x036D1490, 0x387B, 0x11D4, {0x86, 0xE1, 0x00, 0xE0, 0x98, 0x72, 0x70, 0xB9}}, L"FDT DTM"},
    {{0x036D1491, 0x387B, 0x11D4, {0x86, 0xE1, 0x00, 0xE0, 0x98, 0x72, 0x70, 0xB9}}, L"FDT DTM Device"},
};
// The category of ActiveX controls, which the pages are.
constexpr Category kControlCategories[] = {
    {{0x40FC6ED4, 0x2438, 0x11CF, {0xA3, 0xDB, 0x08, 0x00, 0x36, 0xF1, 0x25, 0x02}}, L"Controls"},
};

std::wstring text(const GUID& id)
{
    return platform::toWide(fromGuid(id).toString());
}

// The DLL's classes: the DTM and its pages, each with its categories.
struct ClassEntry {
    GUID clsid;
    std::wstring progId;
    std::wstring description;
    bool control;
    std::span<const Category> categories;
};

std::vector<ClassEntry> classes()
{
    std::vector<ClassEntry> result = {{CLSID_DTMMain, platform::toWide(core::kProgIdDtm), kDescription, false,
                                       kDtmCategories}};
    for (const core::ComponentClass& page : core::kPageClasses) {
        const std::wstring progId = platform::toWide(page.progId);
        result.push_back({toGuid(*fdt::Guid::parse(page.clsid)), progId,
                          std::wstring(kDescription) + L" " + progId.substr(progId.find(L'.') + 1), true,
                          kControlCategories});
    }
    return result;
}

// COM on the calling thread for one registration, as regsvr32 and installers
// do not all enter an apartment first; a thread already in one keeps it.
class RegistrationApartment {
public:
    RegistrationApartment() : m_entered(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~RegistrationApartment()
    {
        if (m_entered)
            CoUninitialize();
    }
    RegistrationApartment(const RegistrationApartment&) = delete;
    RegistrationApartment& operator=(const RegistrationApartment&) = delete;

private:
    bool m_entered;
};

// The system's component categories manager.
template <class I>
HRESULT categoriesManager(ComPtr<I>& manager)
{
    return CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER, __uuidof(I),
                            reinterpret_cast<void**>(manager.GetAddressOf()));
}

std::vector<CATID> categoryIds(std::span<const Category> categories)
{
    std::vector<CATID> ids;
    for (const Category& category : categories)
        ids.push_back(category.id);
    return ids;
}

// Creates each category that has no English name yet and makes each class a member of its own.
HRESULT joinCategories()
{
    ComPtr<ICatRegister> registrar;
    ComPtr<ICatInformation> information;
    if (HRESULT status = categoriesManager(registrar); FAILED(status))
        return status;
    if (HRESULT status = registrar.As(&information); FAILED(status))
        return status;
    for (const ClassEntry& entry : classes()) {
        for (const Category& category : entry.categories) {
            LPWSTR existing = nullptr;
            if (SUCCEEDED(information->GetCategoryDesc(category.id, kCategoryLocale, &existing))) {
                CoTaskMemFree(existing);
                continue;
            }
            CATEGORYINFO created{category.id, kCategoryLocale, {}};
            wcsncpy(created.szDescription, category.name, std::size(created.szDescription) - 1);
            if (HRESULT status = registrar->RegisterCategories(1, &created); FAILED(status))
                return status;
        }
        std::vector<CATID> ids = categoryIds(entry.categories);
        if (HRESULT status =
                registrar->RegisterClassImplCategories(entry.clsid, static_cast<ULONG>(ids.size()), ids.data());
            FAILED(status))
            return status;
    }
    return S_OK;
}

// Takes the classes out of their categories, which stay for the other components in them.
void leaveCategories()
{
    ComPtr<ICatRegister> registrar;
    if (FAILED(categoriesManager(registrar)))
        return;
    // The membership lives under the class's key, which remove() deletes whole
    // right after: a class that is in no category (or not registered) is no failure.
    for (const ClassEntry& entry : classes()) {
        std::vector<CATID> ids = categoryIds(entry.categories);
        registrar->UnRegisterClassImplCategories(entry.clsid, static_cast<ULONG>(ids.size()), ids.data());
    }
}

HRESULT deleteKeys(const std::vector<std::wstring>& keys)
{
    HRESULT result = S_OK;
    for (const std::wstring& key : keys) {
        const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
            result = HRESULT_FROM_WIN32(status);
    }
    return result;
}

// Whether the DTM class is registered in the other registry view of 64-bit
// Windows (the 32-bit one for the 64-bit DLL, and back), by a copy of the
// other architecture installed beside this one. On 32-bit Windows there is one
// view, and the answer is that of this view.
bool registeredInOtherView()
{
#ifdef _WIN64
    constexpr REGSAM kOtherView = KEY_WOW64_32KEY;
#else
    constexpr REGSAM kOtherView = KEY_WOW64_64KEY;
#endif
    const std::wstring server = L"CLSID\\" + text(classes().front().clsid) + L"\\InprocServer32";
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, server.c_str(), 0, KEY_READ | kOtherView, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
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
    // No name and no data: the key alone.
    if (value.name.empty() && value.data.empty()) {
        RegCloseKey(key);
        return ERROR_SUCCESS;
    }
    status = RegSetValueExW(key, value.name.empty() ? nullptr : value.name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.data.c_str()),
                            static_cast<DWORD>((value.data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status;
}

} // namespace

std::vector<Registration::Value> Registration::values(const std::filesystem::path& module, bool withInterfaces)
{
    const std::wstring library = text(LIBID_ZEB2HARTGatewayLib);
    const std::wstring libraryKey = L"TypeLib\\" + library + L"\\" + kLibraryVersion;
    std::vector<Value> result;
    for (const ClassEntry& entry : classes()) {
        const std::wstring clsid = L"CLSID\\" + text(entry.clsid);
        result.insert(result.end(), {
            {clsid, {}, entry.description},
            {clsid + L"\\InprocServer32", {}, module.wstring()},
            {clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
            {clsid + L"\\ProgID", {}, entry.progId},
            {clsid + L"\\TypeLib", {}, library},
        });
        if (entry.control) {
            result.insert(result.end(), {
                {clsid + L"\\VersionIndependentProgID", {}, entry.progId},
                {clsid + L"\\Control", {}, {}},
                {clsid + L"\\Programmable", {}, {}},
                {clsid + L"\\MiscStatus", {}, L"0"},
                {clsid + L"\\MiscStatus\\1", {}, std::to_wstring(OleControl::kMiscStatus)},
                {clsid + L"\\Version", {}, kLibraryVersion},
            });
        }
        result.push_back({entry.progId, {}, entry.description});
        result.push_back({entry.progId + L"\\CLSID", {}, text(entry.clsid)});
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
    std::vector<std::wstring> result;
    for (const ClassEntry& entry : classes())
        result.push_back(L"CLSID\\" + text(entry.clsid));
    if (withInterfaces) {
        for (const auto& [iid, name] : automationInterfaces())
            result.push_back(L"Interface\\" + iid);
    }
    return result;
}

std::vector<std::wstring> Registration::sharedKeys()
{
    std::vector<std::wstring> result;
    for (const ClassEntry& entry : classes())
        result.push_back(entry.progId);
    result.push_back(L"TypeLib\\" + text(LIBID_ZEB2HARTGatewayLib));
    return result;
}

HRESULT Registration::install(const std::filesystem::path& module, bool withInterfaces)
{
    const RegistrationApartment apartment;
    try {
        for (const Value& value : values(module, withInterfaces)) {
            if (const LSTATUS status = write(value); status != ERROR_SUCCESS) {
                remove(withInterfaces);
                return HRESULT_FROM_WIN32(status);
            }
        }
        if (const HRESULT status = joinCategories(); FAILED(status)) {
            remove(withInterfaces);
            return status;
        }
        return S_OK;
    } catch (...) {
        remove(withInterfaces);
        return SELFREG_E_CLASS;
    }
}

HRESULT Registration::remove(bool withInterfaces)
{
    const RegistrationApartment apartment;
    try {
        leaveCategories();
        const HRESULT owned = deleteKeys(ownedKeys(withInterfaces));
        // A copy of the other architecture still uses what the views share:
        // only this platform's entry of the type library goes.
        const HRESULT shared =
            registeredInOtherView()
                ? deleteKeys({L"TypeLib\\" + text(LIBID_ZEB2HARTGatewayLib) + L"\\" + kLibraryVersion + L"\\0\\" + kPlatform})
                : deleteKeys(sharedKeys());
        return FAILED(owned) ? owned : shared;
    } catch (...) {
        return SELFREG_E_CLASS;
    }
}

} // namespace zeb2hart::com
