#pragma once
// IFdtCommunicationEvents of a C++ object (the DTM toward its parent, or a
// test's child) for COM callers. Called on the apartment's thread.

#include "com/DispatchStub.h"
#include "com/FdtInterfaces.h"
#include "fdt/CommunicationInterfaces.h"

namespace zeb2hart::com {

class FdtCommunicationEventsStub final
    : public DispatchStub<::IFdtCommunicationEvents, fdt::IFdtCommunicationEvents> {
public:
    using DispatchStub::DispatchStub;

    HRESULT STDMETHODCALLTYPE OnAbort(BSTR communicationReference) override
    {
        return run([&] { object().OnAbort(fromBstr(communicationReference)); });
    }
    HRESULT STDMETHODCALLTYPE OnConnectResponse(BSTR invokeId, BSTR response) override
    {
        return run([&] { object().OnConnectResponse(fromBstr(invokeId), fromBstr(response)); });
    }
    HRESULT STDMETHODCALLTYPE OnDisconnectResponse(BSTR invokeId, BSTR response) override
    {
        return run([&] { object().OnDisconnectResponse(fromBstr(invokeId), fromBstr(response)); });
    }
    HRESULT STDMETHODCALLTYPE OnTransactionResponse(BSTR invokeId, BSTR response) override
    {
        return run([&] { object().OnTransactionResponse(fromBstr(invokeId), fromBstr(response)); });
    }
};

} // namespace zeb2hart::com
