#include "scripts/ScriptPages.h"

#include <algorithm>

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

std::string ScriptPages::targetPage(const ControlAction& action, const std::vector<std::string>& open,
                                    const std::function<bool(const std::string& page)>& hasControl,
                                    const std::string& toolkit)
{
    if (!action.page.empty()) {
        if (std::find(open.begin(), open.end(), action.page) == open.end())
            throw PageError("the " + toolkit + " \"" + action.page + "\" is not open");
        return action.page;
    }
    std::vector<std::string> holders;
    for (const std::string& page : open) {
        if (hasControl(page))
            holders.push_back(page);
    }
    if (holders.empty())
        throw PageError(open.empty() ? "no " + toolkit + " is open"
                                     : "no open " + toolkit + " has a control " + action.control);
    if (holders.size() > 1) {
        std::string names;
        for (const std::string& holder : holders)
            names += (names.empty() ? "" : " and ") + holder;
        throw PageError("the open pages " + names + " have a control " + action.control +
                        ": name the page with \"page\"");
    }
    return holders.front();
}

} // namespace zeb2hart::frame
