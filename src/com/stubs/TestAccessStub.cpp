#include "com/stubs/TestAccessStub.h"

#include <optional>

#include "com/Bstr.h"
#include "com/ComPtr.h"
#include "com/Peer.h"
#include "core/DtmState.h"
#include "core/NamedControl.h"

namespace zeb2hart::com {

namespace {

class ReportedPersistenceSite final : public core::PersistenceSite {
public:
    explicit ReportedPersistenceSite(ComPtr<IZeb2hartReports> reports) : m_reports(std::move(reports)) {}
    void PropertyChanged(const std::string& propertyName) override
    {
        checkResult(m_reports->PropertyChanged(Bstr(propertyName).get()));
    }

private:
    ComPtr<IZeb2hartReports> m_reports;
};

} // namespace

HRESULT STDMETHODCALLTYPE TestAccessStub::GetProperty(BSTR name, VARIANT* result)
{
    return answer(result, [&] { return core::DtmState::read(object(), fromBstr(name)); });
}

HRESULT STDMETHODCALLTYPE TestAccessStub::SetProperty(BSTR name, VARIANT value)
{
    return run([&] { core::DtmState::write(object(), fromBstr(name), fromVariant(value)); });
}

HRESULT STDMETHODCALLTYPE TestAccessStub::Report(IUnknown* reports)
{
    return run([&] {
        ComPtr<IZeb2hartReports> target;
        if (reports)
            checkResult(reports->QueryInterface(__uuidof(IZeb2hartReports), reinterpret_cast<void**>(target.GetAddressOf())));
        if (!target) {
            object().setMonitorObserver(nullptr);
            object().setPersistenceSite(nullptr);
            return;
        }
        object().setMonitorObserver([target](const std::string& functionName, const std::string& message,
                                             std::int32_t lineColor, std::int16_t filter) {
            checkResult(target->MonitorLine(Bstr(functionName).get(), Bstr(message).get(), lineColor, filter));
        });
        object().setPersistenceSite(std::make_shared<ReportedPersistenceSite>(target));
    });
}

HRESULT STDMETHODCALLTYPE TestAccessStub::CtlMonitorPointer(IUnknown* page)
{
    return run([&] {
        m_monitorPage = Peer::wrap(page);
        object().CtlMonitorPointer(m_monitorPage);
    });
}

HRESULT STDMETHODCALLTYPE TestAccessStub::CtlOfflineParamPointer(IUnknown* page)
{
    return run([&] {
        m_offlineParamPage = Peer::wrap(page);
        object().CtlOfflineParamPointer(m_offlineParamPage);
    });
}

HRESULT STDMETHODCALLTYPE TestAccessStub::CtlAboutPointer(IUnknown* page)
{
    return run([&] {
        m_aboutPage = Peer::wrap(page);
        object().CtlAboutPointer(m_aboutPage);
    });
}

HRESULT STDMETHODCALLTYPE TestAccessStub::TranslateControl(BSTR prefix, BSTR name, VARIANT index,
                                                           VARIANT_BOOL hasCaption, VARIANT* caption)
{
    return answer(caption, [&] {
        const fdt::Variant number = fromVariant(index);
        std::optional<int> position;
        if (!number.isEmpty())
            position = number.as<std::int32_t>();
        core::NamedControl control(fromBstr(name), position, hasCaption != VARIANT_FALSE);
        object().TranslateControls(fromBstr(prefix), {&control});
        return control.caption() ? fdt::Variant(*control.caption()) : fdt::Variant();
    });
}

} // namespace zeb2hart::com
