#pragma once
// The steps that look at what happened instead of acting: "expect" searches
// the transcript for an event, "let" remembers a value for ${NAME}, "file"
// checks a file. Handlers
// of the step table (StepKinds.h).

#include "transcript/Transcript.h"

namespace zeb2hart::frame {

class ScriptRun;

void stepExpect(ScriptRun& run, const Json& step);
void stepLet(ScriptRun& run, const Json& step);
// A name a step's "let" keeps its result under; ScriptError for one ${NAME} cannot name.
void checkLetName(const Json& name);
// Whether a file exists and what it holds: {"file": PATH, "exists": BOOL, "content": MATCHER}.
void stepFile(ScriptRun& run, const Json& step);
void checkFile(const Json& step);

} // namespace zeb2hart::frame
