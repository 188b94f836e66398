#pragma once
// Reading the settings file with the Windows profile rules: sections and keys
// compared without regard to case, values trimmed of blanks, the first match
// wins, and a missing file, section or key reads as "". A value that is not
// UTF-8 is read as Windows-1252 (the ANSI code page the file is written in) and
// comes back as UTF-8.

#include <filesystem>
#include <string>

namespace zeb2hart::support {

std::string ReadIniString(const std::filesystem::path& fileName, const std::string& section, const std::string& key);

} // namespace zeb2hart::support
