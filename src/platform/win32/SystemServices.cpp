#include "platform/ComponentFolder.h"
#include "platform/Services.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/WindowEventLoop.h"

namespace zeb2hart::platform {

Services systemServices()
{
    Services defaults;
    defaults.componentFolder = libraryFolder();
    defaults.userDataFolder = userDataFolder();
    defaults.eventLoop = std::make_shared<WindowEventLoop>();
    defaults.clock = std::make_shared<SystemClock>();
    defaults.guids = std::make_shared<SystemGuidSource>();
    defaults.messageBox = std::make_shared<Win32MessageBox>();
    defaults.fileDialog = std::make_shared<Win32FileDialog>();
    defaults.shell = std::make_shared<Win32Shell>();
    return defaults;
}

} // namespace zeb2hart::platform
