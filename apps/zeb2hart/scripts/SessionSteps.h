#pragma once
// The steps that act on the session as the frame does: make the instance,
// initialise, save and load its properties, call its operations, read and
// write properties, set what the frame objects answer, move the clock and
// release the instance. Handlers of the step table (StepKinds.h).

#include "transcript/Transcript.h"

namespace zeb2hart::frame {

class ScriptRun;

void stepCreate(ScriptRun& run, const Json& step);
void stepInit(ScriptRun& run, const Json& step);
void checkInit(const Json& step);
void stepSave(ScriptRun& run, const Json& step);
void checkSave(const Json& step);
void stepCall(ScriptRun& run, const Json& step);
void stepGet(ScriptRun& run, const Json& step);
void stepSet(ScriptRun& run, const Json& step);
void stepParentReturns(ScriptRun& run, const Json& step);
void checkParentReturns(const Json& step);
void stepFrameReturns(ScriptRun& run, const Json& step);
void stepFileDialog(ScriptRun& run, const Json& step);
void stepAdvance(ScriptRun& run, const Json& step);
void stepRun(ScriptRun& run, const Json& step);
void stepRelease(ScriptRun& run, const Json& step);

} // namespace zeb2hart::frame
