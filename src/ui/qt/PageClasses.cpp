#include "ui/qt/PageClasses.h"

#include <QApplication>

#include "core/DTMMain.h"
#include "core/Pages.h"
#include "platform/ClassRegistry.h"
#include "ui/qt/ctlAbout.h"
#include "ui/qt/ctlMonitor.h"
#include "ui/qt/ctlOfflineParam.h"

namespace zeb2hart::ui {

namespace {

template <class Page>
platform::ClassRegistry::Factory pageFactory()
{
    return []() -> fdt::ObjectPtr {
        // Widgets need the application object of a user interface.
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            return nullptr;
        return makePage<Page>();
    };
}

template <class Page>
void registerPage(const char* progId)
{
    auto& registry = platform::ClassRegistry::instance();
    if (const auto clsid = registry.clsidOf(progId))
        registry.add(progId, *clsid, pageFactory<Page>());
}

[[maybe_unused]] const bool registeredAtLoad = (registerPageClasses(), true);

} // namespace

void registerPageClasses()
{
    core::registerComponentClasses();
    registerPage<ctlOfflineParam>(core::kProgIdOfflineParam);
    registerPage<ctlMonitor>(core::kProgIdMonitor);
    registerPage<ctlAbout>(core::kProgIdAbout);
}

} // namespace zeb2hart::ui
