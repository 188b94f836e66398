// The frame-script parser of the frame stand-in: the input is the script. It is
// only parsed, never run; a refusal is a ScriptError naming the line, anything
// else that leaves the parser is a finding.
#include <cstdint>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "scripts/ScriptParser.h"
#include "scripts/ScriptRunner.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zeb2hart;
    std::istringstream in(fuzz::text(data, size));
    try {
        frame::readScript(in, "fuzz.jsonl", [](const frame::Step&) { return true; });
    } catch (const frame::ScriptError&) {
    }
    return 0;
}
