#include "scripts/StepKinds.h"

#include "scripts/ExpectSteps.h"
#include "scripts/PageSteps.h"
#include "scripts/PeerSteps.h"
#include "scripts/SessionSteps.h"

namespace zeb2hart::frame {

namespace {

// "let": NAME on a step keeps its result as ${NAME}.
void checkLet(const Json& step)
{
    if (step.contains("let"))
        checkLetName(step["let"]);
}

} // namespace

const std::vector<StepKind>& stepKinds()
{
    using enum StepPhase;
    static const std::vector<StepKind> kinds = {
        {"create", {}, Create, stepCreate},
        {"init", {"result", "error"}, Act, stepInit, checkInit},
        {"save", {"result", "error", "let"}, Act, stepSave, checkSave},
        {"call", {"args", "from", "result", "error", "hold", "let"}, Act, stepCall, checkLet},
        {"get", {"result", "let"}, Act, stepGet, checkLet},
        {"set", {}, Act, stepSet},
        {"respond",
         {"request", "invokeId", "reference", "tag", "status", "data", "object", "sub", "messageType", "error",
          "zebActive", "response", "hold", "expectError", "atOnce"},
         Act, stepRespond},
        {"parentReturns", {"nth"}, Act, stepParentReturns, checkParentReturns},
        {"raise", {"op", "nth"}, Act, stepRaise, checkRaise},
        {"frameReturns", {}, Act, stepFrameReturns},
        {"fileDialog", {}, Act, stepFileDialog},
        {"advance", {}, Act, stepAdvance},
        {"run", {}, Act, stepRun},
        {"attach", {"device", "model", "modelFile", "tag", "shortAddress", "wireTiming"}, Act, stepAttach},
        {"model", {}, Act, stepModel},
        {"child", {"command", "data", "result", "hold", "let"}, Act, stepChild, checkLet},
        {"open", {"invokeId", "result", "qt"}, Act, stepOpen},
        {"close", {"result", "qt"}, Act, stepClose},
        {"click", {"page", "result", "let"}, Act, stepClick, checkControlStep},
        {"select", {"page", "index", "text", "result", "let"}, Act, stepSelect, checkControlStep},
        {"type", {"page", "keys", "paste", "result", "let"}, Act, stepType, checkControlStep},
        {"read", {"page", "colors", "result", "let"}, Act, stepRead, checkControlStep},
        {"screenshot", {"file", "result"}, Act, stepScreenshot, checkPageStep},
        {"resize", {"width", "height", "result"}, Act, stepResize, checkPageStep},
        {"expect", {"count", "scope"}, Inspect, stepExpect},
        {"let", {}, Inspect, stepLet},
        {"file", {"exists", "content", "let"}, Inspect, stepFile, checkFile},
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
