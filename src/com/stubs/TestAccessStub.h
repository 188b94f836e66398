#pragma once
// The component's private IZeb2hartTestAccess on the DTM, for its tests and
// test frame: the DTM's state by name (core::DtmState), where its monitor
// messages and changed properties are reported, and the services DTMMain
// offers its pages. It holds the pages registered through it: DTMMain keeps
// only weak references to its pages, which their frame holds, but a page seen
// through COM is a proxy nobody else holds. Called on the apartment's thread.

#include "com/DispatchStub.h"
#include "com/FdtInterfaces.h"
#include "core/DTMMain.h"
#include "gateway/CountersJson.h"

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
    HRESULT STDMETHODCALLTYPE Report(IUnknown* reports) override;
    HRESULT STDMETHODCALLTYPE Set_Status() override
    {
        return run([&] { object().Set_Status(); });
    }
    HRESULT STDMETHODCALLTYPE GetDictionaryText(BSTR textId, BSTR* result) override
    {
        return answer(result, [&] { return object().GetDictionaryText(fromBstr(textId)); });
    }
    HRESULT STDMETHODCALLTYPE GetFramePointer(IUnknown** result) override
    {
        return answer(result, [&] { return ComObject::of(object().GetFramePointer()); });
    }
    HRESULT STDMETHODCALLTYPE OnInitControl(IUnknown** result) override
    {
        return answer(result, [&] { return ComObject::of(object().OnInitControl()); });
    }
    HRESULT STDMETHODCALLTYPE XMLHelpFolder(BSTR* result) override
    {
        return answer(result, [&] { return object().XMLHelpPointer().componentFolder().string(); });
    }
    HRESULT STDMETHODCALLTYPE CtlMonitorPointer(IUnknown* page) override;
    HRESULT STDMETHODCALLTYPE CtlOfflineParamPointer(IUnknown* page) override;
    HRESULT STDMETHODCALLTYPE CtlAboutPointer(IUnknown* page) override;
    HRESULT STDMETHODCALLTYPE PersistentParamChanged(BSTR paramName, BSTR newValue) override
    {
        return run([&] { object().PersistentParamChanged(fromBstr(paramName), fromBstr(newValue)); });
    }
    HRESULT STDMETHODCALLTYPE TranslateControl(BSTR prefix, BSTR name, VARIANT index, VARIANT_BOOL hasCaption,
                                               VARIANT* caption) override;
    HRESULT STDMETHODCALLTYPE Counters(BSTR* result) override
    {
        return answer(result, [&] { return gateway::countersJson(object().connectionCounters()); });
    }

private:
    fdt::ObjectPtr m_monitorPage;
    fdt::ObjectPtr m_offlineParamPage;
    fdt::ObjectPtr m_aboutPage;
};

} // namespace zeb2hart::com
