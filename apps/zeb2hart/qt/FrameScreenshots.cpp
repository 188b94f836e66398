#include "FrameScreenshots.h"

#include <QApplication>
#include <QPixmap>
#include <QTabWidget>

#include <chrono>
#include <stdexcept>

#include "core/ComponentClasses.h"
#include "FrameWindow.h"
#include "HartPanel.h"
#include "platform/ManualEventLoop.h"

namespace zeb2hart::frame {

namespace {

using std::chrono::milliseconds;

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

void save(QWidget& widget, const std::filesystem::path& file, std::vector<std::filesystem::path>& written)
{
    settle();
    if (!widget.grab().save(QString::fromStdString(file.string()), "PNG"))
        throw std::runtime_error("cannot write " + file.string());
    written.push_back(file);
}

// The demo's conversation, from the panel: connect, each command, the time-out.
void demoTraffic(FrameWindow& window, platform::ManualEventLoop& loop)
{
    HartDeviceDtm& child = window.topology().child();
    if (!window.connectChild() || !window.waitFor([&child] { return child.connected(); }, milliseconds(2000)))
        throw std::runtime_error("the simulated HART device did not connect");
    for (const auto& request : demoCommands(window.topology().model())) {
        window.panel().chooseCommand(request.number);
        if (!window.panel().send())
            throw std::runtime_error("the gateway refused HART command " + std::to_string(request.number));
        const std::string invokeId = child.lastInvokeId();
        if (!window.waitFor([&] { return child.answerTo(invokeId) != nullptr; }, milliseconds(2000)))
            throw std::runtime_error("no answer to HART command " + std::to_string(request.number));
    }
    window.panel().chooseCommand(0);
    // The warm-start delay passes: the broadcast goes out and is answered.
    loop.advance(std::chrono::seconds(window.session().dtm().PersistentWarmstartDelay));
    loop.runPending();
}

} // namespace

std::vector<std::filesystem::path> renderFrameScreenshots(const FrameScreenshotOptions& options)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        throw std::runtime_error("the screenshots need a QApplication");
    std::filesystem::create_directories(options.folder);
    std::vector<std::filesystem::path> written;
    const struct {
        const char* suffix;
        int language;
    } languages[] = {{"en", 9}, {"de", 7}};
    for (const auto& language : languages) {
        const auto loop = std::make_shared<platform::ManualEventLoop>();
        FrameWindowOptions windowOptions;
        windowOptions.device = options.device;
        windowOptions.language = language.language;
        windowOptions.componentFolder = options.componentFolder;
        windowOptions.loop = loop;
        windowOptions.deterministic = true;
        FrameWindow window(windowOptions);
        window.confirmDiscard = [] { return true; };
        window.resize(1280, 800);
        window.show();
        settle();

        ui::PageHost* monitor = window.openFunction(core::kFunctionMonitor);
        if (!monitor)
            throw std::runtime_error("the monitor page did not open");
        demoTraffic(window, *loop);
        const std::string suffix = std::string("_") + language.suffix + ".png";
        save(*monitor, options.folder / ("monitor" + suffix), written);
        for (const auto& [functionId, name] : {std::pair{core::kFunctionOfflineParam, "offlineparam"}, std::pair{core::kFunctionAbout, "about"}}) {
            ui::PageHost* page = window.openFunction(functionId);
            if (!page)
                throw std::runtime_error(std::string("the page of function ") + functionId + " did not open");
            save(*page, options.folder / (name + suffix), written);
        }
        window.tabs().setCurrentWidget(monitor);
        save(window, options.folder / ("frame" + suffix), written);
        window.close();
    }
    return written;
}

} // namespace zeb2hart::frame
