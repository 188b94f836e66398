#include "com/Values.h"

#include "platform/win32/WindowsApi.h"

#include <limits>
#include <new>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "fdt/Errors.h"

namespace zeb2hart::com {

namespace {

// How deep arrays of VARIANTs (and VARIANTs by reference) may nest in a value
// that converts; each level is a call of fromVariantAt. The component's own
// values nest one level (an array of values), so this leaves room for any
// frame while a hostile value cannot use up the stack.
constexpr int kMaxNesting = 64;

fdt::Variant fromVariantAt(const VARIANT& value, int depth);

// A SAFEARRAY that is destroyed unless handed on.
class ScopedArray {
public:
    ScopedArray(VARTYPE type, std::size_t size)
        : m_array(SafeArrayCreateVector(type, 0, static_cast<ULONG>(size)))
    {
        if (!m_array)
            throw std::bad_alloc();
    }
    ~ScopedArray()
    {
        if (m_array)
            SafeArrayDestroy(m_array);
    }
    ScopedArray(const ScopedArray&) = delete;
    ScopedArray& operator=(const ScopedArray&) = delete;
    template <class T>
    T* data() const { return static_cast<T*>(m_array->pvData); }
    SAFEARRAY* release() { return std::exchange(m_array, nullptr); }

private:
    SAFEARRAY* m_array;
};

// The elements of a one-dimensional SAFEARRAY of T.
template <class T>
std::span<const T> elements(const SAFEARRAY* array)
{
    if (!array)
        throw fdt::TypeMismatchError("an array VARIANT without its array does not convert");
    if (SafeArrayGetDim(const_cast<SAFEARRAY*>(array)) != 1)
        throw fdt::TypeMismatchError("only one-dimensional arrays convert");
    if (array->cbElements != sizeof(T) || (array->rgsabound[0].cElements != 0 && !array->pvData))
        throw fdt::TypeMismatchError("an array whose elements are not what its VARIANT type says does not convert");
    return {static_cast<const T*>(array->pvData), array->rgsabound[0].cElements};
}

template <class T>
std::int32_t toInt32(T value)
{
    if (std::cmp_less(value, std::numeric_limits<std::int32_t>::min()) ||
        std::cmp_greater(value, std::numeric_limits<std::int32_t>::max()))
        throw fdt::OverflowError("the number does not fit a 32-bit integer");
    return static_cast<std::int32_t>(value);
}

fdt::Variant fromArray(VARTYPE elementType, const SAFEARRAY* array, int depth)
{
    switch (elementType) {
    case VT_UI1: {
        const auto items = elements<std::uint8_t>(array);
        return std::vector<std::uint8_t>(items.begin(), items.end());
    }
    case VT_I2: {
        const auto items = elements<std::int16_t>(array);
        return std::vector<std::int16_t>(items.begin(), items.end());
    }
    case VT_I4: {
        const auto items = elements<LONG>(array);
        return std::vector<std::int32_t>(items.begin(), items.end());
    }
    case VT_VARIANT: {
        fdt::VariantArray result;
        for (const VARIANT& item : elements<VARIANT>(array))
            result.push_back(fromVariantAt(item, depth + 1));
        return result;
    }
    default:
        throw fdt::TypeMismatchError("an array of VARIANT type " + std::to_string(elementType) + " does not convert");
    }
}

template <class T>
SAFEARRAY* toArray(VARTYPE elementType, const std::vector<T>& items)
{
    ScopedArray array(elementType, items.size());
    if constexpr (std::is_same_v<T, fdt::Variant>) {
        for (std::size_t i = 0; i < items.size(); ++i)
            array.data<VARIANT>()[i] = toVariant(items[i]);
    } else {
        std::copy(items.begin(), items.end(), array.data<T>());
    }
    return array.release();
}

fdt::Variant fromVariantAt(const VARIANT& value, int depth)
{
    if (depth == kMaxNesting)
        throw fdt::TypeMismatchError("a VARIANT nested more than " + std::to_string(kMaxNesting) +
                                     " levels deep does not convert");
    if ((value.vt & VT_BYREF) && !value.byref)
        throw fdt::TypeMismatchError("a VARIANT by reference without its reference does not convert");
    if (value.vt == (VT_BYREF | VT_VARIANT))
        return fromVariantAt(*value.pvarVal, depth + 1);
    // Read in place: a copy (VariantCopyInd) would copy nested arrays as deep as they go.
    if ((value.vt & VT_BYREF) && (value.vt & VT_ARRAY))
        return fromArray(value.vt & VT_TYPEMASK, *value.pparray, depth);
    if (value.vt & VT_BYREF) {
        VARIANT direct;
        VariantInit(&direct);
        if (FAILED(VariantCopyInd(&direct, const_cast<VARIANT*>(&value))))
            throw fdt::TypeMismatchError("a VARIANT by reference that cannot be read");
        try {
            fdt::Variant result = fromVariantAt(direct, depth);
            VariantClear(&direct);
            return result;
        } catch (...) {
            VariantClear(&direct);
            throw;
        }
    }
    if (value.vt & VT_ARRAY)
        return fromArray(value.vt & VT_TYPEMASK, value.parray, depth);
    switch (value.vt) {
    case VT_EMPTY: return {};
    case VT_NULL: return fdt::Null{};
    case VT_BOOL: return value.boolVal != VARIANT_FALSE;
    case VT_UI1: return std::uint8_t{value.bVal};
    case VT_I2: return std::int16_t{value.iVal};
    case VT_I4: return std::int32_t{value.lVal};
    case VT_R4: return value.fltVal;
    case VT_R8: return value.dblVal;
    case VT_DATE: return fdt::Date{value.date};
    case VT_BSTR: return fromBstr(value.bstrVal);
    case VT_I1: return std::int32_t{value.cVal};
    case VT_UI2: return std::int32_t{value.uiVal};
    case VT_INT: return std::int32_t{value.intVal};
    case VT_UI4: return toInt32(value.ulVal);
    case VT_UINT: return toInt32(value.uintVal);
    case VT_I8: return toInt32(value.llVal);
    case VT_UI8: return toInt32(value.ullVal);
    default:
        throw fdt::TypeMismatchError("a VARIANT of type " + std::to_string(value.vt) + " does not convert");
    }
}

} // namespace

BSTR toBstr(std::string_view utf8)
{
    const std::wstring text = platform::toWide(utf8);
    BSTR result = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!result)
        throw std::bad_alloc();
    return result;
}

std::string fromBstr(BSTR text)
{
    return text ? platform::fromWide({text, SysStringLen(text)}) : std::string();
}

VARIANT toVariant(const fdt::Variant& value)
{
    VARIANT result;
    VariantInit(&result);
    std::visit(
        [&result](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                result.vt = VT_EMPTY;
            } else if constexpr (std::is_same_v<T, fdt::Null>) {
                result.vt = VT_NULL;
            } else if constexpr (std::is_same_v<T, bool>) {
                result.vt = VT_BOOL, result.boolVal = v ? VARIANT_TRUE : VARIANT_FALSE;
            } else if constexpr (std::is_same_v<T, std::uint8_t>) {
                result.vt = VT_UI1, result.bVal = v;
            } else if constexpr (std::is_same_v<T, std::int16_t>) {
                result.vt = VT_I2, result.iVal = v;
            } else if constexpr (std::is_same_v<T, std::int32_t>) {
                result.vt = VT_I4, result.lVal = v;
            } else if constexpr (std::is_same_v<T, float>) {
                result.vt = VT_R4, result.fltVal = v;
            } else if constexpr (std::is_same_v<T, double>) {
                result.vt = VT_R8, result.dblVal = v;
            } else if constexpr (std::is_same_v<T, fdt::Date>) {
                result.vt = VT_DATE, result.date = v.serial;
            } else if constexpr (std::is_same_v<T, std::string>) {
                result.bstrVal = toBstr(v), result.vt = VT_BSTR;
            } else if constexpr (std::is_same_v<T, std::vector<std::uint8_t>>) {
                result.parray = toArray(VT_UI1, v), result.vt = VT_ARRAY | VT_UI1;
            } else if constexpr (std::is_same_v<T, std::vector<std::int16_t>>) {
                result.parray = toArray(VT_I2, v), result.vt = VT_ARRAY | VT_I2;
            } else if constexpr (std::is_same_v<T, std::vector<std::int32_t>>) {
                result.parray = toArray(VT_I4, v), result.vt = VT_ARRAY | VT_I4;
            } else {
                static_assert(std::is_same_v<T, fdt::VariantArray>);
                result.parray = toArray(VT_VARIANT, v), result.vt = VT_ARRAY | VT_VARIANT;
            }
        },
        value.value());
    return result;
}

fdt::Variant fromVariant(const VARIANT& value)
{
    return fromVariantAt(value, 0);
}

void clearVariant(VARIANT& value) noexcept
{
    // The arrays nested in an array of VARIANTs are taken out of it before it
    // is cleared, and cleared in turn: one level at a time.
    std::vector<VARIANT> pending;
    VARIANT item = value;
    VariantInit(&value);
    try {
        for (;;) {
            SAFEARRAY* array = item.vt == (VT_ARRAY | VT_VARIANT) ? item.parray : nullptr;
            if (array && array->cLocks == 0 && array->cbElements == sizeof(VARIANT) && array->pvData) {
                std::size_t count = 1;
                for (USHORT dimension = 0; dimension < array->cDims; ++dimension)
                    count *= array->rgsabound[dimension].cElements;
                for (VARIANT& element : std::span(static_cast<VARIANT*>(array->pvData), count)) {
                    if (element.vt == (VT_ARRAY | VT_VARIANT)) {
                        pending.push_back(element);
                        VariantInit(&element);
                    }
                }
            }
            VariantClear(&item);
            if (pending.empty())
                return;
            item = pending.back();
            pending.pop_back();
        }
    } catch (const std::bad_alloc&) { // no memory for the list: what is left is cleared the plain way
        VariantClear(&item);
        for (VARIANT& left : pending)
            VariantClear(&left);
    }
}

} // namespace zeb2hart::com
