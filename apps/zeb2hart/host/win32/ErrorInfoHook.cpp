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

// The description taken from the serving thread between the size and the fill
// of the reply's extension.
thread_local std::wstring t_pending;

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

    // The callee's error info is taken from the serving thread: it travels with this reply only.
    void STDMETHODCALLTYPE ServerGetSize(REFGUID extension, REFIID, HRESULT, ULONG* size) override
    {
        *size = 0;
        t_pending.clear();
        if (extension != kExtension)
            return;
        com::ComPtr<IErrorInfo> info;
        BSTR description = nullptr;
        if (GetErrorInfo(0, info.GetAddressOf()) != S_OK || !info || FAILED(info->GetDescription(&description)))
            return;
        t_pending.assign(description, SysStringLen(description));
        SysFreeString(description);
        *size = static_cast<ULONG>(t_pending.size() * sizeof(wchar_t));
    }
    void STDMETHODCALLTYPE ServerFillBuffer(REFGUID extension, REFIID, ULONG* size, void* buffer, HRESULT) override
    {
        const ULONG bytes = static_cast<ULONG>(t_pending.size() * sizeof(wchar_t));
        if (extension != kExtension || *size < bytes) {
            *size = 0;
            return;
        }
        std::memcpy(buffer, t_pending.data(), bytes);
        *size = bytes;
        t_pending.clear();
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
