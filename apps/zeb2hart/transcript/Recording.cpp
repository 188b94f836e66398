#include "transcript/Recording.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>
#include <variant>

namespace zeb2hart::frame {

std::string errorTypeName(const std::exception& error)
{
    const char* mangled = typeid(error).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                     std::free);
    std::string name = (status == 0 && demangled) ? demangled.get() : mangled;
    const auto colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}

Json errorJson(const std::exception& error)
{
    return {{"type", errorTypeName(error)}, {"message", error.what()}};
}

Json variantToJson(const fdt::Variant& value)
{
    return std::visit(
        [](const auto& v) -> Json {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::string> || std::is_same_v<T, double> ||
                          std::is_same_v<T, float> || std::is_same_v<T, std::int16_t> ||
                          std::is_same_v<T, std::int32_t> || std::is_same_v<T, std::uint8_t>)
                return Json(v);
            else
                return nullptr;
        },
        value.value());
}

fakes::Observer transcriptObserver(Transcript& transcript, const ObjectNames& names)
{
    return [&transcript, &names](const fakes::ObservedCall& call) {
        const auto json = [&names](const fakes::Value& value) {
            return std::visit(
                [&names](const auto& v) -> Json {
                    if constexpr (std::is_same_v<std::decay_t<decltype(v)>, fdt::ObjectPtr>)
                        return names.nameOf(v);
                    else
                        return Json(v);
                },
                value);
        };
        Json args = Json::object();
        for (const fakes::Argument& argument : call.args)
            args[argument.name] = json(argument.value);
        Json event = {{"ev", "out"},
                      {"to", call.fake},
                      {"op", std::string(call.interfaceName) + "::" + call.operation},
                      {"args", std::move(args)}};
        if (call.error)
            event["error"] = errorJson(*call.error);
        else if (call.result)
            event["result"] = json(*call.result);
        transcript.add(std::move(event));
    };
}

} // namespace zeb2hart::frame
