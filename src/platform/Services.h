#pragma once
// The platform services one component instance uses, gathered in one place.
// Production code reads them through services(); a frame stand-in or a test
// installs its own set (ScopedServices) before it creates DTM objects.
// One thread uses them: the frame's apartment, or the thread that runs a test's event loop.

#include <filesystem>
#include <memory>

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "platform/GuidSource.h"

namespace zeb2hart::platform {

struct Services {
    std::filesystem::path componentFolder;
    std::shared_ptr<EventLoop> eventLoop;
    std::shared_ptr<Clock> clock;
    std::shared_ptr<GuidSource> guids;
    std::shared_ptr<MessageBox> messageBox;
    std::shared_ptr<FileDialog> fileDialog;
    std::shared_ptr<Shell> shell;
};

// The services in force. Until someone installs a set, the defaults: the
// library's folder, a RunLoop, the system clock, libuuid, and recording dialogs.
Services& services();

// Installs a set for the lifetime of the object and restores the previous one after.
class ScopedServices {
public:
    explicit ScopedServices(Services replacement);
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    Services m_previous;
};

} // namespace zeb2hart::platform
