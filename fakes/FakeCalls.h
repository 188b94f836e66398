#pragma once
// What the fakes of the FDT interfaces keep of the calls they take, and what
// they tell their observer (the frame stand-in's transcript, a test's event
// log) of each call once it is over. Used on the one thread that drives the DTM.

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "fdt/Object.h"

namespace zeb2hart::fakes {

// The value of an argument or a result: a text, a flag, a number or an object.
using Value = std::variant<std::string, bool, std::int16_t, fdt::ObjectPtr>;

// A value as text: flags as "true" and "false", numbers in decimal, objects as "object" or "null".
std::string text(const Value& value);

struct Argument {
    const char* name; // as the interface names the parameter ("systemTag")
    Value value;
};

// One call a fake took, as its observer sees it.
struct ObservedCall {
    const std::string& fake;  // the fake's name ("frame", "parent", "child", ...)
    const char* interfaceName; // "IFdtContainer", "IFdtCommunication", ...
    const char* operation;     // "SaveRequest", "TransactionRequest", ...
    std::vector<Argument> args;
    std::optional<Value> result;            // none when the operation answers nothing
    const std::exception* error = nullptr;  // what the call failed with instead
};

// Told of every call a fake took, after it is over (and before a chosen failure is thrown).
using Observer = std::function<void(const ObservedCall&)>;

// One call the component made on a frame fake, with its arguments as text.
struct Call {
    std::string name;
    std::vector<std::string> args;
    friend bool operator==(const Call&, const Call&) = default;
};

// What was observed, in order, one text per event.
using Events = std::vector<std::string>;
using EventLog = std::shared_ptr<Events>;

// An observer that writes "<fake> <operation>[ <invoke id or reference>]" to
// `log` for each call: the order of calls across several fakes.
Observer logTo(EventLog log);

// The name and the observer of a fake; a fake of several interfaces has one of each.
class ObservedFake {
public:
    std::string name;
    Observer observer;

protected:
    ObservedFake() = default;
    explicit ObservedFake(std::string fakeName, Observer fakeObserver = {})
        : name(std::move(fakeName)), observer(std::move(fakeObserver))
    {
    }
    ~ObservedFake() = default;
    void tell(const char* interfaceName, const char* operation, std::vector<Argument> args,
              std::optional<Value> result = std::nullopt, const std::exception* error = nullptr) const
    {
        if (observer)
            observer({name, interfaceName, operation, std::move(args), std::move(result), error});
    }
};

} // namespace zeb2hart::fakes
