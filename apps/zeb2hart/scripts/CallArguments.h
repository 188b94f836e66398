#pragma once
// Turns the "args" of a frame script's call step, by position or by name, into
// the arguments of an operation, and a script's bag value into a property bag.
// Used by the step handlers on the thread that runs the script.

#include <memory>
#include <vector>

#include "transcript/Transcript.h"
#include "platform/PropertyBag.h"
#include "scripts/Operations.h"

namespace zeb2hart::frame {

class ScriptRun;

std::vector<Argument> callArguments(ScriptRun& run, const Operation& operation, const Json& given);
// A bag: {"key": value, ...}, "saved" (the last saved one) or {"file": PATH}.
std::shared_ptr<platform::MemoryPropertyBag> bagArgument(ScriptRun& run, const Json& raw);

} // namespace zeb2hart::frame
