// DllRegisterServer writes every key a frame looks up and puts the DTM in the
// FDT component categories a frame's catalogue lists; DllUnregisterServer
// leaves none of its keys behind and takes the class out of the categories,
// which stay.

#include <comcat.h>
#include <ole2.h>

#include <algorithm>
#include <optional>

#include "ComTestSupport.h"
#include "platform/win32/WindowsApi.h"

namespace zeb2hart::test {
namespace {

std::optional<std::wstring> registryText(const std::wstring& key, const std::wstring& name = {})
{
    wchar_t buffer[1024];
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name.empty() ? nullptr : name.c_str(), RRF_RT_REG_SZ, nullptr,
                     buffer, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer);
}

bool keyExists(const std::wstring& key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

const std::wstring kClsid = L"{57A3E071-EDD7-412B-A84E-4C20E0C88770}";
// "FDT DTM" and "FDT DTM Device".
const wchar_t* const kCategories[] = {L"{036D1490-387B-11D4-86E1-00E0987270B9}",
                                      L"{036D1491-387B-11D4-86E1-00E0987270B9}"};
// The pages, ActiveX controls: ProgID, class, description.
struct PageClass {
    const wchar_t* progId;
    const wchar_t* clsid;
    const wchar_t* description;
};
const PageClass kPages[] = {
    {L"ZEB2HARTGateway.ctlOfflineParam", L"{123C16C9-91D8-4711-AEE5-9C2B58B274B9}",
     L"ZEB2HART Gateway DTM ctlOfflineParam"},
    {L"ZEB2HARTGateway.ctlMonitor", L"{5E2A1315-8998-4327-8EA1-F6EC8900B436}", L"ZEB2HART Gateway DTM ctlMonitor"},
    {L"ZEB2HARTGateway.ctlAbout", L"{1A898714-DDAA-4F59-A3E4-EACF0B661DF5}", L"ZEB2HART Gateway DTM ctlAbout"},
};
const wchar_t* const kControlsCategory = L"{40FC6ED4-2438-11CF-A3DB-080036F12502}";
const std::wstring kLibrary = L"{1CFB124C-45AD-4D38-AF15-7DB461A6FC68}";
#ifdef _WIN64
const std::wstring kPlatform = L"win64";
#else
const std::wstring kPlatform = L"win32";
#endif

using RegistrationTest = ComTest;

TEST_F(RegistrationTest, RegistersEveryKeyAndRemovesThemAll)
{
    GatewayDll dll;
    ASSERT_TRUE(dll.loaded());
    // What an earlier version wrote for a page names another class: registration puts it right.
    const wchar_t oldPageClass[] = L"{00000000-8998-4327-8EA1-F6EC8900B436}";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, L"ZEB2HARTGateway.ctlMonitor\\CLSID", nullptr, REG_SZ, oldPageClass,
                              sizeof oldPageClass),
              ERROR_SUCCESS);
    ASSERT_EQ(dll.call("DllRegisterServer"), S_OK);

    struct Value {
        std::wstring key, name, data;
    };
    const std::wstring clsidKey = L"CLSID\\" + kClsid;
    const std::wstring libraryKey = L"TypeLib\\" + kLibrary + L"\\1.0";
    const std::wstring marshaller = L"{00020424-0000-0000-C000-000000000046}";
    std::vector<Value> expected = {
        {clsidKey, {}, L"ZEB2HART Gateway DTM"},
        {clsidKey + L"\\InprocServer32", {}, gatewayDllPath()},
        {clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {clsidKey + L"\\ProgID", {}, L"ZEB2HARTGateway.DTMMain"},
        {clsidKey + L"\\TypeLib", {}, kLibrary},
        {L"ZEB2HARTGateway.DTMMain", {}, L"ZEB2HART Gateway DTM"},
        {L"ZEB2HARTGateway.DTMMain\\CLSID", {}, kClsid},
        {libraryKey, {}, L"ZEB2HART Gateway DTM"},
        {libraryKey + L"\\0\\" + kPlatform, {}, gatewayDllPath()},
        {libraryKey + L"\\FLAGS", {}, L"0"},
    };
    // Keys that hold no value.
    std::vector<std::wstring> expectedKeys;
    for (const PageClass& page : kPages) {
        const std::wstring pageKey = std::wstring(L"CLSID\\") + page.clsid;
        expected.insert(expected.end(), {
            {pageKey, {}, page.description},
            {pageKey + L"\\InprocServer32", {}, gatewayDllPath()},
            {pageKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
            {pageKey + L"\\ProgID", {}, page.progId},
            {pageKey + L"\\VersionIndependentProgID", {}, page.progId},
            {pageKey + L"\\MiscStatus", {}, L"0"},
            {pageKey + L"\\MiscStatus\\1", {}, L"131473"},
            {pageKey + L"\\TypeLib", {}, kLibrary},
            {pageKey + L"\\Version", {}, L"1.0"},
            {page.progId, {}, page.description},
            {std::wstring(page.progId) + L"\\CLSID", {}, page.clsid},
        });
        expectedKeys.insert(expectedKeys.end(), {pageKey + L"\\Control", pageKey + L"\\Programmable",
                                                 pageKey + L"\\Implemented Categories\\" + kControlsCategory});
    }
#ifdef ZEB2HART_COM_TEST_REGISTRATION
    const std::pair<const wchar_t*, const wchar_t*> interfaces[] = {
        {L"{036D1481-387B-11D4-86E1-00E0987270B9}", L"IDtm"},
        {L"{E4F31A10-45BF-11D4-BBB3-0060080993FF}", L"IFdtChannelCollection"},
        {L"{F15BA42E-BBF1-42ED-8009-7F664A002CFB}", L"IDtmEvents"},
        {L"{036D147A-387B-11D4-86E1-00E0987270B9}", L"IFdtTopology"},
        {L"{1CB0E38C-BFBC-4749-BEA2-701A050C8140}", L"IZeb2hartTestAccess"},
        {L"{0E4C5B8F-7F0A-4E63-B6F4-9D3C2A81E5B7}", L"IZeb2hartFrameServices"},
    };
    for (const auto& [iid, name] : interfaces) {
        expected.push_back({std::wstring(L"Interface\\") + iid, {}, name});
        expected.push_back({std::wstring(L"Interface\\") + iid + L"\\ProxyStubClsid32", {}, marshaller});
        expected.push_back({std::wstring(L"Interface\\") + iid + L"\\TypeLib", {}, kLibrary});
    }
#endif
    for (const Value& value : expected)
        EXPECT_EQ(registryText(value.key, value.name), value.data) << platform::fromWide(value.key);
    for (const wchar_t* category : kCategories)
        expectedKeys.push_back(clsidKey + L"\\Implemented Categories\\" + category);
    for (const std::wstring& key : expectedKeys)
        EXPECT_TRUE(keyExists(key)) << platform::fromWide(key);
    // No category of the DTM's on a page, nor the pages' on the DTM.
    EXPECT_FALSE(keyExists(clsidKey + L"\\Implemented Categories\\" + kControlsCategory));
    EXPECT_FALSE(keyExists(std::wstring(L"CLSID\\") + kPages[0].clsid + L"\\Implemented Categories\\" + kCategories[0]));

    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(L"ZEB2HARTGateway.DTMMain", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_DTMMain);
    for (const PageClass& page : kPages) {
        CLSID pageClass{}, registered{};
        ASSERT_EQ(CLSIDFromString(page.clsid, &pageClass), S_OK);
        EXPECT_EQ(CLSIDFromProgID(page.progId, &registered), S_OK);
        EXPECT_EQ(registered, pageClass) << platform::fromWide(page.progId);
        DWORD status = 0;
        EXPECT_EQ(OleRegGetMiscStatus(pageClass, DVASPECT_CONTENT, &status), S_OK);
        EXPECT_EQ(status, 131473u);
    }
    com::ComPtr<ITypeLib> library;
    EXPECT_EQ(LoadRegTypeLib(LIBID_ZEB2HARTGatewayLib, 1, 0, 0, library.GetAddressOf()), S_OK);

    ASSERT_EQ(dll.call("DllUnregisterServer"), S_OK);
    for (const Value& value : expected)
        EXPECT_FALSE(keyExists(value.key)) << platform::fromWide(value.key);
    for (const std::wstring& key : expectedKeys)
        EXPECT_FALSE(keyExists(key)) << platform::fromWide(key);
    std::vector<std::wstring> gone = {L"ZEB2HARTGateway.DTMMain", L"TypeLib\\{1CFB124C-45AD-4D38-AF15-7DB461A6FC68}"};
    for (const PageClass& page : kPages)
        gone.insert(gone.end(), {page.progId, std::wstring(L"CLSID\\") + page.clsid});
    for (const std::wstring& key : gone)
        EXPECT_FALSE(keyExists(key)) << platform::fromWide(key);
    EXPECT_EQ(dll.call("DllUnregisterServer"), S_OK); // twice is harmless
}

// The component categories as a frame's catalogue reads them, through the
// system's component categories manager.
class Catalogue {
public:
    Catalogue()
    {
        EXPECT_EQ(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_ICatInformation, reinterpret_cast<void**>(m_information.GetAddressOf())),
                  S_OK);
        if (m_information) {
            EXPECT_EQ(m_information.As(&m_registrar), S_OK);
        }
    }
    bool ready() const { return m_information && m_registrar; }

    // Whether EnumClassesOfCategories lists the DTM's class for the category.
    bool listsDtm(const CATID& category) const
    {
        com::ComPtr<IEnumCLSID> classes;
        CATID implemented = category;
        if (FAILED(m_information->EnumClassesOfCategories(1, &implemented, 0, nullptr, classes.GetAddressOf())))
            return false;
        for (CLSID clsid{}; classes->Next(1, &clsid, nullptr) == S_OK;) {
            if (clsid == CLSID_DTMMain)
                return true;
        }
        return false;
    }
    // Whether EnumCategories lists the category.
    bool lists(const CATID& category) const
    {
        com::ComPtr<IEnumCATEGORYINFO> categories;
        if (FAILED(m_information->EnumCategories(kEnglish, categories.GetAddressOf())))
            return false;
        for (CATEGORYINFO info{}; categories->Next(1, &info, nullptr) == S_OK;) {
            if (info.catid == category)
                return true;
        }
        return false;
    }
    // The category's English name, none when it has none.
    std::optional<std::wstring> name(const CATID& category) const
    {
        LPWSTR text = nullptr;
        if (FAILED(m_information->GetCategoryDesc(category, kEnglish, &text)))
            return std::nullopt;
        std::wstring result(text);
        CoTaskMemFree(text);
        return result;
    }
    // Creates the category with this name, or renames it; none: removes it.
    HRESULT set(const CATID& category, const std::optional<std::wstring>& categoryName) const
    {
        CATID id = category;
        if (!categoryName)
            return m_registrar->UnRegisterCategories(1, &id);
        CATEGORYINFO info{category, kEnglish, {}};
        categoryName->copy(info.szDescription, std::size(info.szDescription) - 1);
        return m_registrar->RegisterCategories(1, &info);
    }

    static constexpr LCID kEnglish = 0x409;

private:
    com::ComPtr<ICatInformation> m_information;
    com::ComPtr<ICatRegister> m_registrar;
};

TEST_F(RegistrationTest, TheDtmJoinsTheFdtCategoriesAndLeavesThemStanding)
{
    GatewayDll dll;
    ASSERT_TRUE(dll.loaded());
    const Catalogue catalogue;
    ASSERT_TRUE(catalogue.ready());

    struct Case {
        const wchar_t* category;
        std::optional<std::wstring> before; // its name before registration; none: missing
        std::wstring after;                 // its name once the DTM is registered, and after that
    };
    // A category another DTM made keeps the name it was given; a missing one gets the FDT name.
    // The cases end with both categories as the FDT names them.
    const Case cases[] = {
        {kCategories[0], L"FDT DTM (another setup's spelling)", L"FDT DTM (another setup's spelling)"},
        {kCategories[1], L"FDT-DTM Device", L"FDT-DTM Device"},
        {kCategories[0], std::nullopt, L"FDT DTM"},
        {kCategories[1], std::nullopt, L"FDT DTM Device"},
    };
    for (const Case& c : cases) {
        const std::string what =
            platform::fromWide(c.category) + " " + platform::fromWide(c.before.value_or(L"missing"));
        CATID category{};
        ASSERT_EQ(CLSIDFromString(c.category, &category), S_OK) << what;
        ASSERT_EQ(catalogue.set(category, c.before), S_OK) << what;
        ASSERT_EQ(catalogue.lists(category), c.before.has_value()) << what;

        ASSERT_EQ(dll.call("DllRegisterServer"), S_OK) << what;
        EXPECT_TRUE(catalogue.listsDtm(category)) << what;
        EXPECT_EQ(catalogue.name(category), c.after) << what;

        ASSERT_EQ(dll.call("DllUnregisterServer"), S_OK) << what;
        EXPECT_FALSE(catalogue.listsDtm(category)) << what;
        EXPECT_TRUE(catalogue.lists(category)) << what;
        EXPECT_EQ(catalogue.name(category), c.after) << what;
    }
}

} // namespace
} // namespace zeb2hart::test
