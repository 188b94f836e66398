#pragma once
// A COM offline parameter page for the DTM: the frame's page that shows the
// parameter status. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "com/ScopedVariant.h"
#include "core/Pages.h"

namespace zeb2hart::com {

class OfflineParamPageProxy final : public core::IOfflineParamPage, public Proxy<::IZeb2hartOfflineParamPage> {
public:
    using Proxy::Proxy;

    void SetParameterStatus(const fdt::Variant& newValue, const std::string& statusText) override
    {
        ScopedVariant value(newValue);
        callPeer([&] { return peer().SetParameterStatus(value.value(), Bstr(statusText).get()); });
    }
};

} // namespace zeb2hart::com
