#pragma once
// A COM channel list's IFdtChannelCollection for C++ callers. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "com/ScopedVariant.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class FdtChannelCollectionProxy final : public fdt::IFdtChannelCollection, public Proxy<::IFdtChannelCollection> {
public:
    using Proxy::Proxy;

    fdt::ObjectPtr Item(std::int32_t index) override { return item(fdt::Variant(index)); }
    fdt::ObjectPtr Item(const std::string& key) override { return item(fdt::Variant(key)); }
    std::int32_t Count() override
    {
        return ask<std::int32_t>([&](auto result) { return peer().get_Count(result); });
    }

private:
    fdt::ObjectPtr item(const fdt::Variant& index) const
    {
        ScopedVariant argument(index);
        const auto found = ask<ComPtr<::IFdtChannel>>([&](auto result) { return peer().get_Item(argument.get(), result); });
        return Peer::wrap(found.Get());
    }
};

} // namespace zeb2hart::com
