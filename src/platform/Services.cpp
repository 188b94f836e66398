#include "platform/Services.h"

#include "platform/ThreadState.h"

namespace zeb2hart::platform {

Services& services()
{
    return ThreadState::current().services();
}

ScopedServices::ScopedServices(Services replacement)
    : m_thread(&ThreadState::current()), m_previous(m_thread->services())
{
    m_thread->addHold();
    // Anything the replacement leaves unset keeps the service in force.
    Services& current = m_thread->services();
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
    m_thread->services() = std::move(m_previous);
    m_thread->dropHold();
}

} // namespace zeb2hart::platform
