#include "platform/PropertyBag.h"

#include <string>
#include <system_error>

#include <nlohmann/json.hpp>

#include "fdt/Errors.h"
#include "platform/FileText.h"
#include "platform/Paths.h"

namespace zeb2hart::platform {

using fdt::Variant;
// ordered_json keeps the keys in the order the properties were written.
using json = nlohmann::ordered_json;

fdt::Variant MemoryPropertyBag::read(const std::string& key, const Variant& defaultValue)
{
    for (const auto& [name, value] : m_entries) {
        if (name == key)
            return value;
    }
    return defaultValue;
}

void MemoryPropertyBag::write(const std::string& key, const Variant& value)
{
    for (auto& [name, stored] : m_entries) {
        if (name == key) {
            stored = value;
            return;
        }
    }
    m_entries.emplace_back(key, value);
}

bool MemoryPropertyBag::contains(const std::string& key) const
{
    for (const auto& entry : m_entries) {
        if (entry.first == key)
            return true;
    }
    return false;
}

namespace {

json toJsonValue(const Variant& value)
{
    return std::visit(
        [](const auto& v) -> json {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>)
                return {{"type", "bool"}, {"value", v}};
            else if constexpr (std::is_same_v<T, std::uint8_t>)
                return {{"type", "byte"}, {"value", v}};
            else if constexpr (std::is_same_v<T, std::int16_t>)
                return {{"type", "int16"}, {"value", v}};
            else if constexpr (std::is_same_v<T, std::int32_t>)
                return {{"type", "int32"}, {"value", v}};
            else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>)
                return {{"type", "double"}, {"value", static_cast<double>(v)}};
            else if constexpr (std::is_same_v<T, std::string>)
                return {{"type", "string"}, {"value", v}};
            else
                return {{"type", "empty"}};
        },
        value.value());
}

Variant fromJsonValue(const std::string& key, const json& entry)
{
    if (!entry.is_object() || !entry.contains("type") || !entry["type"].is_string())
        throw fdt::FileError("property \"" + key + "\" has no type");
    const std::string type = entry["type"];
    const json& value = entry.contains("value") ? entry["value"] : json();
    auto integer = [&](long long low, long long high) -> long long {
        if (!value.is_number_integer())
            throw fdt::FileError("property \"" + key + "\" is not a whole number");
        const long long v = value.get<long long>();
        if (v < low || v > high)
            throw fdt::FileError("property \"" + key + "\" is out of range for " + type);
        return v;
    };
    if (type == "bool" && value.is_boolean())
        return value.get<bool>();
    if (type == "byte")
        return static_cast<std::uint8_t>(integer(0, 255));
    if (type == "int16")
        return static_cast<std::int16_t>(integer(-32768, 32767));
    if (type == "int32")
        return static_cast<std::int32_t>(integer(INT32_MIN, INT32_MAX));
    if (type == "double" && value.is_number())
        return value.get<double>();
    if (type == "string" && value.is_string())
        return value.get<std::string>();
    if (type == "empty")
        return Variant{};
    throw fdt::FileError("property \"" + key + "\" has an unreadable " + type + " value");
}

} // namespace

std::string JsonFilePropertyBag::toJson(const MemoryPropertyBag& bag)
{
    json document = json::object();
    for (const auto& [key, value] : bag.entries())
        document[key] = toJsonValue(value);
    return document.dump(2) + "\n";
}

void JsonFilePropertyBag::fromJson(const std::string& text, MemoryPropertyBag& bag)
{
    json document;
    try {
        document = json::parse(text);
    } catch (const json::exception& error) { // also a number beyond the range of a double
        throw fdt::FileError(std::string("malformed property bag: ") + error.what());
    }
    if (!document.is_object())
        throw fdt::FileError("malformed property bag: not a JSON object");
    MemoryPropertyBag loaded;
    for (const auto& [key, entry] : document.items())
        loaded.write(key, fromJsonValue(key, entry));
    bag = std::move(loaded);
}

void JsonFilePropertyBag::load()
{
    std::string text;
    std::error_code error;
    switch (readFileText(m_file, text, kMaxProjectFileSize, &error)) {
    case FileRead::Read:
        break;
    case FileRead::Unreadable:
        throw fdt::FileError("cannot read " + utf8Of(m_file) + ": " + error.message());
    case FileRead::NotAFile:
        throw fdt::FileError("cannot read " + utf8Of(m_file) + ": not a regular file");
    case FileRead::TooLarge:
        throw fdt::FileError("cannot read " + utf8Of(m_file) + ": larger than " +
                             std::to_string(kMaxProjectFileSize / (1024 * 1024)) + " MiB");
    }
    fromJson(text, *this);
}

void JsonFilePropertyBag::save() const
{
    writeFileAtomically(m_file, toJson(*this));
}

} // namespace zeb2hart::platform
