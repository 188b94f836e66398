#pragma once
// A frame's platform services as IZeb2hartFrameServices, lent to a DTM in a
// DLL (IZeb2hartTestServices::UseFrameServices): the work it posts and its
// timers run on the frame's event loop, and it reads the frame's clock, GUIDs
// and dialogs. Made and called on the apartment's thread.

#include "com/ComPtr.h"
#include "com/FdtInterfaces.h"
#include "com/SimpleObject.h"
#include "platform/Services.h"

namespace zeb2hart::com {

class FrameServicesStub final : public SimpleObject<IZeb2hartFrameServices> {
public:
    static ComPtr<IZeb2hartFrameServices> create(platform::Services services);

    HRESULT STDMETHODCALLTYPE Post(IZeb2hartWork* work) override;
    HRESULT STDMETHODCALLTYPE StartTimer(LONG delayMilliseconds, IZeb2hartWork* work, hyper* timer) override;
    HRESULT STDMETHODCALLTYPE CancelTimer(hyper timer) override;
    HRESULT STDMETHODCALLTYPE LoopTime(hyper* milliseconds) override;
    HRESULT STDMETHODCALLTYPE LocalTime(LONG* second, LONG* minute, LONG* hour, LONG* day, LONG* month, LONG* year,
                                        LONG* weekday, LONG* yearDay, LONG* daylightSaving) override;
    HRESULT STDMETHODCALLTYPE MonotonicTime(hyper* nanoseconds) override;
    HRESULT STDMETHODCALLTYPE NewGuid(GUID* id, VARIANT_BOOL* made) override;
    HRESULT STDMETHODCALLTYPE ShowMessage(BSTR text, LONG icon) override;
    HRESULT STDMETHODCALLTYPE AskSaveFileName(BSTR filter, VARIANT_BOOL promptOverwrite, BSTR* fileName,
                                              VARIANT_BOOL* chosen) override;
    HRESULT STDMETHODCALLTYPE OpenShell(BSTR address) override;

private:
    explicit FrameServicesStub(platform::Services services) : m_services(std::move(services)) {}
    platform::Services m_services;
};

} // namespace zeb2hart::com
