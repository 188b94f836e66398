#pragma once
// A COM DTM's IDtmParameter for C++ callers. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class DtmParameterProxy final : public fdt::IDtmParameter, public Proxy<::IDtmParameter> {
public:
    using Proxy::Proxy;

    std::string GetParameters(const std::string& parameterPath) override
    {
        return ask<std::string>([&](auto result) { return peer().GetParameters(Bstr(parameterPath).get(), result); });
    }
    bool SetParameters(const std::string& parameterPath, const std::string& fdtXmlDocument) override
    {
        return ask<bool>([&](auto result) {
            return peer().SetParameters(Bstr(parameterPath).get(), Bstr(fdtXmlDocument).get(), result);
        });
    }
};

} // namespace zeb2hart::com
