#pragma once
// The steps that look at what happened instead of acting: "expect" searches
// the transcript for an event, "let" remembers a value for ${NAME}. Handlers
// of the step table (StepKinds.h).

#include "host/Transcript.h"

namespace zeb2hart::frame {

class ScriptRun;

void stepExpect(ScriptRun& run, const Json& step);
void stepLet(ScriptRun& run, const Json& step);

} // namespace zeb2hart::frame
