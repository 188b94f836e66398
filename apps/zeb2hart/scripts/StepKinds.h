#pragma once
// The kinds of step a frame script has, in one table: each kind's name (its
// action key), the other keys it takes, when it runs and what runs it. The
// parser's key check, the list of kinds in its messages and the runner's
// dispatch all come from this table. The handlers run on the thread that runs
// the script.

#include <set>
#include <string>
#include <vector>

#include "transcript/Transcript.h"

namespace zeb2hart::frame {

class ScriptRun;

enum class StepPhase {
    // Looks at what the steps before did (expect, let): no events of its own, nothing runs after it.
    Inspect,
    // Makes the session (create).
    Create,
    // Acts on the session, made first when there is none; the posted work runs
    // after it unless it says "hold": true.
    Act,
};

using StepHandler = void (*)(ScriptRun& run, const Json& step);
// Checks a step's values before anything runs: ScriptError saying what is
// wrong (the parser puts the script's name and line before it).
using StepCheck = void (*)(const Json& step);

struct StepKind {
    std::string name;
    std::set<std::string> keys; // besides the action key and "note"
    StepPhase phase;
    StepHandler handler;
    StepCheck check = nullptr;
};

const std::vector<StepKind>& stepKinds();
const StepKind* findStepKind(const std::string& name);
// "create, init, ...", in the order of the table.
std::string stepKindNames();

} // namespace zeb2hart::frame
