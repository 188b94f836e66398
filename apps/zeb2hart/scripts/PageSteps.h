#pragma once
// The steps on the component's pages: open and close a headless page or a
// real (Qt) one, and click, select, type and read on a control of an open
// real page. Handlers of the step table (StepKinds.h).

#include "host/Transcript.h"

namespace zeb2hart::frame {

class ScriptRun;

void stepOpen(ScriptRun& run, const Json& step);
void stepClose(ScriptRun& run, const Json& step);
void stepClick(ScriptRun& run, const Json& step);
void stepSelect(ScriptRun& run, const Json& step);
void stepType(ScriptRun& run, const Json& step);
void stepRead(ScriptRun& run, const Json& step);

} // namespace zeb2hart::frame
