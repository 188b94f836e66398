#include "com/ErrorMapping.h"

#include <cstdint>
#include <new>

#include "com/ComPtr.h"
#include "com/Values.h"
#include "fdt/Errors.h"
#include "fdt/Hex.h"
#include "platform/win32/WindowsApi.h"

namespace zeb2hart::com {

namespace {

constexpr const wchar_t* kErrorSource = L"ZEB2HARTGateway";

// One kind of error in both directions: the exception is recognised by
// `matches` and thrown again by `raise`.
struct ErrorKind {
    HRESULT result;
    bool (*matches)(const std::exception&);
    void (*raise)(const std::string& description); // never returns
};

template <class E>
bool isA(const std::exception& error)
{
    return dynamic_cast<const E*>(&error) != nullptr;
}

template <class E>
[[noreturn]] void raise(const std::string& description)
{
    if constexpr (std::is_same_v<E, std::bad_alloc>)
        throw std::bad_alloc();
    else
        throw E(description);
}

constexpr ErrorKind kErrorKinds[] = {
    {DISP_E_TYPEMISMATCH, isA<fdt::TypeMismatchError>, raise<fdt::TypeMismatchError>},
    {DISP_E_OVERFLOW, isA<fdt::OverflowError>, raise<fdt::OverflowError>},
    {DISP_E_BADINDEX, isA<fdt::NotFoundError>, raise<fdt::NotFoundError>},
    {STG_E_ACCESSDENIED, isA<fdt::FileError>, raise<fdt::FileError>},
    {E_POINTER, isA<fdt::NullObjectError>, raise<fdt::NullObjectError>},
    {E_OUTOFMEMORY, isA<std::bad_alloc>, raise<std::bad_alloc>},
    {E_NOINTERFACE, nullptr, raise<fdt::TypeMismatchError>},
};

HRESULT resultOf(const std::exception& error)
{
    for (const ErrorKind& kind : kErrorKinds) {
        if (kind.matches && kind.matches(error))
            return kind.result;
    }
    return E_FAIL;
}

// The description of the thread's error info, taken (and so cleared) from it.
std::string takeErrorDescription()
{
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.GetAddressOf()) != S_OK || !info)
        return {};
    BSTR description = nullptr;
    if (FAILED(info->GetDescription(&description)))
        return {};
    std::string text = fromBstr(description);
    SysFreeString(description);
    return text;
}

// The exception of a failed HRESULT with this description (or one naming the HRESULT).
[[noreturn]] void raiseFailure(HRESULT result, std::string description)
{
    if (description.empty())
        description = "COM call failed with " + hresultText(result);
    for (const ErrorKind& kind : kErrorKinds) {
        if (kind.result == result)
            kind.raise(description);
    }
    throw fdt::Error(description);
}

bool setsErrorInfo(IUnknown& peer, const IID& iid)
{
    ComPtr<ISupportErrorInfo> support;
    return SUCCEEDED(peer.QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(support.GetAddressOf()))) &&
           support && support->InterfaceSupportsErrorInfo(iid) == S_OK;
}

} // namespace

std::string hresultText(HRESULT result)
{
    return "0x" + fdt::hexText(static_cast<std::uint32_t>(result), 8);
}

HRESULT reportFailure(HRESULT result, const std::string& description, const IID& iid) noexcept
{
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.GetAddressOf())))
        return result;
    try {
        create->SetDescription(const_cast<wchar_t*>(platform::toWide(description).c_str()));
    } catch (...) { // no memory for the text: the HRESULT alone still tells the kind
    }
    create->SetGUID(iid);
    create->SetSource(const_cast<wchar_t*>(kErrorSource));
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.As(&info)))
        SetErrorInfo(0, info.Get());
    return result;
}

HRESULT failureOfCurrentException(const IID& iid) noexcept
{
    try {
        throw;
    } catch (const std::exception& error) {
        return reportFailure(resultOf(error), error.what(), iid);
    } catch (...) {
        return reportFailure(E_FAIL, "unknown failure", iid);
    }
}

void checkResult(HRESULT result)
{
    if (FAILED(result))
        raiseFailure(result, takeErrorDescription());
}

void clearErrorInfo() noexcept
{
    SetErrorInfo(0, nullptr);
}

void checkPeerResult(HRESULT result, IUnknown& peer, const IID& iid)
{
    if (SUCCEEDED(result))
        return;
    if (setsErrorInfo(peer, iid))
        raiseFailure(result, takeErrorDescription());
    clearErrorInfo(); // whatever is there is not about this call
    raiseFailure(result, {});
}

} // namespace zeb2hart::com
