#pragma once
// What every fuzz target sets up once: platform services that record instead
// of showing (message boxes), numbered GUIDs, a fixed clock and a manual event
// loop, over the component folder of the build tree.

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>

#include "fakes/BuildFolders.h"
#include "platform/ManualServices.h"

namespace zeb2hart::fuzz {

namespace fs = std::filesystem;

// The component folder of the build tree and the frame stand-in's schemas beside it.
using test::componentDir;
using test::frameSchemaDir;

// The manual services over the build tree's component folder.
class FuzzServices : public platform::ManualServices {
public:
    FuzzServices() : ManualServices(componentDir()) {}

    // Forgets what the last input left behind.
    void reset() { messageBox().shown.clear(); }
};

inline FuzzServices& services()
{
    static FuzzServices installed;
    return installed;
}

// A file of this process's own for targets that read files.
inline fs::path scratchFile(const std::string& name)
{
    return fs::temp_directory_path() / ("zeb2hart-fuzz-" + std::to_string(::getpid()) + "-" + name);
}

inline std::string text(const std::uint8_t* data, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

} // namespace zeb2hart::fuzz
