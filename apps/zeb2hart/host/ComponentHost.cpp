#include "host/ComponentHost.h"

#include <system_error>

#include "core/Pages.h"
#include "platform/ClassRegistry.h"
#include "platform/ComponentFolder.h"

#ifndef ZEB2HART_INSTALLED_SHARE_DIR
#define ZEB2HART_INSTALLED_SHARE_DIR "/usr/local/share/zeb2hart"
#endif
#ifndef ZEB2HART_INSTALLED_COMPONENT_DIR
#define ZEB2HART_INSTALLED_COMPONENT_DIR "/usr/local/lib/zeb2hart"
#define ZEB2HART_COMPONENT_FROM_BINDIR "../lib/zeb2hart"
#endif

namespace zeb2hart::frame {

std::filesystem::path frameDataFolder()
{
    std::error_code error;
    const auto programFolder = platform::executableFolder();
    const auto besideExecutable = programFolder / ".." / "share" / "zeb2hart";
    if (!programFolder.empty() && std::filesystem::is_directory(besideExecutable, error))
        return std::filesystem::weakly_canonical(besideExecutable, error);
    return ZEB2HART_INSTALLED_SHARE_DIR;
}

std::filesystem::path frameComponentFolder()
{
    std::error_code error;
    const auto programFolder = platform::executableFolder();
    if (!programFolder.empty()) {
        for (const char* relative : {"../lib", ZEB2HART_COMPONENT_FROM_BINDIR}) {
            const auto folder = programFolder / relative;
            if (std::filesystem::exists(folder / "Resources" / "DTM.ini", error))
                return std::filesystem::weakly_canonical(folder, error);
        }
    }
    return ZEB2HART_INSTALLED_COMPONENT_DIR;
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
    // Registered here, not only when the library loads: a program that links the
    // layers statically (the Windows build) keeps no unused static initializer.
    core::registerComponentClasses();
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
