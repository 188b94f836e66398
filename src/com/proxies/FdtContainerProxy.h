#pragma once
// The COM frame's IFdtContainer for the DTM. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "fdt/FrameInterfaces.h"

namespace zeb2hart::com {

class FdtContainerProxy final : public fdt::IFdtContainer, public Proxy<::IFdtContainer> {
public:
    using Proxy::Proxy;

    bool SaveRequest(const std::string& systemTag) override
    {
        return ask<bool>([&](auto result) { return peer().SaveRequest(Bstr(systemTag).get(), result); });
    }
    bool LockDataSet(const std::string& systemTag) override
    {
        return ask<bool>([&](auto result) { return peer().LockDataSet(Bstr(systemTag).get(), result); });
    }
    bool UnlockDataSet(const std::string& systemTag) override
    {
        return ask<bool>([&](auto result) { return peer().UnlockDataSet(Bstr(systemTag).get(), result); });
    }
    std::string GetXmlSchemaPath() override
    {
        return ask<std::string>([&](auto result) { return peer().GetXmlSchemaPath(result); });
    }
};

} // namespace zeb2hart::com
