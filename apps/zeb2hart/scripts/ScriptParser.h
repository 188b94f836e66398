#pragma once
// Reads a frame script (JSON Lines) into its steps, checking each step's kind
// and keys against the table of step kinds before anything runs. Called by
// the script runner.

#include <filesystem>
#include <istream>
#include <string>
#include <vector>

#include "host/Transcript.h"
#include "scripts/StepKinds.h"

namespace zeb2hart::frame {

struct Step {
    int line = 0;
    Json json;
    const StepKind* kind = nullptr;
};

// ScriptError naming `name` and the line for a line that is not a step.
std::vector<Step> parseScript(std::istream& in, const std::string& name);
std::vector<Step> parseScript(const std::filesystem::path& script);

} // namespace zeb2hart::frame
