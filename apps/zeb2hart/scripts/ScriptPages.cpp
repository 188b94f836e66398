#include "scripts/ScriptPages.h"

#include "core/ComponentClasses.h"
#include "core/Pages.h"

namespace zeb2hart::frame {

const std::vector<ScriptPages::PageClass>& ScriptPages::pageClasses()
{
    static const std::vector<PageClass> classes = {
        {"monitor", core::kProgIdMonitor, core::kFunctionMonitor},
        {"offline", core::kProgIdOfflineParam, core::kFunctionOfflineParam},
        {"about", core::kProgIdAbout, core::kFunctionAbout},
    };
    return classes;
}

const ScriptPages::PageClass* ScriptPages::pageClass(const std::string& name)
{
    for (const auto& page : pageClasses()) {
        if (page.name == name)
            return &page;
    }
    return nullptr;
}

} // namespace zeb2hart::frame
