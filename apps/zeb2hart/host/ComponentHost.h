#pragma once
// Loading the component as a frame does: the DTM class looked up by its ProgID
// in the class registry and created by its class identifier, in the component
// folder (the one beside the program, or a folder the user names). Also where
// the frame stand-in finds its own files (the frame's schemas and the device models).
// Called on the frame's thread.

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "core/DTMMain.h"

namespace zeb2hart::frame {

// The component or a file the frame needs cannot be found or created.
class HostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The folder of the frame stand-in's data: <exe>/../share/zeb2hart when it
// exists (the build tree and a relocated install), else the installed share folder.
std::filesystem::path frameDataFolder();
std::filesystem::path frameSchemaFolder();
std::filesystem::path deviceModelFile(const std::string& deviceType);

// The component folder the frame stand-in uses when the user names none: the
// frame links the component's layers into its own program, so it looks beside
// the program: <exe>/../lib in the build tree, the installed component folder
// relative to the installed program, else the installed component folder.
std::filesystem::path frameComponentFolder();

// Checks that a component folder holds the component's data (Resources/DTM.ini,
// XMLData/, XMLSchemas/). Throws HostError naming what is missing.
void checkComponentFolder(const std::filesystem::path& folder);

// Creates a DTM object through the class registry under the services in force.
// Throws HostError when the class is unknown or cannot be created.
std::shared_ptr<core::DTMMain> createDtm();

} // namespace zeb2hart::frame
