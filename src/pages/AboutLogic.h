#pragma once
// The texts of the about page and the headline that need no window. Constants
// and functions of their arguments alone; any thread.

#include <string>

namespace zeb2hart::pages {

// The vendor's web address the headline's logo opens.
constexpr const char* kVendorAddress = "https://www.zeb2hart.example/";

// The component's version as major.minor.revision, e.g. "1.0.5".
std::string componentVersion();

// The version label's caption: the translated text, ": " and the version.
std::string versionCaption(const std::string& translatedText);

} // namespace zeb2hart::pages
