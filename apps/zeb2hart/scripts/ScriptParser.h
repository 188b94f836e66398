#pragma once
// Reads a frame script (JSON Lines) step by step, checking each step's kind
// and keys against the table of step kinds. The runner reads a script twice:
// once to check every line before anything runs, once to run the steps, so that
// a long script is never held in memory whole. Called by the script runner.

#include <filesystem>
#include <functional>
#include <istream>
#include <string>

#include "transcript/Transcript.h"
#include "scripts/StepKinds.h"

namespace zeb2hart::frame {

struct Step {
    int line = 0;
    Json json;
    const StepKind* kind = nullptr;
};

// Hands each step to `onStep` in order until it answers false; ScriptError
// naming `name` and the line for a line that is not a step.
using StepReader = std::function<bool(const Step& step)>;
void readScript(std::istream& in, const std::string& name, const StepReader& onStep);
void readScript(const std::filesystem::path& script, const StepReader& onStep);

} // namespace zeb2hart::frame
