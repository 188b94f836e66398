#include "pages/AboutLogic.h"

namespace zeb2hart::pages {

std::string componentVersion()
{
    return std::to_string(ZEB2HART_VERSION_MAJOR) + "." + std::to_string(ZEB2HART_VERSION_MINOR) + "." +
           std::to_string(ZEB2HART_VERSION_PATCH);
}

std::string versionCaption(const std::string& translatedText)
{
    return translatedText + ": " + componentVersion();
}

} // namespace zeb2hart::pages
