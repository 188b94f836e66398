#pragma once
// A COM channel's IFdtChannelSubTopology for C++ callers. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class FdtChannelSubTopologyProxy final : public fdt::IFdtChannelSubTopology, public Proxy<::IFdtChannelSubTopology> {
public:
    using Proxy::Proxy;

    bool ScanRequest(const std::string& invokeId) override
    {
        return ask<bool>([&](auto result) { return peer().ScanRequest(Bstr(invokeId).get(), result); });
    }
    bool ValidateAddChild(const std::string& childSystemTag) override
    {
        return ask<bool>([&](auto result) { return peer().ValidateAddChild(Bstr(childSystemTag).get(), result); });
    }
    bool ValidateRemoveChild(const std::string& childSystemTag) override
    {
        return ask<bool>([&](auto result) { return peer().ValidateRemoveChild(Bstr(childSystemTag).get(), result); });
    }
    void OnAddChild(const std::string& childSystemTag) override
    {
        checkResult(peer().OnAddChild(Bstr(childSystemTag).get()));
    }
    void OnRemoveChild(const std::string& childSystemTag) override
    {
        checkResult(peer().OnRemoveChild(Bstr(childSystemTag).get()));
    }
};

} // namespace zeb2hart::com
