#pragma once
// A COM object's IFdtCommunication (the parent DTM's channel, or a COM DTM
// toward a test's child) for C++ callers. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "fdt/CommunicationInterfaces.h"

namespace zeb2hart::com {

class FdtCommunicationProxy final : public fdt::IFdtCommunication, public Proxy<::IFdtCommunication> {
public:
    using Proxy::Proxy;

    void Abort(const std::string& fieldbusFrame) override { checkResult(peer().Abort(Bstr(fieldbusFrame).get())); }
    bool ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>& callback, const std::string& invokeId,
                        const std::string& protocolId, const std::string& fieldbusFrame) override
    {
        return ask<bool>([&](auto result) {
            return peer().ConnectRequest(ComObject::as<::IFdtCommunicationEvents>(callback).Get(), Bstr(invokeId).get(),
                                         Bstr(protocolId).get(), Bstr(fieldbusFrame).get(), result);
        });
    }
    bool DisconnectRequest(const std::string& invokeId, const std::string& fieldbusFrame) override
    {
        return ask<bool>([&](auto result) {
            return peer().DisconnectRequest(Bstr(invokeId).get(), Bstr(fieldbusFrame).get(), result);
        });
    }
    bool TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame) override
    {
        return ask<bool>([&](auto result) {
            return peer().TransactionRequest(Bstr(invokeId).get(), Bstr(fieldbusFrame).get(), result);
        });
    }
    std::string GetSupportedProtocols() override
    {
        return ask<std::string>([&](auto result) { return peer().GetSupportedProtocols(result); });
    }
    bool SequenceBegin(const std::string& fieldbusFrame) override
    {
        return ask<bool>([&](auto result) { return peer().SequenceBegin(Bstr(fieldbusFrame).get(), result); });
    }
    bool SequenceStart(const std::string& fieldbusFrame) override
    {
        return ask<bool>([&](auto result) { return peer().SequenceStart(Bstr(fieldbusFrame).get(), result); });
    }
    bool SequenceEnd(const std::string& fieldbusFrame) override
    {
        return ask<bool>([&](auto result) { return peer().SequenceEnd(Bstr(fieldbusFrame).get(), result); });
    }
};

} // namespace zeb2hart::com
