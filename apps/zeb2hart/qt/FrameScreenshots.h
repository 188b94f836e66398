#pragma once
// Pictures of the frame window and the gateway's pages for the documentation:
// the demo topology run in a frame window offscreen (numbered GUIDs, a fixed
// clock, time moved by hand), the demo's HART commands sent from the panel
// with the monitor open, the time-out let fire, then each page and the window
// grabbed, in English and German.

#include <filesystem>
#include <string>
#include <vector>

namespace zeb2hart::frame {

struct FrameScreenshotOptions {
    std::filesystem::path folder;
    std::string device = "VRA520";
    std::filesystem::path componentFolder; // empty: frameComponentFolder()
};

// Writes frame_<lang>.png, monitor_<lang>.png, offlineparam_<lang>.png and
// about_<lang>.png (lang en and de) and answers the files written. Needs a
// QApplication; throws std::runtime_error when a picture cannot be made or
// written, HostError or ModelError when the topology cannot be set up.
std::vector<std::filesystem::path> renderFrameScreenshots(const FrameScreenshotOptions& options);

} // namespace zeb2hart::frame
