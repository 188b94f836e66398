#pragma once
// The FDT 1.2 communication interfaces: a channel's IFdtCommunication and the
// IFdtCommunicationEvents callback through which its answers come back.

#include <memory>
#include <string>

#include "Export.h"
#include "Object.h"

namespace zeb2hart::fdt {

class ZEB2HART_API IFdtCommunicationEvents : public virtual Object {
public:
    static constexpr Guid kIid{0x036D1485, 0x387B, 0x11D4, {0x86, 0xE1, 0x00, 0xE0, 0x98, 0x72, 0x70, 0xB9}};
    virtual void OnAbort(const std::string& communicationReference) = 0;
    virtual void OnConnectResponse(const std::string& invokeId, const std::string& response) = 0;
    virtual void OnDisconnectResponse(const std::string& invokeId, const std::string& response) = 0;
    virtual void OnTransactionResponse(const std::string& invokeId, const std::string& response) = 0;
};

class ZEB2HART_API IFdtCommunication : public virtual Object {
public:
    static constexpr Guid kIid{0x039ECFC4, 0x9CA8, 0x44E6, {0x94, 0x4D, 0xB3, 0x7F, 0x28, 0x8A, 0x34, 0xD8}};
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
