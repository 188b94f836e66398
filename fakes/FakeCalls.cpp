#include "FakeCalls.h"

#include <cstring>
#include <utility>

namespace zeb2hart::fakes {

std::string text(const Value& value)
{
    if (const auto* s = std::get_if<std::string>(&value))
        return *s;
    if (const auto* b = std::get_if<bool>(&value))
        return *b ? "true" : "false";
    if (const auto* n = std::get_if<std::int16_t>(&value))
        return std::to_string(*n);
    return std::get<fdt::ObjectPtr>(value) ? "object" : "null";
}

Observer logTo(EventLog log)
{
    return [log = std::move(log)](const ObservedCall& call) {
        std::string line = call.fake + " " + call.operation;
        for (const Argument& argument : call.args) {
            if (std::strcmp(argument.name, "invokeId") == 0 || std::strcmp(argument.name, "communicationReference") == 0) {
                if (const std::string reference = text(argument.value); !reference.empty())
                    line += " " + reference;
            }
        }
        log->push_back(std::move(line));
    };
}

} // namespace zeb2hart::fakes
