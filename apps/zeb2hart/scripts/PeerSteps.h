#pragma once
// The steps of the component's peers: the scripted parent's answers
// ("respond"), attaching the simulated parent or child, changing the simulated
// parent's device model, the simulated child's actions, and the calls on which
// a scripted peer fails. Handlers of the
// step table (StepKinds.h).

#include "transcript/Transcript.h"

namespace zeb2hart::frame {

class ScriptRun;

void stepRespond(ScriptRun& run, const Json& step);
void stepAttach(ScriptRun& run, const Json& step);
void stepModel(ScriptRun& run, const Json& step);
void stepChild(ScriptRun& run, const Json& step);
// A scripted peer fails a call: {"raise": "parent" | "child", "op": OP, "nth": N}.
void stepRaise(ScriptRun& run, const Json& step);
void checkRaise(const Json& step);

} // namespace zeb2hart::frame
