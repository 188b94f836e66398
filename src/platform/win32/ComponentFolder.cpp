#include "platform/ComponentFolder.h"

#include "platform/win32/WindowsApi.h"

#include <knownfolders.h>
#include <shlobj.h>

namespace zeb2hart::platform {

namespace {
// The folder of the file `module` was loaded from (nullptr: the program's).
std::filesystem::path moduleFolder(HMODULE module)
{
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return {};
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(name.size() * 2); // a long path: try again with more room
    }
    return std::filesystem::path(name).parent_path();
}
} // namespace

std::filesystem::path libraryFolder()
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&libraryFolder), &module))
        return {};
    return moduleFolder(module);
}

std::filesystem::path executableFolder()
{
    return moduleFolder(nullptr);
}

std::filesystem::path userDataFolder()
{
    PWSTR folder = nullptr;
    std::filesystem::path result;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder)))
        result = std::filesystem::path(folder) / L"ZEB2HARTGateway";
    CoTaskMemFree(folder);
    return result;
}

} // namespace zeb2hart::platform
