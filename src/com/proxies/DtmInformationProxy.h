#pragma once
// A COM DTM's IDtmInformation for C++ callers. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class DtmInformationProxy final : public fdt::IDtmInformation, public Proxy<::IDtmInformation> {
public:
    using Proxy::Proxy;

    std::string GetInformation() override
    {
        return ask<std::string>([&](auto result) { return peer().GetInformation(result); });
    }
};

} // namespace zeb2hart::com
