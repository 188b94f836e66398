#include "platform/ComponentFolder.h"
#include "platform/RunLoop.h"
#include "platform/Services.h"

namespace zeb2hart::platform {

Services systemServices()
{
    Services defaults;
    defaults.componentFolder = libraryFolder();
    defaults.userDataFolder = userDataFolder();
    defaults.eventLoop = std::make_shared<RunLoop>();
    defaults.clock = std::make_shared<SystemClock>();
    defaults.guids = std::make_shared<SystemGuidSource>();
    defaults.messageBox = std::make_shared<RecordingMessageBox>();
    defaults.fileDialog = std::make_shared<RecordingFileDialog>();
    defaults.shell = std::make_shared<RecordingShell>();
    return defaults;
}

} // namespace zeb2hart::platform
