#pragma once
// A COM object's IFdtCommunicationEvents (the child's callback, or a COM DTM
// toward a test's parent) for C++ callers. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "fdt/CommunicationInterfaces.h"

namespace zeb2hart::com {

class FdtCommunicationEventsProxy final : public fdt::IFdtCommunicationEvents, public Proxy<::IFdtCommunicationEvents> {
public:
    using Proxy::Proxy;

    void OnAbort(const std::string& communicationReference) override
    {
        checkResult(peer().OnAbort(Bstr(communicationReference).get()));
    }
    void OnConnectResponse(const std::string& invokeId, const std::string& response) override
    {
        checkResult(peer().OnConnectResponse(Bstr(invokeId).get(), Bstr(response).get()));
    }
    void OnDisconnectResponse(const std::string& invokeId, const std::string& response) override
    {
        checkResult(peer().OnDisconnectResponse(Bstr(invokeId).get(), Bstr(response).get()));
    }
    void OnTransactionResponse(const std::string& invokeId, const std::string& response) override
    {
        checkResult(peer().OnTransactionResponse(Bstr(invokeId).get(), Bstr(response).get()));
    }
};

} // namespace zeb2hart::com
