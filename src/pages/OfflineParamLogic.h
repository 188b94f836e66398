#pragma once
// The rules of the offline parameter page that need no window: the device
// type selection, the warm-start delay entry and the status pictures.
// Called by ctlOfflineParam on the thread of the DTM that opened it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "pages/PageServices.h"
#include "fdt/Variant.h"

namespace zeb2hart::pages {

// The entry to select for a stored index: the index itself, or 0 when it lies
// beyond the last entry; -1 (no selection) for an empty list or a negative index.
int deviceIndexToSelect(int storedIndex, int entryCount);

// Applies a device type selection: reports a changed PersistentDeviceTypeIndex
// and reads the type's six identity values from its section of the settings
// file (without a report). Nothing without a DTM; errors end it silently.
void SetDeviceType(PageServices* dtm, int position, const std::string& typeName);

// The key filter of the delay box: the digits and Backspace (8) pass.
bool isDelayCharacterAccepted(char32_t character);

// Applies the typed delay: a text that converts to a 16-bit integer different
// from the warm-start delay is stored and reported with the text as typed.
// Empty text, no DTM or a text that does not convert change nothing.
void CheckWarmstartDelay(PageServices* dtm, const std::string& text);

// What the delay box shows after every key: the delay the DTM holds.
std::string warmstartDelayText(PageServices& dtm);

// The status value of a variant; nothing when it does not convert.
std::optional<std::int32_t> statusValue(const fdt::Variant& value);

// The picture of a status (0 connected, 1 disconnected, 2 connection error)
// under the component folder; nothing for any other value.
std::optional<std::filesystem::path> statusPicture(const std::filesystem::path& componentFolder,
                                                   std::int32_t status);

} // namespace zeb2hart::pages
