#pragma once
// The platform services a test frame lends the component through
// IZeb2hartFrameServices, installed for every DTM the thread creates from
// then on: the frame's event loop (posted work and timers as IZeb2hartWork),
// clock, GUIDs, message box, file dialog and shell, with the component folder
// the frame names. The DTM's class object installs and removes them for the
// frame (IZeb2hartTestServices). Used on the apartment's thread.

#include <filesystem>

#include "com/ComPtr.h"
#include "com/FdtInterfaces.h"
#include "platform/Services.h"

namespace zeb2hart::com {

class FrameServicesProxy {
public:
    // The services seen through `frame`.
    static platform::Services of(const ComPtr<IZeb2hartFrameServices>& frame, const std::filesystem::path& componentFolder);
    // Installs them in place of the ones in force, as a fresh component load
    // (the trace mode is read again); a null `frame` restores the ones before.
    // `withPages`: the frame shows the DTM's pages.
    static void install(const ComPtr<IZeb2hartFrameServices>& frame, const std::filesystem::path& componentFolder,
                        bool withPages);
    // Whether the DTMs made now offer their pages: as the test frame whose
    // services are installed says, and without one always, as the DLL serves
    // its own pages as ActiveX controls.
    static bool pagesOffered();
};

} // namespace zeb2hart::com
