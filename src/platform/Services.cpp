#include "platform/Services.h"

namespace zeb2hart::platform {

Services& services()
{
    static Services current = systemServices();
    return current;
}

ScopedServices::ScopedServices(Services replacement) : m_previous(services())
{
    // Anything the replacement leaves unset keeps the service in force.
    Services& current = services();
    if (!replacement.componentFolder.empty())
        current.componentFolder = std::move(replacement.componentFolder);
    if (!replacement.userDataFolder.empty())
        current.userDataFolder = std::move(replacement.userDataFolder);
    if (replacement.eventLoop)
        current.eventLoop = std::move(replacement.eventLoop);
    if (replacement.clock)
        current.clock = std::move(replacement.clock);
    if (replacement.guids)
        current.guids = std::move(replacement.guids);
    if (replacement.messageBox)
        current.messageBox = std::move(replacement.messageBox);
    if (replacement.fileDialog)
        current.fileDialog = std::move(replacement.fileDialog);
    if (replacement.shell)
        current.shell = std::move(replacement.shell);
}

ScopedServices::~ScopedServices()
{
    services() = std::move(m_previous);
}

} // namespace zeb2hart::platform
