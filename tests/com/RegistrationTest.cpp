// DllRegisterServer writes every key a frame looks up, and DllUnregisterServer
// leaves none of them behind.

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
        {L"ZEB2HARTGateway.DTMMain\\CLSID", {}, kClsid},
        {L"ZEB2HARTGateway.ctlOfflineParam\\CLSID", {}, L"{123C16C9-91D8-4711-AEE5-9C2B58B274B9}"},
        {L"ZEB2HARTGateway.ctlMonitor\\CLSID", {}, L"{5E2A1315-8998-4327-8EA1-F6EC8900B436}"},
        {L"ZEB2HARTGateway.ctlAbout\\CLSID", {}, L"{1A898714-DDAA-4F59-A3E4-EACF0B661DF5}"},
        {libraryKey, {}, L"ZEB2HART Gateway DTM"},
        {libraryKey + L"\\0\\" + kPlatform, {}, gatewayDllPath()},
        {libraryKey + L"\\FLAGS", {}, L"0"},
    };
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

    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(L"ZEB2HARTGateway.DTMMain", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_DTMMain);
    com::ComPtr<ITypeLib> library;
    EXPECT_EQ(LoadRegTypeLib(LIBID_ZEB2HARTGatewayLib, 1, 0, 0, library.GetAddressOf()), S_OK);

    ASSERT_EQ(dll.call("DllUnregisterServer"), S_OK);
    for (const Value& value : expected)
        EXPECT_FALSE(keyExists(value.key)) << platform::fromWide(value.key);
    for (const wchar_t* key : {L"ZEB2HARTGateway.DTMMain", L"ZEB2HARTGateway.ctlMonitor", L"TypeLib\\{1CFB124C-45AD-4D38-AF15-7DB461A6FC68}"})
        EXPECT_FALSE(keyExists(key)) << platform::fromWide(key);
    EXPECT_EQ(dll.call("DllUnregisterServer"), S_OK); // twice is harmless
}

} // namespace
} // namespace zeb2hart::test
