#pragma once
// A value of one of the kinds a COM variant carries, as far as the component
// uses them: attribute values, property-bag entries and the status value.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>
#include "Export.h"

namespace zeb2hart::fdt {

// A date as COM holds it: days since 1899-12-30, the fraction being the time of day.
struct ZEB2HART_API Date {
    double serial = 0.0;
    friend bool operator==(const Date&, const Date&) = default;
};

struct ZEB2HART_API Null {
    friend bool operator==(const Null&, const Null&) = default;
};

class Variant;
using VariantArray = std::vector<Variant>;

class ZEB2HART_API Variant {
public:
    using Value = std::variant<std::monostate, Null, bool, std::uint8_t, std::int16_t, std::int32_t,
                               float, double, Date, std::string, std::vector<std::uint8_t>,
                               std::vector<std::int16_t>, std::vector<std::int32_t>, VariantArray>;

    Variant() = default;
    template <class T>
    requires std::is_constructible_v<Value, T&&>
    Variant(T&& value) : m_value(std::forward<T>(value)) {}
    Variant(const char* text) : m_value(std::string(text)) {}

    const Value& value() const { return m_value; }
    bool isEmpty() const { return std::holds_alternative<std::monostate>(m_value); }
    bool isNull() const { return std::holds_alternative<Null>(m_value); }
    template <class T>
    bool is() const { return std::holds_alternative<T>(m_value); }
    template <class T>
    const T& as() const { return std::get<T>(m_value); }

    friend bool operator==(const Variant&, const Variant&) = default;

private:
    Value m_value;
};

} // namespace zeb2hart::fdt
