#pragma once
// The properties a frame script reads with "get" and writes with "set": the
// persistent properties by their bag key, CommStatus and StatusText, and the
// read-only state of the gateway and its counters (`counters`). Every accessor is here, in one place. Used
// by the step handlers on the thread that runs the script.

#include <string>

#include "transcript/Transcript.h"

namespace zeb2hart::frame {

class ScriptRun;

// Reads a property and records a "get" event; ScriptError for an unknown name.
Json getProperty(ScriptRun& run, const std::string& name);
// Writes a property and records a "set" event; ScriptError for an unknown or read-only name.
void setProperty(ScriptRun& run, const std::string& name, const Json& value);

} // namespace zeb2hart::frame
