#include "UiCommand.h"

#include <QApplication>
#include <QScreen>

#include <exception>

#include "FrameScreenshots.h"
#include "FrameWindow.h"

namespace zeb2hart::frame {

namespace {

bool displayAvailable()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int runUi(const UiOptions& options, std::ostream& out, std::ostream& errors)
{
    const bool screenshots = !options.screenshotFolder.empty();
    if (screenshots) {
        // The same pictures with or without a display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else if (!displayAvailable()) {
        errors << "zeb2hart ui: no display (DISPLAY and WAYLAND_DISPLAY are not set); set one, or QT_QPA_PLATFORM, "
                  "or render the pictures with --screenshot DIR\n";
        return 2;
    }
    int argc = 1;
    char name[] = "zeb2hart";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zeb2hart"));
    try {
        if (screenshots) {
            FrameScreenshotOptions pictures;
            pictures.folder = options.screenshotFolder;
            pictures.device = options.device;
            pictures.componentFolder = options.componentFolder;
            for (const auto& file : renderFrameScreenshots(pictures))
                out << file.string() << "\n";
            return 0;
        }
        FrameWindowOptions windowOptions;
        windowOptions.device = options.device;
        windowOptions.language = options.language;
        windowOptions.componentFolder = options.componentFolder;
        FrameWindow window(windowOptions);
        // A smaller screen gets a window that fits on it.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QSize room = screen->availableGeometry().size();
            if (room.width() < window.width() || room.height() < window.height())
                window.resize(window.size().boundedTo(room * 0.95));
        }
        window.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        errors << "zeb2hart " << (screenshots ? "screenshot" : "ui") << ": " << error.what() << "\n";
        return 2;
    }
}

} // namespace zeb2hart::frame
