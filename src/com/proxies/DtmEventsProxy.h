#pragma once
// The COM frame's IDtmEvents for the DTM. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "fdt/FrameInterfaces.h"

namespace zeb2hart::com {

class DtmEventsProxy final : public fdt::IDtmEvents, public Proxy<::IDtmEvents> {
public:
    using Proxy::Proxy;
    using S = const std::string&;

    void OnParameterChanged(S systemTag, S parameter) override
    {
        checkResult(peer().OnParameterChanged(Bstr(systemTag).get(), Bstr(parameter).get()));
    }
    void OnErrorMessage(S systemTag, S errorMessage) override
    {
        checkResult(peer().OnErrorMessage(Bstr(systemTag).get(), Bstr(errorMessage).get()));
    }
    void OnProgress(S systemTag, S title, std::int16_t percent, bool show) override
    {
        checkResult(peer().OnProgress(Bstr(systemTag).get(), Bstr(title).get(), percent, ComValue<bool>::to(show)));
    }
    void OnUploadFinished(S invokeId, bool success) override
    {
        checkResult(peer().OnUploadFinished(Bstr(invokeId).get(), ComValue<bool>::to(success)));
    }
    void OnDownloadFinished(S invokeId, bool success) override
    {
        checkResult(peer().OnDownloadFinished(Bstr(invokeId).get(), ComValue<bool>::to(success)));
    }
    void OnApplicationClosed(S invokeId) override { checkResult(peer().OnApplicationClosed(Bstr(invokeId).get())); }
    void OnFunctionChanged(S systemTag) override { checkResult(peer().OnFunctionChanged(Bstr(systemTag).get())); }
    void OnChannelFunctionChanged(S systemTag, S channelPath) override
    {
        checkResult(peer().OnChannelFunctionChanged(Bstr(systemTag).get(), Bstr(channelPath).get()));
    }
    void OnPrint(S systemTag, S functionCall) override
    {
        checkResult(peer().OnPrint(Bstr(systemTag).get(), Bstr(functionCall).get()));
    }
    void OnNavigation(S systemTag) override { checkResult(peer().OnNavigation(Bstr(systemTag).get())); }
    void OnOnlineStateChanged(S systemTag, S onlineState) override
    {
        checkResult(peer().OnOnlineStateChanged(Bstr(systemTag).get(), Bstr(onlineState).get()));
    }
    void OnPreparedToRelease(S systemTag) override { checkResult(peer().OnPreparedToRelease(Bstr(systemTag).get())); }
    void OnPreparedToReleaseCommunication(S systemTag) override
    {
        checkResult(peer().OnPreparedToReleaseCommunication(Bstr(systemTag).get()));
    }
    void OnInvokedFunctionFinished(S invokeId, bool success) override
    {
        checkResult(peer().OnInvokedFunctionFinished(Bstr(invokeId).get(), ComValue<bool>::to(success)));
    }
    void OnScanResponse(S invokeId, S response) override
    {
        checkResult(peer().OnScanResponse(Bstr(invokeId).get(), Bstr(response).get()));
    }
};

} // namespace zeb2hart::com
