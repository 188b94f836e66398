#pragma once
// IDtmEvents of a C++ frame (a test frame) for COM callers (the DTM).
// Called on the apartment's thread.

#include "com/DispatchStub.h"
#include "com/FdtInterfaces.h"
#include "fdt/FrameInterfaces.h"

namespace zeb2hart::com {

class DtmEventsStub final : public DispatchStub<::IDtmEvents, fdt::IDtmEvents> {
public:
    using DispatchStub::DispatchStub;

    HRESULT STDMETHODCALLTYPE OnParameterChanged(BSTR systemTag, BSTR parameter) override
    {
        return run([&] { object().OnParameterChanged(fromBstr(systemTag), fromBstr(parameter)); });
    }
    HRESULT STDMETHODCALLTYPE OnErrorMessage(BSTR systemTag, BSTR errorMessage) override
    {
        return run([&] { object().OnErrorMessage(fromBstr(systemTag), fromBstr(errorMessage)); });
    }
    HRESULT STDMETHODCALLTYPE OnProgress(BSTR systemTag, BSTR title, SHORT percent, VARIANT_BOOL show) override
    {
        return run([&] { object().OnProgress(fromBstr(systemTag), fromBstr(title), percent, show != VARIANT_FALSE); });
    }
    HRESULT STDMETHODCALLTYPE OnUploadFinished(BSTR invokeId, VARIANT_BOOL success) override
    {
        return run([&] { object().OnUploadFinished(fromBstr(invokeId), success != VARIANT_FALSE); });
    }
    HRESULT STDMETHODCALLTYPE OnDownloadFinished(BSTR invokeId, VARIANT_BOOL success) override
    {
        return run([&] { object().OnDownloadFinished(fromBstr(invokeId), success != VARIANT_FALSE); });
    }
    HRESULT STDMETHODCALLTYPE OnApplicationClosed(BSTR invokeId) override
    {
        return run([&] { object().OnApplicationClosed(fromBstr(invokeId)); });
    }
    HRESULT STDMETHODCALLTYPE OnFunctionChanged(BSTR systemTag) override
    {
        return run([&] { object().OnFunctionChanged(fromBstr(systemTag)); });
    }
    HRESULT STDMETHODCALLTYPE OnChannelFunctionChanged(BSTR systemTag, BSTR channelPath) override
    {
        return run([&] { object().OnChannelFunctionChanged(fromBstr(systemTag), fromBstr(channelPath)); });
    }
    HRESULT STDMETHODCALLTYPE OnPrint(BSTR systemTag, BSTR functionCall) override
    {
        return run([&] { object().OnPrint(fromBstr(systemTag), fromBstr(functionCall)); });
    }
    HRESULT STDMETHODCALLTYPE OnNavigation(BSTR systemTag) override
    {
        return run([&] { object().OnNavigation(fromBstr(systemTag)); });
    }
    HRESULT STDMETHODCALLTYPE OnOnlineStateChanged(BSTR systemTag, BSTR onlineState) override
    {
        return run([&] { object().OnOnlineStateChanged(fromBstr(systemTag), fromBstr(onlineState)); });
    }
    HRESULT STDMETHODCALLTYPE OnPreparedToRelease(BSTR systemTag) override
    {
        return run([&] { object().OnPreparedToRelease(fromBstr(systemTag)); });
    }
    HRESULT STDMETHODCALLTYPE OnPreparedToReleaseCommunication(BSTR systemTag) override
    {
        return run([&] { object().OnPreparedToReleaseCommunication(fromBstr(systemTag)); });
    }
    HRESULT STDMETHODCALLTYPE OnInvokedFunctionFinished(BSTR invokeId, VARIANT_BOOL success) override
    {
        return run([&] { object().OnInvokedFunctionFinished(fromBstr(invokeId), success != VARIANT_FALSE); });
    }
    HRESULT STDMETHODCALLTYPE OnScanResponse(BSTR invokeId, BSTR response) override
    {
        return run([&] { object().OnScanResponse(fromBstr(invokeId), fromBstr(response)); });
    }
};

} // namespace zeb2hart::com
