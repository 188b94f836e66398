#pragma once
// A COM DTM's IDtm for C++ callers (a test frame). Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "fdt/CommunicationInterfaces.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class DtmProxy final : public fdt::IDtm, public Proxy<::IDtm> {
public:
    using Proxy::Proxy;

    bool Environment(const std::string& systemTag, const fdt::ObjectPtr& container) override
    {
        return ask<bool>([&](auto result) {
            return peer().Environment(Bstr(systemTag).get(), ComObject::as<IDispatch>(container).Get(), result);
        });
    }
    bool InitNew(const std::string& deviceType) override
    {
        return ask<bool>([&](auto result) { return peer().InitNew(Bstr(deviceType).get(), result); });
    }
    bool Config(const std::string& userInfo) override
    {
        return ask<bool>([&](auto result) { return peer().Config(Bstr(userInfo).get(), result); });
    }
    bool SetCommunication(const std::shared_ptr<fdt::IFdtCommunication>& communication) override
    {
        return ask<bool>([&](auto result) {
            return peer().SetCommunication(ComObject::as<::IFdtCommunication>(communication).Get(), result);
        });
    }
    bool PrepareToRelease() override
    {
        return ask<bool>([&](auto result) { return peer().PrepareToRelease(result); });
    }
    bool PrepareToReleaseCommunication() override
    {
        return ask<bool>([&](auto result) { return peer().PrepareToReleaseCommunication(result); });
    }
    bool ReleaseCommunication() override
    {
        return ask<bool>([&](auto result) { return peer().ReleaseCommunication(result); });
    }
    bool PrepareToDelete() override
    {
        return ask<bool>([&](auto result) { return peer().PrepareToDelete(result); });
    }
    bool SetLanguage(std::int32_t languageId) override
    {
        return ask<bool>([&](auto result) { return peer().SetLanguage(languageId, result); });
    }
    std::string GetFunctions(const std::string& operationState) override
    {
        return ask<std::string>([&](auto result) { return peer().GetFunctions(Bstr(operationState).get(), result); });
    }
    bool InvokeFunctionRequest(const std::string& invokeId, const std::string& functionCall) override
    {
        return ask<bool>([&](auto result) {
            return peer().InvokeFunctionRequest(Bstr(invokeId).get(), Bstr(functionCall).get(), result);
        });
    }
    bool PrivateDialogEnabled(bool enabled) override
    {
        return ask<bool>([&](auto result) {
            return peer().PrivateDialogEnabled(ComValue<bool>::to(enabled), result);
        });
    }
};

} // namespace zeb2hart::com
