#include "ui/qt/PageClasses.h"

#include <QApplication>

#include "core/DTMMain.h"
#include "core/Pages.h"
#include "platform/ClassRegistry.h"
#include "ui/qt/QtPageView.h"

namespace zeb2hart::ui {

namespace {

void registerPage(const char* progId, pages::PageKind kind)
{
    auto& registry = platform::ClassRegistry::instance();
    if (const auto clsid = registry.clsidOf(progId)) {
        registry.add(progId, *clsid, [kind]() -> fdt::ObjectPtr {
            // Widgets need the application object of a user interface.
            if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
                return nullptr;
            return makeQtPage(kind);
        });
    }
}

[[maybe_unused]] const bool registeredAtLoad = (registerPageClasses(), true);

} // namespace

void registerPageClasses()
{
    core::registerComponentClasses();
    registerPage(core::kProgIdOfflineParam, pages::PageKind::OfflineParam);
    registerPage(core::kProgIdMonitor, pages::PageKind::Monitor);
    registerPage(core::kProgIdAbout, pages::PageKind::About);
}

} // namespace zeb2hart::ui
