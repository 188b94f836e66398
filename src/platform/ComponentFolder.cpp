#include "platform/ComponentFolder.h"

#include <dlfcn.h>

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

} // namespace zeb2hart::platform
