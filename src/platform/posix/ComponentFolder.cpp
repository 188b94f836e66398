#include "platform/ComponentFolder.h"

#include <dlfcn.h>

#include <cstdlib>

namespace zeb2hart::platform {

std::filesystem::path libraryFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&libraryFolder), &info) == 0 || info.dli_fname == nullptr)
        return {};
    std::error_code error;
    auto path = std::filesystem::canonical(info.dli_fname, error);
    if (error)
        path = std::filesystem::absolute(info.dli_fname, error);
    return path.parent_path();
}

std::filesystem::path executableFolder()
{
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self.parent_path();
}

std::filesystem::path userDataFolder()
{
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && state[0] == '/')
        return std::filesystem::path(state) / "zeb2hart";
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/')
        return std::filesystem::path(home) / ".local" / "state" / "zeb2hart";
    return {};
}

} // namespace zeb2hart::platform
