#include "pages/OfflineParamLogic.h"

#include <exception>
#include <limits>

#include "core/PersistentProperties.h"
#include "support/Conversions.h"
#include "support/IniFile.h"

namespace zeb2hart::pages {

int deviceIndexToSelect(int storedIndex, int entryCount)
{
    if (entryCount <= 0 || storedIndex < 0)
        return -1;
    return storedIndex > entryCount - 1 ? 0 : storedIndex;
}

void SetDeviceType(PageServices* dtm, int position, const std::string& typeName)
{
    if (!dtm || position < 0 || position > std::numeric_limits<std::int16_t>::max())
        return;
    try {
        if (position != dtm->property(core::key::PersistentDeviceTypeIndex).as<std::int16_t>()) {
            dtm->setProperty(core::key::PersistentDeviceTypeIndex, static_cast<std::int16_t>(position));
            dtm->parameterChanged(core::key::PersistentDeviceTypeIndex, std::to_string(position));
        }
        const std::filesystem::path settings = dtm->settingsFile();
        for (const auto& item : core::PersistentProperty::identity())
            dtm->setProperty(item.key, support::ReadIniString(settings, typeName, std::string(item.iniKey)));
    } catch (const std::exception&) {
        // The DTM keeps what it had when the selection cannot be applied.
    }
}

bool isDelayCharacterAccepted(char32_t character)
{
    return (character >= U'0' && character <= U'9') || character == 8;
}

void CheckWarmstartDelay(PageServices* dtm, const std::string& text)
{
    if (text.empty() || !dtm)
        return;
    try {
        const std::int16_t delay = support::toInteger(text);
        if (delay != dtm->property(core::key::PersistentWarmstartDelay).as<std::int16_t>()) {
            dtm->setProperty(core::key::PersistentWarmstartDelay, delay);
            dtm->parameterChanged(core::key::PersistentWarmstartDelay, text);
        }
    } catch (const std::exception&) {
        // A value that does not fit leaves the delay as it was.
    }
}

std::string warmstartDelayText(PageServices& dtm)
{
    return std::to_string(dtm.property(core::key::PersistentWarmstartDelay).as<std::int16_t>());
}

std::optional<std::int32_t> statusValue(const fdt::Variant& value)
{
    try {
        return support::toLong(value);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<std::filesystem::path> statusPicture(const std::filesystem::path& componentFolder,
                                                   std::int32_t status)
{
    const char* name = nullptr;
    switch (status) {
    case 0:
        name = "connected_13x52.gif";
        break;
    case 1:
        name = "disconn_13x52.gif";
        break;
    case 2:
        name = "error_13x52.gif";
        break;
    default:
        return std::nullopt;
    }
    return componentFolder / "Resources" / name;
}

} // namespace zeb2hart::pages
