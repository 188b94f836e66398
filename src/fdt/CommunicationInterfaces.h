#pragma once
// The FDT 1.2 communication interfaces: a channel's IFdtCommunication and the
// IFdtCommunicationEvents callback through which its answers come back.

#include <memory>
#include <string>

#include "fdt/Object.h"

namespace zeb2hart::fdt {

// {036D1485-387B-11D4-86E1-00E0987270B9}
class IFdtCommunicationEvents : public virtual Object {
public:
    virtual void OnAbort(const std::string& communicationReference) = 0;
    virtual void OnConnectResponse(const std::string& invokeId, const std::string& response) = 0;
    virtual void OnDisconnectResponse(const std::string& invokeId, const std::string& response) = 0;
    virtual void OnTransactionResponse(const std::string& invokeId, const std::string& response) = 0;
};

// {039ECFC4-9CA8-44E6-944D-B37F288A34D8}
class IFdtCommunication : public virtual Object {
public:
    virtual void Abort(const std::string& fieldbusFrame) = 0;
    virtual bool ConnectRequest(const std::shared_ptr<IFdtCommunicationEvents>& callback,
                                const std::string& invokeId, const std::string& protocolId,
                                const std::string& fieldbusFrame) = 0;
    virtual bool DisconnectRequest(const std::string& invokeId, const std::string& fieldbusFrame) = 0;
    virtual bool TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame) = 0;
    virtual std::string GetSupportedProtocols() = 0;
    virtual bool SequenceBegin(const std::string& fieldbusFrame) = 0;
    virtual bool SequenceStart(const std::string& fieldbusFrame) = 0;
    virtual bool SequenceEnd(const std::string& fieldbusFrame) = 0;
};

} // namespace zeb2hart::fdt
