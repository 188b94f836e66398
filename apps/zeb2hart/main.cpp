// zeb2hart: a command-line FDT frame for the ZEB2HART gateway DTM.
//   zeb2hart demo            one whole session with a simulated parent and child
//   zeb2hart run SCRIPT      a frame script, printing its transcript

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include <CLI/CLI.hpp>

#include "ComponentHost.h"
#include "Demo.h"
#include "ScriptRunner.h"

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

    // Name an unknown command plainly instead of "a subcommand is required".
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--component-dir") {
            ++i;
            continue;
        }
        if (word.rfind("-", 0) == 0)
            continue;
        if (word != "demo" && word != "run") {
            std::cerr << "zeb2hart: unknown command \"" << word << "\" (the commands are demo and run; see --help)\n";
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
        ScriptOptions options;
        options.script = script;
        options.componentFolder = componentDir;
        options.transcript = noTranscript ? nullptr : &std::cout;
        return static_cast<int>(runScript(options, std::cerr));
    } catch (const std::exception& error) {
        std::cerr << "zeb2hart: " << error.what() << "\n";
        return 2;
    }
}
