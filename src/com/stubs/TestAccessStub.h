#pragma once
// The component's private IZeb2hartTestAccess on the DTM, for its tests and
// test frame: the persisted properties by bag key, CommStatus, StatusText and
// PresistentTrace; a monitor line. Called on the apartment's thread.

#include "com/DispatchStub.h"
#include "com/FdtInterfaces.h"
#include "core/DTMMain.h"

namespace zeb2hart::com {

class TestAccessStub final : public DispatchStub<::IZeb2hartTestAccess, core::DTMMain> {
public:
    using DispatchStub::DispatchStub;

    HRESULT STDMETHODCALLTYPE GetProperty(BSTR name, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE SetProperty(BSTR name, VARIANT value) override;
    HRESULT STDMETHODCALLTYPE MonitorMsg(BSTR functionName, BSTR message, LONG lineColor, SHORT filter) override
    {
        return run([&] { object().MonitorMsg(fromBstr(functionName), fromBstr(message), lineColor, filter); });
    }
    HRESULT STDMETHODCALLTYPE get_StatusText(BSTR* result) override
    {
        return answer(result, [&] { return object().StatusText(); });
    }
};

} // namespace zeb2hart::com
