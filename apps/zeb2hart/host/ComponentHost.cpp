#include "host/ComponentHost.h"

#include <unistd.h>

#include <system_error>

#include "core/Pages.h"
#include "platform/ClassRegistry.h"

#ifndef ZEB2HART_INSTALLED_SHARE_DIR
#define ZEB2HART_INSTALLED_SHARE_DIR "/usr/local/share/zeb2hart"
#endif

namespace zeb2hart::frame {

namespace {
std::filesystem::path executableFolder()
{
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self.parent_path();
}
} // namespace

std::filesystem::path frameDataFolder()
{
    std::error_code error;
    const auto besideExecutable = executableFolder() / ".." / "share" / "zeb2hart";
    if (!executableFolder().empty() && std::filesystem::is_directory(besideExecutable, error))
        return std::filesystem::weakly_canonical(besideExecutable, error);
    return ZEB2HART_INSTALLED_SHARE_DIR;
}

std::filesystem::path frameSchemaFolder()
{
    return frameDataFolder() / "FrameSchemas";
}

std::filesystem::path deviceModelFile(const std::string& deviceType)
{
    return frameDataFolder() / "Devices" / (deviceType + ".json");
}

void checkComponentFolder(const std::filesystem::path& folder)
{
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        throw HostError("component folder " + folder.string() + " does not exist");
    for (const char* part : {"Resources/DTM.ini", "XMLData", "XMLSchemas"}) {
        if (!std::filesystem::exists(folder / part, error))
            throw HostError("component folder " + folder.string() + " holds no " + part);
    }
}

std::shared_ptr<core::DTMMain> createDtm()
{
    auto& registry = platform::ClassRegistry::instance();
    const auto clsid = registry.clsidOf(core::kProgIdDtm);
    if (!clsid)
        throw HostError(std::string("the class ") + core::kProgIdDtm + " is not registered");
    auto dtm = fdt::query<core::DTMMain>(registry.create(*clsid));
    if (!dtm)
        throw HostError(std::string("the class ") + core::kProgIdDtm + " could not be created");
    return dtm;
}

} // namespace zeb2hart::frame
