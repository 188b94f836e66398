#pragma once
// Edits the text of an INI file as a frame script's {"create": {"ini": ...}} asks.

#include <string>

namespace zeb2hart::frame {

// Sets `key` = `value` in section `section` of INI text (names compared without
// regard to case), adding the section or key that is missing. Lines end in CR LF.
std::string setIniValue(const std::string& text, const std::string& section, const std::string& key,
                        const std::string& value);

} // namespace zeb2hart::frame
