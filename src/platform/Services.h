#pragma once
// The platform services one component instance uses, gathered in one place.
// Production code reads them through services(); a frame stand-in or a test
// installs its own set (ScopedServices) before it creates DTM objects.
// Each thread has a set of its own (the frame's apartment, the thread that runs
// a test's event loop), which only that thread uses.

#include <filesystem>
#include <memory>

#include "../fdt/Export.h"
#include "Clock.h"
#include "Dialogs.h"
#include "EventLoop.h"
#include "GuidSource.h"

namespace zeb2hart::platform {

class ThreadState;

struct ZEB2HART_API Services {
    std::filesystem::path componentFolder;
    // Where the component writes what its own folder cannot take (the trace file
    // of a component under Program Files); empty: nowhere else.
    std::filesystem::path userDataFolder;
    std::shared_ptr<EventLoop> eventLoop;
    std::shared_ptr<Clock> clock;
    std::shared_ptr<GuidSource> guids;
    std::shared_ptr<MessageBox> messageBox;
    std::shared_ptr<FileDialog> fileDialog;
    std::shared_ptr<Shell> shell;
};

// The services in force on the calling thread. Until someone installs a set
// there, the thread's own systemServices().
ZEB2HART_API Services& services();

// The system's own set: the library's folder, the system clock and GUIDs; on
// Windows a window-message event loop and the Win32 dialogs, elsewhere a RunLoop
// and recording dialogs (the Qt pages install their own).
ZEB2HART_API Services systemServices();

// Installs a set on the calling thread for the lifetime of the object and
// restores the previous one after; made and ended on that thread, which keeps
// its module data meanwhile.
class ZEB2HART_API ScopedServices {
public:
    explicit ScopedServices(Services replacement);
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    ThreadState* m_thread;
    Services m_previous;
};

} // namespace zeb2hart::platform
