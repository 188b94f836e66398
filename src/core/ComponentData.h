#pragma once
// What the component reads from its folder besides the templates, as tables:
// the device types DTM.ini lists and the dictionary texts the component and its
// pages look up. DTMMain takes its own text ids from here; the pages' captions
// come from their controls' names, and a test of the pages keeps this list equal
// to them. `zeb2hart check` checks a folder against these tables (with the
// DTM.ini keys of PersistentProperty). Plain data and a file read; any thread.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zeb2hart::core {

// The comma-separated device list of DTM.ini ([DeviceList] Devices), in order,
// split at each ",": names keep their blanks, two commas in a row give an empty
// name, a trailing comma adds nothing (so "" and "," list no device and one
// empty name). The offline page's choices, the device type DTMMain names and the
// frame window's are all taken from this split.
std::vector<std::string> splitDeviceList(std::string_view list);
// The name at `index` (from 0) of such a list; nothing for a negative index or
// one beyond the last name.
std::optional<std::string> deviceAt(std::string_view list, int index);
// The device types the settings file `iniFile` lists; empty when it lists none.
std::vector<std::string> deviceTypes(const std::filesystem::path& iniFile);

// The ids of the texts in the dictionary's category "keys".
namespace text {
inline constexpr std::string_view kConnected = "msg_Connected";
inline constexpr std::string_view kDisconnected = "msg_Disconnected";
inline constexpr std::string_view kConnectionError = "msg_ConnectionError";
inline constexpr std::string_view kDriverName = "str_ZEBDriver";
inline constexpr std::string_view kDeviceTypeLabel = "ctlOfflineParam_lblDevType";
inline constexpr std::string_view kWarmstartDelayLabel = "ctlOfflineParam_lblWarmstartDelay";
} // namespace text

struct DictionaryText {
    std::string_view id;
    std::string_view usedBy;
};

// Every text the component and its pages look up by id: the status texts, the
// headline's title and each page control with a caption (TranslateControls:
// the page's prefix, "_" and the control's name). The function names of
// DTMFunctions.xml are not here: the template names them as $(id).
std::span<const DictionaryText> dictionaryTexts();

} // namespace zeb2hart::core
