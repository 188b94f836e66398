#pragma once
// The one road between the component's exceptions and COM's failed HRESULTs.
// Stubs run every method body through guarded(): no exception crosses the COM
// boundary; it becomes an HRESULT with its text as the thread's error info.
// Proxies clear the thread's error info before they call a peer and pass its
// HRESULT to checkPeerResult(): a failure becomes the matching exception with
// the peer's error description, when the peer says it leaves one. Both on the
// apartment's thread.
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

// Drops the thread's error info, so that what is there after a call is the callee's.
void clearErrorInfo() noexcept;

// checkResult() for a call of `peer`'s interface `iid` made after clearErrorInfo():
// the thread's error info describes the failure only when the peer's
// ISupportErrorInfo says that interface sets it; otherwise it is dropped.
void checkPeerResult(HRESULT result, IUnknown& peer, const IID& iid);

// "0x80020005" for messages.
std::string hresultText(HRESULT result);

} // namespace zeb2hart::com
