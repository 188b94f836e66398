#pragma once
// Conversions between the component's values and COM's: UTF-8 text and BSTR,
// fdt::Variant and VARIANT. Used by the stubs and proxies on the apartment's
// thread; a value that does not convert throws fdt::TypeMismatchError or
// fdt::OverflowError, a failed allocation std::bad_alloc.

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <string_view>

#include "fdt/Guid.h"
#include "fdt/Variant.h"

namespace zeb2hart::com {

// A new BSTR the receiver frees.
BSTR toBstr(std::string_view utf8);
// The text of a BSTR; a null BSTR is the empty text, as COM counts it.
std::string fromBstr(BSTR text);

// A new VARIANT the receiver clears. Arrays become one-dimensional SAFEARRAYs
// of VT_UI1, VT_I2, VT_I4 or VT_VARIANT.
VARIANT toVariant(const fdt::Variant& value);
// The value of a VARIANT (by reference or not). Integers of other widths are
// taken when they fit a 32-bit integer; objects, currency, decimals, arrays
// of other kinds or of more than one dimension, a reference to nothing and
// arrays nested deeper than any FDT value nests are a type mismatch.
fdt::Variant fromVariant(const VARIANT& value);

// VariantClear, however deep arrays of VARIANTs nest in the value: VariantClear
// itself goes down them by recursion, and a frame's value may nest without end.
void clearVariant(VARIANT& value) noexcept;

constexpr GUID toGuid(const fdt::Guid& id)
{
    return {id.data1, id.data2, id.data3, {id.data4[0], id.data4[1], id.data4[2], id.data4[3], id.data4[4],
                                           id.data4[5], id.data4[6], id.data4[7]}};
}

constexpr fdt::Guid fromGuid(const GUID& id)
{
    return {id.Data1, id.Data2, id.Data3, {id.Data4[0], id.Data4[1], id.Data4[2], id.Data4[3], id.Data4[4],
                                           id.Data4[5], id.Data4[6], id.Data4[7]}};
}

} // namespace zeb2hart::com
