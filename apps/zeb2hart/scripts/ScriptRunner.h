#pragma once
// Runs a frame script (JSON Lines, one step a line) against a fresh component
// instance under deterministic services (numbered GUIDs, a fixed clock, a
// manual event loop) and writes the transcript of everything observable.
// The format is described in docs/frame-scripts.md.

#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <string>

#include "host/HostedDtm.h"
#include "scripts/ScriptPages.h"

namespace zeb2hart::frame {

// A script that cannot be read or run (a malformed line, an unknown step, a
// missing file); the message names the script and line.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ScriptOptions {
    std::filesystem::path script;
    // Empty: frameComponentFolder(), the component beside the program.
    std::filesystem::path componentFolder;
    // Where the transcript goes (nullptr: nowhere).
    std::ostream* transcript = nullptr;
    // The real pages (Qt, or Win32 through COM) for {"open": PAGE, "qt": true}
    // and the control steps; empty where there are none, and then a step that
    // needs them stops with `withoutPages`.
    ScriptPagesFactory pages;
    std::string withoutPages = "this zeb2hart was built without the Qt pages (configure with "
                               "-DZEB2HART_WITH_UI=ON); the headless pages open without \"qt\"";
    // How the DTM is hosted; empty: in this process.
    HostedDtmFactory hostDtm;
};

// Exit status of a script run.
enum class ScriptOutcome { Passed = 0, ExpectationFailed = 1, CannotRun = 2 };

// Runs the script; failed expectations and step errors are reported on `errors`.
ScriptOutcome runScript(const ScriptOptions& options, std::ostream& errors);

} // namespace zeb2hart::frame
