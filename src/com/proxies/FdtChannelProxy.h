#pragma once
// A COM channel's IFdtChannel for C++ callers. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class FdtChannelProxy final : public fdt::IFdtChannel, public Proxy<::IFdtChannel> {
public:
    using Proxy::Proxy;

    std::string GetChannelPath() override
    {
        return ask<std::string>([&](auto result) { return peer().GetChannelPath(result); });
    }
    std::string GetChannelParameters(const std::string& parameterPath, const std::string& protocolId) override
    {
        return ask<std::string>([&](auto result) {
            return peer().GetChannelParameters(Bstr(parameterPath).get(), Bstr(protocolId).get(), result);
        });
    }
    bool SetChannelParameters(const std::string& parameterPath, const std::string& protocolId,
                              const std::string& xmlDocument) override
    {
        return ask<bool>([&](auto result) {
            return peer().SetChannelParameters(Bstr(parameterPath).get(), Bstr(protocolId).get(),
                                               Bstr(xmlDocument).get(), result);
        });
    }
};

} // namespace zeb2hart::com
