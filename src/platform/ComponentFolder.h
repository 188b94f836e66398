#pragma once
// The component folder: the folder holding the loaded libzeb2hart, found from
// the address of one of its own symbols, never from the current directory.
// It keeps no state: any thread may ask, the component asks on the frame's apartment.

#include <filesystem>

namespace zeb2hart::platform {

std::filesystem::path libraryFolder();

} // namespace zeb2hart::platform
