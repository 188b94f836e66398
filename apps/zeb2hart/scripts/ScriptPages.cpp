#include "scripts/ScriptPages.h"

#include "core/Pages.h"

namespace zeb2hart::frame {

const std::vector<ScriptPages::PageClass>& ScriptPages::pageClasses()
{
    static const std::vector<PageClass> classes = {
        {"monitor", core::kProgIdMonitor, "30"},
        {"offline", core::kProgIdOfflineParam, "10"},
        {"about", core::kProgIdAbout, "50"},
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
