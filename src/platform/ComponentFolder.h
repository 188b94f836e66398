#pragma once
// The component folder: the folder holding the loaded libzeb2hart, found from
// the address of one of its own symbols, never from the current directory.
// It keeps no state: any thread may ask, the component asks on the frame's apartment.

#include <filesystem>

namespace zeb2hart::platform {

std::filesystem::path libraryFolder();

// The folder of the running program (the frame's executable), whichever
// library asks; empty when the system cannot tell.
std::filesystem::path executableFolder();

// The user's own folder for the component's files: %LOCALAPPDATA%\ZEB2HARTGateway
// on Windows, $XDG_STATE_HOME/zeb2hart (or ~/.local/state/zeb2hart) elsewhere;
// empty when the system names none. Not created here.
std::filesystem::path userDataFolder();

} // namespace zeb2hart::platform
