#pragma once
// The one road between the component's exceptions and COM's failed HRESULTs.
// Stubs run every method body through guarded(): no exception crosses the COM
// boundary; it becomes an HRESULT with its text as the thread's error info.
// Proxies pass every HRESULT to checkResult(): a failure becomes the matching
// exception with the peer's error description. Both on the apartment's thread.
//
//   fdt::TypeMismatchError  DISP_E_TYPEMISMATCH   (also what E_NOINTERFACE becomes)
//   fdt::OverflowError      DISP_E_OVERFLOW
//   fdt::NotFoundError      DISP_E_BADINDEX       (a list position or key that is not there,
//                                                  as the collection's Item reports it)
//   fdt::FileError          STG_E_ACCESSDENIED    (a file or folder that cannot be read or written)
//   fdt::NullObjectError    E_POINTER
//   std::bad_alloc          E_OUTOFMEMORY
//   anything else           E_FAIL                (and every other failure is an fdt::Error)

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace zeb2hart::com {

// The HRESULT of the exception in flight, with its text set as error info of
// the interface `iid`. Only inside a catch block.
HRESULT failureOfCurrentException(const IID& iid) noexcept;

// Sets the thread's error info (description, interface, source) and answers `result`.
HRESULT reportFailure(HRESULT result, const std::string& description, const IID& iid) noexcept;

// Runs `body`; S_OK when it returns, the failure of its exception when it throws.
template <class F>
HRESULT guarded(const IID& iid, F&& body) noexcept
{
    try {
        body();
        return S_OK;
    } catch (...) {
        return failureOfCurrentException(iid);
    }
}

// Throws the exception of a failed HRESULT, described by the thread's error
// info when there is one; a success passes.
void checkResult(HRESULT result);

// "0x80020005" for messages.
std::string hresultText(HRESULT result);

} // namespace zeb2hart::com
