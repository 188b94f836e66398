#pragma once
// The steps on the component's pages: open and close a headless page or a
// real (Qt) one, click, select, type and read on a control of an open real
// page, and take a picture of a real page or give it another size. Handlers of the step table (StepKinds.h).

#include "transcript/Transcript.h"

namespace zeb2hart::frame {

class ScriptRun;

void stepOpen(ScriptRun& run, const Json& step);
void stepClose(ScriptRun& run, const Json& step);
void stepClick(ScriptRun& run, const Json& step);
void stepSelect(ScriptRun& run, const Json& step);
void stepType(ScriptRun& run, const Json& step);
void stepRead(ScriptRun& run, const Json& step);
void stepScreenshot(ScriptRun& run, const Json& step);
void stepResize(ScriptRun& run, const Json& step);
// The checks of "screenshot" and "resize", and of the keys "paste", "colors" and "let" of the control steps.
void checkPageStep(const Json& step);
void checkControlStep(const Json& step);

} // namespace zeb2hart::frame
