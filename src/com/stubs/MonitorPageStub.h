#pragma once
// The monitor page of a C++ frame (its headless page) for COM callers: the
// lines the DTM in the DLL shows. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Stub.h"
#include "core/Pages.h"

namespace zeb2hart::com {

class MonitorPageStub final : public Stub<::IZeb2hartMonitorPage, core::IMonitorPage> {
public:
    using Stub::Stub;

    HRESULT STDMETHODCALLTYPE MessageLine(BSTR textLine, LONG color) override
    {
        return run([&] { object().MessageLine(fromBstr(textLine), color); });
    }
};

} // namespace zeb2hart::com
