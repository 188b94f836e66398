#include "core/ComponentClasses.h"

#include "core/DTMMain.h"
#include "platform/ClassRegistry.h"

namespace zeb2hart::core {

namespace {

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
