// The component's classes as the frame finds them: the DTM and its three pages
// under their ProgIDs with fixed class identifiers.

#include "core/DTMMain.h"
#include "core/Pages.h"
#include "platform/ClassRegistry.h"

namespace zeb2hart::core {

namespace {

struct ComponentClass {
    const char* progId;
    const char* clsid;
};

constexpr ComponentClass kDtmClass{kProgIdDtm, "{57A3E071-EDD7-412B-A84E-4C20E0C88770}"};
constexpr ComponentClass kPageClasses[] = {
    {kProgIdOfflineParam, "{123C16C9-91D8-4711-AEE5-9C2B58B274B9}"},
    {kProgIdMonitor, "{5E2A1315-8998-4327-8EA1-F6EC8900B436}"},
    {kProgIdAbout, "{1A898714-DDAA-4F59-A3E4-EACF0B661DF5}"},
};

fdt::Guid clsidOf(const ComponentClass& componentClass)
{
    return *fdt::Guid::parse(componentClass.clsid);
}

// Registration when the library is loaded.
[[maybe_unused]] const bool registeredAtLoad = (registerComponentClasses(), true);

} // namespace

void registerComponentClasses()
{
    auto& registry = platform::ClassRegistry::instance();
    if (!registry.clsidOf(kDtmClass.progId))
        registry.add(kDtmClass.progId, clsidOf(kDtmClass), [] { return fdt::ObjectPtr(DTMMain::create()); });
    // A page class the user interface has registered with its factory stays as it is.
    for (const ComponentClass& page : kPageClasses) {
        if (!registry.clsidOf(page.progId))
            registry.add(page.progId, clsidOf(page));
    }
}

} // namespace zeb2hart::core
