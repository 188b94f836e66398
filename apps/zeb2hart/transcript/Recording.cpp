#include "transcript/Recording.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

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

} // namespace zeb2hart::frame
