#pragma once
// A COM DTM's IDtmChannel for C++ callers: the channel list comes back as a
// collection proxy. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class DtmChannelProxy final : public fdt::IDtmChannel, public Proxy<::IDtmChannel> {
public:
    using Proxy::Proxy;

    std::shared_ptr<fdt::IFdtChannelCollection> GetChannels() override
    {
        const auto channels = ask<ComPtr<::IFdtChannelCollection>>([&](auto result) { return peer().GetChannels(result); });
        return Peer::wrapAs<fdt::IFdtChannelCollection>(channels.Get());
    }
};

} // namespace zeb2hart::com
