#pragma once
// What every fuzz target sets up once: platform services that record instead
// of showing (message boxes), numbered GUIDs, a fixed clock and a manual event
// loop, over the component folder of the build tree.

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/GuidSource.h"
#include "platform/ManualEventLoop.h"
#include "platform/Services.h"

namespace zeb2hart::fuzz {

namespace fs = std::filesystem;

inline fs::path componentDir()
{
    return ZEB2HART_COMPONENT_DIR;
}

inline fs::path frameSchemaDir()
{
    return fs::path(ZEB2HART_FRAME_DIR) / "FrameSchemas";
}

class FuzzServices {
public:
    FuzzServices()
    {
        std::tm moment{};
        moment.tm_year = 2026 - 1900;
        moment.tm_mon = 11;
        moment.tm_mday = 6;
        platform::Services services;
        services.componentFolder = componentDir();
        services.eventLoop = loop;
        services.clock = std::make_shared<platform::FixedClock>(moment);
        services.guids = std::make_shared<platform::SequentialGuidSource>();
        services.messageBox = messageBox;
        services.fileDialog = std::make_shared<platform::RecordingFileDialog>();
        services.shell = std::make_shared<platform::RecordingShell>();
        m_scope = std::make_unique<platform::ScopedServices>(std::move(services));
    }

    // Forgets what the last input left behind.
    void reset() { messageBox->shown.clear(); }

    std::shared_ptr<platform::ManualEventLoop> loop = std::make_shared<platform::ManualEventLoop>();
    std::shared_ptr<platform::RecordingMessageBox> messageBox = std::make_shared<platform::RecordingMessageBox>();

private:
    std::unique_ptr<platform::ScopedServices> m_scope;
};

inline FuzzServices& services()
{
    static FuzzServices installed;
    return installed;
}

// A file of this process's own for targets that read files.
inline fs::path scratchFile(const std::string& name)
{
    return fs::temp_directory_path() / ("zeb2hart-fuzz-" + std::to_string(::getpid()) + "-" + name);
}

inline std::string text(const std::uint8_t* data, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

} // namespace zeb2hart::fuzz
