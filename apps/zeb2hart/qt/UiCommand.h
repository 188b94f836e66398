#pragma once
// The Qt commands of zeb2hart: `ui` (the frame window) and `screenshot`.

#include <filesystem>
#include <ostream>
#include <string>

namespace zeb2hart::frame {

struct UiOptions {
    std::string device = "VRA520";
    int language = 9; // 7 German, 9 English
    std::filesystem::path componentFolder;
    std::filesystem::path screenshotFolder; // set: render the pictures instead of showing the window
};

// Exit status: 0, or 2 when the window cannot be shown (no display, no
// device model, no component data) or a picture cannot be written.
int runUi(const UiOptions& options, std::ostream& out, std::ostream& errors);

} // namespace zeb2hart::frame
