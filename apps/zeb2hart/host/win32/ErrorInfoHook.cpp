#include "host/win32/ErrorInfoHook.h"

#include <objbase.h>
#include <oaidl.h>

#include <cstring>
#include <string>

#include "com/ComPtr.h"

namespace zeb2hart::frame {

namespace {

// {6F0C4B1E-2D3A-4E8B-9C71-5A2F8E3D1B64}: the hook's own extension of a reply.
constexpr GUID kExtension = {0x6F0C4B1E, 0x2D3A, 0x4E8B, {0x9C, 0x71, 0x5A, 0x2F, 0x8E, 0x3D, 0x1B, 0x64}};

// The description of the serving thread's error info; with `take`, the error
// info is taken from the thread, else it is left there.
std::wstring pendingDescription(bool take)
{
    com::ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.GetAddressOf()) != S_OK || !info)
        return {};
    if (!take)
        SetErrorInfo(0, info.Get());
    BSTR description = nullptr;
    if (FAILED(info->GetDescription(&description)))
        return {};
    std::wstring text(description, SysStringLen(description));
    SysFreeString(description);
    return text;
}

class ErrorInfoHook final : public IChannelHook {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override
    {
        if (!result)
            return E_POINTER;
        *result = nullptr;
        if (iid != IID_IUnknown && iid != IID_IChannelHook)
            return E_NOINTERFACE;
        *result = static_cast<IChannelHook*>(this);
        return S_OK;
    }
    // Lives as long as the process.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    void STDMETHODCALLTYPE ClientGetSize(REFGUID, REFIID, ULONG* size) override { *size = 0; }
    void STDMETHODCALLTYPE ClientFillBuffer(REFGUID, REFIID, ULONG*, void*) override {}
    void STDMETHODCALLTYPE ServerNotify(REFGUID, REFIID, ULONG, void*, DWORD) override {}

    // The callee's error info travels with this reply only: the size is asked
    // first, then the buffer filled, which takes it from the serving thread.
    void STDMETHODCALLTYPE ServerGetSize(REFGUID extension, REFIID, HRESULT, ULONG* size) override
    {
        *size = extension == kExtension ? static_cast<ULONG>(pendingDescription(false).size() * sizeof(wchar_t)) : 0;
    }
    void STDMETHODCALLTYPE ServerFillBuffer(REFGUID extension, REFIID, ULONG* size, void* buffer, HRESULT) override
    {
        if (extension != kExtension) {
            *size = 0;
            return;
        }
        const std::wstring description = pendingDescription(true);
        const ULONG bytes = static_cast<ULONG>(description.size() * sizeof(wchar_t));
        if (*size < bytes) {
            *size = 0;
            return;
        }
        std::memcpy(buffer, description.data(), bytes);
        *size = bytes;
    }

    // The reply's description becomes the calling thread's error info.
    void STDMETHODCALLTYPE ClientNotify(REFGUID extension, REFIID iid, ULONG size, void* buffer, DWORD,
                                        HRESULT) override
    {
        if (extension != kExtension || size == 0 || !buffer)
            return;
        std::wstring description(size / sizeof(wchar_t), L'\0');
        std::memcpy(description.data(), buffer, description.size() * sizeof(wchar_t));
        com::ComPtr<ICreateErrorInfo> create;
        com::ComPtr<IErrorInfo> info;
        if (FAILED(CreateErrorInfo(create.GetAddressOf())) || FAILED(create.As(&info)))
            return;
        create->SetDescription(description.data());
        create->SetGUID(iid);
        SetErrorInfo(0, info.Get());
    }
};

} // namespace

void installErrorInfoHook()
{
    static ErrorInfoHook hook;
    static const HRESULT installed = CoRegisterChannelHook(kExtension, &hook);
    (void)installed; // without it, only the messages of failures that cross apartments are lost
}

} // namespace zeb2hart::frame
