#include "platform/Services.h"

#include "platform/ComponentFolder.h"
#include "platform/RunLoop.h"

namespace zeb2hart::platform {

namespace {
Services makeDefaults()
{
    Services defaults;
    defaults.componentFolder = libraryFolder();
    defaults.eventLoop = std::make_shared<RunLoop>();
    defaults.clock = std::make_shared<SystemClock>();
    defaults.guids = std::make_shared<UuidGuidSource>();
    defaults.messageBox = std::make_shared<RecordingMessageBox>();
    defaults.fileDialog = std::make_shared<RecordingFileDialog>();
    defaults.shell = std::make_shared<RecordingShell>();
    return defaults;
}
} // namespace

Services& services()
{
    static Services current = makeDefaults();
    return current;
}

ScopedServices::ScopedServices(Services replacement) : m_previous(services())
{
    // Anything the replacement leaves unset keeps the service in force.
    Services& current = services();
    if (!replacement.componentFolder.empty())
        current.componentFolder = std::move(replacement.componentFolder);
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
