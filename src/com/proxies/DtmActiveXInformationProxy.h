#pragma once
// A COM DTM's IDtmActiveXInformation for C++ callers. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class DtmActiveXInformationProxy final : public fdt::IDtmActiveXInformation, public Proxy<::IDtmActiveXInformation> {
public:
    using Proxy::Proxy;

    std::string GetActiveXGuid(const std::string& functionCall) override
    {
        return ask<std::string>([&](auto result) { return peer().GetActiveXGuid(Bstr(functionCall).get(), result); });
    }
    std::string GetActiveXProgId(const std::string& functionCall) override
    {
        return ask<std::string>([&](auto result) { return peer().GetActiveXProgId(Bstr(functionCall).get(), result); });
    }
};

} // namespace zeb2hart::com
