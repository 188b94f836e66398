#pragma once
// Renders the three pages to PNG files, for the documentation and for review:
// each page opened on a fresh DTM as a frame opens it, in English and German.
// Called on the GUI thread of a QApplication.

#include <filesystem>
#include <functional>
#include <vector>

#include "core/DTMMain.h"

namespace zeb2hart::ui {

struct ScreenshotOptions {
    int width = 720;  // pixels
    int height = 480; // pixels
    // Produces the traffic the monitor shows; by default a short sample
    // session of FDT calls, HART commands and ZEB telegrams.
    std::function<void(core::DTMMain&)> monitorTraffic;
};

// Writes monitor_<lang>.png, offlineparam_<lang>.png and about_<lang>.png
// (lang "en" and "de") into `folder`, creating it. Needs a QApplication (the
// offscreen platform serves). Answers the files written; throws
// std::runtime_error when there is no application or a file cannot be written.
std::vector<std::filesystem::path> renderPageScreenshots(const std::filesystem::path& folder,
                                                         const ScreenshotOptions& options = {});

} // namespace zeb2hart::ui
