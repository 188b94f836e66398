#pragma once
// A COM monitor page for the DTM: the frame's page that shows the monitor
// lines. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "core/Pages.h"

namespace zeb2hart::com {

class MonitorPageProxy final : public core::IMonitorPage, public Proxy<::IZeb2hartMonitorPage> {
public:
    using Proxy::Proxy;

    void MessageLine(const std::string& textLine, std::int32_t color) override
    {
        callPeer([&] { return peer().MessageLine(Bstr(textLine).get(), color); });
    }
};

} // namespace zeb2hart::com
