#include "core/ComponentData.h"

#include <array>

#include "support/IniFile.h"

namespace zeb2hart::core {

std::vector<std::string> splitDeviceList(std::string_view list)
{
    std::vector<std::string> names;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        names.emplace_back(list.substr(0, comma));
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    return names;
}

std::optional<std::string> deviceAt(std::string_view list, int index)
{
    std::vector<std::string> names = splitDeviceList(list);
    if (index < 0 || static_cast<std::size_t>(index) >= names.size())
        return std::nullopt;
    return std::move(names[static_cast<std::size_t>(index)]);
}

std::vector<std::string> deviceTypes(const std::filesystem::path& iniFile)
{
    return splitDeviceList(support::ReadIniString(iniFile, "DeviceList", "Devices"));
}

std::span<const DictionaryText> dictionaryTexts()
{
    static const std::array<DictionaryText, 21> table{{
        {text::kConnected, "the communication status"},
        {text::kDisconnected, "the communication status"},
        {text::kConnectionError, "the communication status"},
        {text::kDriverName, "the headline of the offline parameter and about pages"},
        {"ctlMonitor_chkFDTInterface", "the communication monitor page"},
        {"ctlMonitor_chkZEBProtocols", "the communication monitor page"},
        {"ctlMonitor_chkHARTProtocols", "the communication monitor page"},
        {"ctlMonitor_btnClear", "the communication monitor page"},
        {"ctlMonitor_btnSave", "the communication monitor page"},
        {"ctlOfflineParam_lblDeviceType", "the offline parameter page"},
        {"ctlOfflineParam_lblHeadlineTitle", "the offline parameter page"},
        {"ctlOfflineParam_lblCommStatus", "the offline parameter page"},
        {"ctlOfflineParam_lblParameter", "the offline parameter page"},
        {"ctlOfflineParam_lblGateway", "the offline parameter page"},
        {text::kDeviceTypeLabel, "the offline parameter page and the documentation"},
        {text::kWarmstartDelayLabel, "the offline parameter page and the documentation"},
        {"ctlOfflineParam_lblUnitDelay", "the offline parameter page"},
        {"ctlAbout_lblTitle", "the about page"},
        {"ctlAbout_lblDescription", "the about page"},
        {"ctlAbout_lblVersion", "the about page"},
        {"ctlAbout_lblDisclaimer", "the about page"},
    }};
    return table;
}

} // namespace zeb2hart::core
