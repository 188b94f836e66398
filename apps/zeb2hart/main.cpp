// zeb2hart: a command-line FDT frame for the ZEB2HART gateway DTM.
//   zeb2hart demo            one whole session with a simulated parent and child
//   zeb2hart run SCRIPT      a frame script, printing its transcript
//   zeb2hart ui              the frame window (built with Qt)
//   zeb2hart screenshot DIR  pictures of the window and the pages (built with Qt)
//   zeb2hart check           checks the component folder (templates, schemas, DTM.ini, dictionary)
//   zeb2hart timing          the simulated parent's wire timing tables (docs/simulation.md)
//   zeb2hart help [COMMAND]  the help of the program or of one command
// Exit status 2 for every usage error; see docs/frame-scripts.md.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "core/ComponentData.h"
#include "host/ComponentCheck.h"
#include "host/ComponentHost.h"
#include "platform/Services.h"
#include "demo/Demo.h"
#include "demo/TimingTable.h"
#include "scripts/ScriptRunner.h"
#ifdef _WIN32
#include "host/win32/ComApartment.h"
#include "host/win32/ComDtm.h"
#include "scripts/win32/Win32ScriptPages.h"
#endif

#ifdef ZEB2HART_FRAME_WITH_QT
#include "QtScriptPages.h"
#include "UiCommand.h"
#endif

namespace {

#ifndef ZEB2HART_VERSION
#define ZEB2HART_VERSION "unknown"
#endif

constexpr int kUsageError = 2;

// NO_COLOR set and not empty turns colour off (no-color.org).
bool colorWanted()
{
    const char* noColor = std::getenv("NO_COLOR");
    return isatty(STDOUT_FILENO) != 0 && (noColor == nullptr || *noColor == '\0');
}

// The language of demo and ui: a name, or the language number as the frame
// gives it (a locale identifier or its primary language).
const std::map<std::string, int> kLanguages = {{"en", 9}, {"de", 7}, {"9", 9}, {"7", 7}, {"1033", 9}, {"1031", 7}};

CLI::Option* addLanguageOption(CLI::App& command, int& language)
{
    const CLI::Validator toNumber(
        [](std::string& value) -> std::string {
            const auto found = kLanguages.find(CLI::detail::to_lower(value));
            if (found == kLanguages.end())
                return "takes en or de (or 9, 1033, 7, 1031), not \"" + value + "\"";
            value = std::to_string(found->second);
            return {};
        },
        "");
    return command
        .add_option("--language", language, "Language of the gateway: en (English) or de (German); the numbers "
                                             "9 and 1033, 7 and 1031 are taken too")
        ->transform(toNumber)
        ->type_name("en|de")
        ->default_str("en");
}

std::string joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const auto& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// The device types the component folder's DTM.ini lists (the frame's device models follow it).
std::vector<std::string> deviceTypesOf(const std::filesystem::path& componentFolder)
{
    const auto folder = componentFolder.empty() ? zeb2hart::frame::frameComponentFolder() : componentFolder;
    return zeb2hart::core::deviceTypes(folder / "Resources" / "DTM.ini");
}

CLI::Option* addDeviceOption(CLI::App& command, std::string& device, const std::string& shipped)
{
    return command
        .add_option("--device", device, "Device type of the simulated ZEB device: one of the types Resources/DTM.ini "
                                        "lists (" + shipped + "), each with its model in share/zeb2hart/Devices")
        ->capture_default_str();
}

// false, with a usage error on stderr, for a type DTM.ini does not list.
bool knownDeviceType(const std::string& device, const std::filesystem::path& componentFolder)
{
    const auto types = deviceTypesOf(componentFolder);
    for (const auto& type : types) {
        if (type == device)
            return true;
    }
    std::cerr << "zeb2hart: --device: unknown device type \"" << device << "\" (the types of Resources/DTM.ini are "
              << joined(types) << ")\n";
    return false;
}

// A failed write to standard output (a full disk, a closed pipe) is an error
// of its own: the status is 2 when it was 0 or 1.
int finished(int status)
{
    std::cout.flush();
    if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::cerr << "zeb2hart: cannot write to standard output\n";
        return status == 0 || status == 1 ? 2 : status;
    }
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace zeb2hart::frame;

    CLI::App app{"zeb2hart: a command-line FDT frame hosting the ZEB2HART gateway DTM between a ZEB\n"
                 "communication DTM (parent) and a HART device DTM (child), simulated or scripted.",
                 "zeb2hart"};
    app.require_subcommand(1);
    app.fallthrough();
    app.set_version_flag("--version", "zeb2hart " ZEB2HART_VERSION, "Print the program's version and exit");
    const std::string shippedTypes = joined(deviceTypesOf({}));

    std::string componentDir;
    app.add_option("--component-dir", componentDir,
                   "Folder holding the component's data (Resources/DTM.ini, XMLData/, XMLSchemas/) instead of the "
                   "component folder beside the program")
        ->check(CLI::ExistingDirectory);

    DemoOptions demo;
    auto* demoCommand = app.add_subcommand("demo", "Run one whole session: set up the gateway, connect the child, "
                                                   "send HART commands 0, 59, 1, 128, 129, 131, let the time-out "
                                                   "broadcast fire, disconnect and release; print the monitor and a "
                                                   "summary. Exit status 0 only when every expected answer arrived.");
    addDeviceOption(*demoCommand, demo.device, shippedTypes);
    addLanguageOption(*demoCommand, demo.language);
    auto* delayOption = demoCommand->add_option(
        "--delay", demo.delaySeconds,
        "Warm-start delay in seconds (1-32): the time-out broadcast fires this long after command 131 (" +
            std::to_string(kRealtimeDelaySeconds) + " with --realtime)")
        ->check(CLI::Range(1, 32))
        ->capture_default_str();
    demoCommand->add_flag("--quiet", demo.quiet, "Print the summary only, not the monitor");
    demoCommand->add_flag("--realtime", demo.realtime, "Wire timing: the simulated parent answers after the modelled "
                                                       "field time of each request, in real time (docs/simulation.md)");

    std::string timingDevice;
    auto* timingCommand = app.add_subcommand(
        "timing", "Print the simulated parent's wire timing as Markdown tables (docs/simulation.md): the keys of a "
                  "device model's bus section with their defaults, each model's values, and the modelled time in ms "
                  "of the demo's HART commands on each model.");
    timingCommand->add_option("--device", timingDevice, "Only this device type (default: every type of DTM.ini)");

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
    auto* inProcessFlag = runCommand->add_flag("--in-process", inProcess,
                                               "Host the DTM in this process instead of creating it through COM "
                                               "from the registered ZEB2HARTGateway.dll");
    std::string apartment = "sta";
    runCommand
        ->add_option("--apartment", apartment,
                     "The frame thread's COM apartment: sta (the DTM is created in it) or mta (COM creates the DTM "
                     "in a single-threaded apartment of its own, and every call into and out of the DTM goes "
                     "through proxies built from the registered type library)")
        ->check(CLI::IsMember({"sta", "mta"}))
        ->excludes(inProcessFlag);
#endif

#ifdef ZEB2HART_FRAME_WITH_QT
    UiOptions ui;
    auto* uiCommand = app.add_subcommand("ui", "Show the frame window: the topology (ZEB communication DTM, gateway, "
                                               "HART device DTM), the gateway's functions opened as pages, the "
                                               "language, a panel that connects the HART device and sends commands "
                                               "0, 1, 59, 128, 129 and 131, and projects saved to and loaded from "
                                               "JSON files.");
    addDeviceOption(*uiCommand, ui.device, shippedTypes);
    addLanguageOption(*uiCommand, ui.language);
    uiCommand->add_option("--screenshot", ui.screenshotFolder,
                          "Render the window and each page to PNG files in this folder, in English and German, "
                          "offscreen, instead of showing the window");
    std::string screenshotFolder;
    auto* screenshotCommand =
        app.add_subcommand("screenshot", "Render the frame window and each page, after the demo's traffic, to PNG "
                                         "files in DIR (English and German), offscreen; the same as ui --screenshot.");
    screenshotCommand->add_option("DIR", screenshotFolder, "The folder for the pictures")->required();
    addDeviceOption(*screenshotCommand, ui.device, shippedTypes);
#endif

    auto* checkCommand = app.add_subcommand(
        "check", "Check the component folder (the one --component-dir names, else the one beside the "
                 "program): every template of XMLData parses and is valid against the schemas, the schemas "
                 "compile, Resources/DTM.ini has every key of every device type it lists, the dictionary has "
                 "English and German with every text the component and its pages use, and each device type "
                 "has a device model. One line per problem; exit status 0: no problem, 1: problems.");

    std::string helpTopic;
    auto* helpCommand = app.add_subcommand("help", "Print the help of the program, or of COMMAND");
    helpCommand->add_option("COMMAND", helpTopic, "The command to explain");

#ifdef ZEB2HART_FRAME_WITH_QT
    const std::set<std::string> commands = {"demo", "run", "ui", "screenshot", "check", "timing", "help"};
    const char* commandList = "demo, run, ui, screenshot, check, timing and help";
#else
    const std::set<std::string> commands = {"demo", "run", "check", "timing", "help"};
    const char* commandList = "demo, run, check, timing and help; this zeb2hart is built without Qt, so without ui and "
                              "screenshot";
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
            return kUsageError;
        }
        break;
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& done) {
        // --help and --version: printed on standard output, status 0.
        return finished(app.exit(done));
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        return kUsageError;
    }

    try {
        if (*helpCommand) {
            if (helpTopic.empty()) {
                // app.help() would give the help of the command chosen, "help" itself.
                std::cout << app.get_formatter()->make_help(&app, app.get_name(), CLI::AppFormatMode::Normal);
                return finished(0);
            }
            if (!commands.count(helpTopic) || helpTopic == "help") {
                std::cerr << "zeb2hart: help: unknown command \"" << helpTopic << "\" (the commands are "
                          << commandList << ")\n";
                return kUsageError;
            }
            std::cout << app.get_subcommand(helpTopic)->help(app.get_name());
            return finished(0);
        }
        if (*checkCommand) {
            return finished(runComponentCheck(componentDir, std::cout));
        }
        if (*timingCommand) {
            TimingOptions timing;
            timing.componentFolder = componentDir;
            timing.devices = deviceTypesOf(componentDir);
            if (!timingDevice.empty()) {
                if (!knownDeviceType(timingDevice, componentDir))
                    return kUsageError;
                timing.devices = {timingDevice};
            }
            return finished(printTimingTables(timing, std::cout, std::cerr));
        }
        if (*demoCommand) {
            if (!knownDeviceType(demo.device, componentDir))
                return kUsageError;
            demo.componentFolder = componentDir;
            demo.color = colorWanted();
            if (demo.realtime && delayOption->count() == 0)
                demo.delaySeconds = kRealtimeDelaySeconds;
            return finished(runDemo(demo, std::cout, std::cerr));
        }
#ifdef ZEB2HART_FRAME_WITH_QT
        if (*uiCommand || *screenshotCommand) {
            if (!knownDeviceType(ui.device, componentDir))
                return kUsageError;
            ui.componentFolder = componentDir;
            if (*screenshotCommand)
                ui.screenshotFolder = screenshotFolder;
            return finished(runUi(ui, std::cout, std::cerr));
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
            ComApartment thread(apartment == "mta" ? ComApartment::Kind::MultiThreaded
                                                   : ComApartment::Kind::SingleThreaded);
            options.hostDtm = [](const zeb2hart::platform::Services& frameServices) -> std::unique_ptr<HostedDtm> {
                return std::make_unique<ComDtm>(frameServices);
            };
            // The pages are embedded in windows of the frame's own apartment,
            // which OLE allows only in a single-threaded one.
            if (apartment != "mta")
                options.pages = win32ScriptPages();
            else
                options.withoutPages = "the real pages need the frame in a single-threaded apartment (OLE "
                                       "embeds controls only there): run without --apartment mta; the "
                                       "headless pages open without \"qt\"";
            return finished(static_cast<int>(runScript(options, std::cerr)));
        }
#endif
        return finished(static_cast<int>(runScript(options, std::cerr)));
    } catch (const std::exception& error) {
        std::cerr << "zeb2hart: " << error.what() << "\n";
        return 2;
    }
}
