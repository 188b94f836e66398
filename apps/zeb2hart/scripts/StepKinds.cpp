#include "scripts/StepKinds.h"

#include "scripts/ExpectSteps.h"
#include "scripts/PageSteps.h"
#include "scripts/PeerSteps.h"
#include "scripts/SessionSteps.h"

namespace zeb2hart::frame {

const std::vector<StepKind>& stepKinds()
{
    using enum StepPhase;
    static const std::vector<StepKind> kinds = {
        {"create", {}, Create, stepCreate},
        {"init", {"result", "error"}, Act, stepInit},
        {"save", {"result"}, Act, stepSave},
        {"call", {"args", "from", "result", "error", "hold"}, Act, stepCall},
        {"get", {"result"}, Act, stepGet},
        {"set", {}, Act, stepSet},
        {"respond",
         {"request", "invokeId", "reference", "tag", "status", "data", "object", "sub", "messageType", "error",
          "zebActive", "response", "hold", "expectError"},
         Act, stepRespond},
        {"parentReturns", {}, Act, stepParentReturns},
        {"frameReturns", {}, Act, stepFrameReturns},
        {"fileDialog", {}, Act, stepFileDialog},
        {"advance", {}, Act, stepAdvance},
        {"run", {}, Act, stepRun},
        {"attach", {"device", "model", "modelFile", "tag", "shortAddress", "wireTiming"}, Act, stepAttach},
        {"model", {}, Act, stepModel},
        {"child", {"command", "data", "result", "hold"}, Act, stepChild},
        {"open", {"invokeId", "result", "qt"}, Act, stepOpen},
        {"close", {"result", "qt"}, Act, stepClose},
        {"click", {"page", "result"}, Act, stepClick},
        {"select", {"page", "index", "text", "result"}, Act, stepSelect},
        {"type", {"page", "keys", "result"}, Act, stepType},
        {"read", {"page", "result"}, Act, stepRead},
        {"expect", {"count", "scope"}, Inspect, stepExpect},
        {"let", {}, Inspect, stepLet},
        {"release", {"result"}, Act, stepRelease},
    };
    return kinds;
}

const StepKind* findStepKind(const std::string& name)
{
    for (const auto& kind : stepKinds()) {
        if (kind.name == name)
            return &kind;
    }
    return nullptr;
}

std::string stepKindNames()
{
    std::string names;
    for (const auto& kind : stepKinds())
        names += (names.empty() ? "" : ", ") + kind.name;
    return names;
}

} // namespace zeb2hart::frame
