#pragma once
// IFdtCommunication of a C++ object (the DTM toward its child, or a test's
// parent) for COM callers. Called on the apartment's thread.

#include "com/DispatchStub.h"
#include "com/FdtInterfaces.h"
#include "com/Peer.h"
#include "fdt/CommunicationInterfaces.h"

namespace zeb2hart::com {

class FdtCommunicationStub final : public DispatchStub<::IFdtCommunication, fdt::IFdtCommunication> {
public:
    using DispatchStub::DispatchStub;

    HRESULT STDMETHODCALLTYPE Abort(BSTR fieldbusFrame) override
    {
        return run([&] { object().Abort(fromBstr(fieldbusFrame)); });
    }
    HRESULT STDMETHODCALLTYPE ConnectRequest(::IFdtCommunicationEvents* callback, BSTR invokeId, BSTR protocolId,
                                             BSTR fieldbusFrame, VARIANT_BOOL* result) override
    {
        return answer(result, [&] {
            return object().ConnectRequest(Peer::wrapAs<fdt::IFdtCommunicationEvents>(callback), fromBstr(invokeId),
                                           fromBstr(protocolId), fromBstr(fieldbusFrame));
        });
    }
    HRESULT STDMETHODCALLTYPE DisconnectRequest(BSTR invokeId, BSTR fieldbusFrame, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().DisconnectRequest(fromBstr(invokeId), fromBstr(fieldbusFrame)); });
    }
    HRESULT STDMETHODCALLTYPE TransactionRequest(BSTR invokeId, BSTR fieldbusFrame, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().TransactionRequest(fromBstr(invokeId), fromBstr(fieldbusFrame)); });
    }
    HRESULT STDMETHODCALLTYPE GetSupportedProtocols(BSTR* result) override
    {
        return answer(result, [&] { return object().GetSupportedProtocols(); });
    }
    HRESULT STDMETHODCALLTYPE SequenceBegin(BSTR fieldbusFrame, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().SequenceBegin(fromBstr(fieldbusFrame)); });
    }
    HRESULT STDMETHODCALLTYPE SequenceStart(BSTR fieldbusFrame, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().SequenceStart(fromBstr(fieldbusFrame)); });
    }
    HRESULT STDMETHODCALLTYPE SequenceEnd(BSTR fieldbusFrame, VARIANT_BOOL* result) override
    {
        return answer(result, [&] { return object().SequenceEnd(fromBstr(fieldbusFrame)); });
    }
};

} // namespace zeb2hart::com
