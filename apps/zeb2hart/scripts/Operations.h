#pragma once
// Every operation a frame script can call on the component: the FDT
// interfaces DTMMain implements and its public services, each with its
// argument list and the way its result is written to the transcript.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/Session.h"
#include "transcript/Transcript.h"
#include "platform/PropertyBag.h"

namespace zeb2hart::frame {

enum class ParamKind { Text, Object, Integer, Boolean, Bag, Controls };

struct Param {
    std::string name;
    ParamKind kind;
};

// One resolved argument: its value in the form the operation takes and as the transcript shows it.
struct Argument {
    Json shown;
    std::string text;
    fdt::ObjectPtr object;
    long long number = 0;
    bool flag = false;
    std::shared_ptr<platform::MemoryPropertyBag> bag;
    std::vector<HeadlessControl> controls;
};

struct Operation {
    std::string name;          // "IDtm::InitNew", "DTMMain::MonitorMsg"
    std::string defaultCaller; // "frame", "child", "parent", "page"
    std::vector<Param> params;
    bool returnsValue;
    std::function<Json(Session&, std::vector<Argument>&)> invoke;
};

const std::vector<Operation>& operations();
// nullptr for an unknown name.
const Operation* findOperation(const std::string& name);

// The properties of a bag as {"key": value} and their types as {"key": "int16"}.
Json bagValues(const platform::MemoryPropertyBag& bag);
Json bagTypes(const platform::MemoryPropertyBag& bag);
// A bag from its script form: {"key": value} (types inferred: Boolean, 16-bit
// integer when it fits, else 32-bit, text) or {"key": {"type": T, "value": V}}.
// Throws std::invalid_argument.
std::shared_ptr<platform::MemoryPropertyBag> bagFromJson(const Json& json);

} // namespace zeb2hart::frame
