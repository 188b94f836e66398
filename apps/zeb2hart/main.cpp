// zeb2hart: a command-line FDT frame for the ZEB2HART gateway DTM.
//   zeb2hart demo            one whole session with a simulated parent and child
//   zeb2hart run SCRIPT      a frame script, printing its transcript
//   zeb2hart ui              the frame window (built with Qt)
//   zeb2hart screenshot DIR  pictures of the window and the pages (built with Qt)

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>

#include <CLI/CLI.hpp>

#include "host/ComponentHost.h"
#include "demo/Demo.h"
#include "scripts/ScriptRunner.h"
#ifdef _WIN32
#include "host/win32/ComApartment.h"
#include "host/win32/ComDtm.h"
#endif

#ifdef ZEB2HART_FRAME_WITH_QT
#include "QtScriptPages.h"
#include "UiCommand.h"
#endif

namespace {

bool colorWanted()
{
    const char* noColor = std::getenv("NO_COLOR");
    return isatty(STDOUT_FILENO) != 0 && noColor == nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace zeb2hart::frame;

    CLI::App app{"zeb2hart: a command-line FDT frame hosting the ZEB2HART gateway DTM between a ZEB\n"
                 "communication DTM (parent) and a HART device DTM (child), simulated or scripted."};
    app.require_subcommand(1);
    app.fallthrough();

    std::string componentDir;
    app.add_option("--component-dir", componentDir,
                   "Folder holding the component's data (Resources/DTM.ini, XMLData/, XMLSchemas/) instead of the "
                   "folder of the loaded library")
        ->check(CLI::ExistingDirectory);

    DemoOptions demo;
    auto* demoCommand = app.add_subcommand("demo", "Run one whole session: set up the gateway, connect the child, "
                                                   "send HART commands 0, 59, 1, 128, 129, 131, let the time-out "
                                                   "broadcast fire, disconnect and release; print the monitor and a "
                                                   "summary. Exit status 0 only when every expected answer arrived.");
    demoCommand->add_option("--device", demo.device, "Device type of the simulated ZEB device (a model in "
                                                     "share/zeb2hart/Devices)")
        ->capture_default_str();
    demoCommand->add_option("--language", demo.language, "Language of the gateway: 7 (German) or 9 (English)")
        ->check(CLI::IsMember({7, 9}))
        ->capture_default_str();
    demoCommand->add_option("--delay", demo.delaySeconds, "Warm-start delay in seconds (1-32): the time-out "
                                                          "broadcast fires this long after command 131")
        ->check(CLI::Range(1, 32))
        ->capture_default_str();
    demoCommand->add_flag("--quiet", demo.quiet, "Print the summary only, not the monitor");

    std::string script;
    auto* runCommand = app.add_subcommand("run", "Run a frame script (JSON Lines; see docs/frame-scripts.md) against a "
                                                 "fresh component instance and print its transcript (JSON Lines). "
                                                 "Exit status 0: every expectation held; 1: an expectation failed; "
                                                 "2: the script could not be run.");
    runCommand->add_option("SCRIPT", script, "The frame script")->required()->check(CLI::ExistingFile);
    bool noTranscript = false;
    runCommand->add_flag("--no-transcript", noTranscript, "Print only failed expectations and errors");
#ifdef _WIN32
    bool inProcess = false;
    runCommand->add_flag("--in-process", inProcess,
                         "Host the DTM in this process instead of creating it through COM from the registered "
                         "ZEB2HARTGateway.dll");
#endif

#ifdef ZEB2HART_FRAME_WITH_QT
    UiOptions ui;
    auto* uiCommand = app.add_subcommand("ui", "Show the frame window: the topology (ZEB communication DTM, gateway, "
                                               "HART device DTM), the gateway's functions opened as pages, the "
                                               "language, a panel that connects the HART device and sends commands "
                                               "0, 1, 59, 128, 129 and 131, and projects saved to and loaded from "
                                               "JSON files.");
    uiCommand->add_option("--device", ui.device, "Device type of the simulated ZEB device (a model in "
                                                 "share/zeb2hart/Devices)")
        ->capture_default_str();
    uiCommand->add_option("--language", ui.language, "Language of the gateway: 7 (German) or 9 (English)")
        ->check(CLI::IsMember({7, 9}))
        ->capture_default_str();
    uiCommand->add_option("--screenshot", ui.screenshotFolder,
                          "Render the window and each page to PNG files in this folder, in English and German, "
                          "offscreen, instead of showing the window");
    std::string screenshotFolder;
    auto* screenshotCommand =
        app.add_subcommand("screenshot", "Render the frame window and each page, after the demo's traffic, to PNG "
                                         "files in DIR (English and German), offscreen; the same as ui --screenshot.");
    screenshotCommand->add_option("DIR", screenshotFolder, "The folder for the pictures")->required();
    screenshotCommand->add_option("--device", ui.device, "Device type of the simulated ZEB device")
        ->capture_default_str();
    const std::set<std::string> commands = {"demo", "run", "ui", "screenshot"};
    const char* commandList = "demo, run, ui and screenshot";
#else
    const std::set<std::string> commands = {"demo", "run"};
    const char* commandList = "demo and run; this zeb2hart is built without Qt, so without ui and screenshot";
#endif

    // Name an unknown command plainly instead of "a subcommand is required".
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--component-dir") {
            ++i;
            continue;
        }
        if (word.rfind("-", 0) == 0)
            continue;
        if (!commands.count(word)) {
            std::cerr << "zeb2hart: unknown command \"" << word << "\" (the commands are " << commandList
                      << "; see --help)\n";
            return 2;
        }
        break;
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error);
    }

    try {
        if (*demoCommand) {
            demo.componentFolder = componentDir;
            demo.color = colorWanted();
            return runDemo(demo, std::cout, std::cerr);
        }
#ifdef ZEB2HART_FRAME_WITH_QT
        if (*uiCommand || *screenshotCommand) {
            ui.componentFolder = componentDir;
            if (*screenshotCommand)
                ui.screenshotFolder = screenshotFolder;
            return runUi(ui, std::cout, std::cerr);
        }
#endif
        ScriptOptions options;
        options.script = script;
        options.componentFolder = componentDir;
        options.transcript = noTranscript ? nullptr : &std::cout;
#ifdef ZEB2HART_FRAME_WITH_QT
        options.pages = qtScriptPages();
#endif
#ifdef _WIN32
        if (!inProcess) {
            ComApartment apartment;
            options.hostDtm = [](const zeb2hart::platform::Services& frameServices) -> std::unique_ptr<HostedDtm> {
                return std::make_unique<ComDtm>(frameServices);
            };
            return static_cast<int>(runScript(options, std::cerr));
        }
#endif
        return static_cast<int>(runScript(options, std::cerr));
    } catch (const std::exception& error) {
        std::cerr << "zeb2hart: " << error.what() << "\n";
        return 2;
    }
}
