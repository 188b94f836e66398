#pragma once
// How a C++ result travels as a COM [out, retval] value: ComValue<T>::Type is
// the COM type, to() makes one the receiver owns (stubs), take() turns one
// received into the C++ value and frees it (proxies). Bool is VARIANT_BOOL,
// text BSTR, numbers long and short, fdt::Variant VARIANT, an interface ComPtr
// the raw pointer. Used on the apartment's thread.

#include <cstdint>
#include <string>

#include "com/ComPtr.h"
#include "com/Values.h"

namespace zeb2hart::com {

template <class T>
struct ComValue;

template <>
struct ComValue<bool> {
    using Type = VARIANT_BOOL;
    static Type to(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }
    static bool take(Type value) { return value != VARIANT_FALSE; }
};

template <>
struct ComValue<std::string> {
    using Type = BSTR;
    static Type to(const std::string& value) { return toBstr(value); }
    static std::string take(Type value)
    {
        std::string result = fromBstr(value);
        SysFreeString(value);
        return result;
    }
};

template <>
struct ComValue<std::int32_t> {
    using Type = LONG;
    static Type to(std::int32_t value) { return value; }
    static std::int32_t take(Type value) { return value; }
};

template <>
struct ComValue<std::int16_t> {
    using Type = SHORT;
    static Type to(std::int16_t value) { return value; }
    static std::int16_t take(Type value) { return value; }
};

template <>
struct ComValue<fdt::Variant> {
    using Type = VARIANT;
    static Type to(const fdt::Variant& value) { return toVariant(value); }
    static fdt::Variant take(Type value)
    {
        struct Clear {
            VARIANT& v;
            ~Clear() { clearVariant(v); }
        } clear{value};
        return fromVariant(value);
    }
};

template <class I>
struct ComValue<ComPtr<I>> {
    using Type = I*;
    static Type to(ComPtr<I> value) { return value.Detach(); }
    static ComPtr<I> take(Type value) { return adopt(value); }
};

} // namespace zeb2hart::com
