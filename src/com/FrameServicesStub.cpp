#include "com/FrameServicesStub.h"

#include "com/ErrorMapping.h"
#include "com/Values.h"
#include "fdt/Errors.h"

namespace zeb2hart::com {

namespace {

const IID& kIid = __uuidof(IZeb2hartFrameServices);

// The work as the frame's loop runs it: a failure of the component's work is thrown on.
platform::EventLoop::Callback runner(IZeb2hartWork* work)
{
    if (!work)
        throw fdt::NullObjectError("no work to run");
    return [item = ComPtr<IZeb2hartWork>(work)] { checkResult(item->Run()); };
}

} // namespace

ComPtr<IZeb2hartFrameServices> FrameServicesStub::create(platform::Services services)
{
    return new FrameServicesStub(std::move(services));
}

HRESULT STDMETHODCALLTYPE FrameServicesStub::Post(IZeb2hartWork* work)
{
    return guarded(kIid, [&] { m_services.eventLoop->post(runner(work)); });
}

HRESULT STDMETHODCALLTYPE FrameServicesStub::StartTimer(LONG delayMilliseconds, IZeb2hartWork* work, hyper* timer)
{
    if (!timer)
        return E_POINTER;
    return guarded(kIid, [&] {
        *timer = static_cast<hyper>(
            m_services.eventLoop->startTimer(std::chrono::milliseconds(delayMilliseconds), runner(work)));
    });
}

HRESULT STDMETHODCALLTYPE FrameServicesStub::CancelTimer(hyper timer)
{
    return guarded(kIid, [&] { m_services.eventLoop->cancelTimer(static_cast<platform::EventLoop::TimerId>(timer)); });
}

HRESULT STDMETHODCALLTYPE FrameServicesStub::LoopTime(hyper* milliseconds)
{
    if (!milliseconds)
        return E_POINTER;
    return guarded(kIid, [&] { *milliseconds = m_services.eventLoop->now().count(); });
}

HRESULT STDMETHODCALLTYPE FrameServicesStub::LocalTime(LONG* second, LONG* minute, LONG* hour, LONG* day, LONG* month,
                                                       LONG* year, LONG* weekday, LONG* yearDay, LONG* daylightSaving)
{
    LONG* const fields[] = {second, minute, hour, day, month, year, weekday, yearDay, daylightSaving};
    for (LONG* field : fields) {
        if (!field)
            return E_POINTER;
    }
    return guarded(kIid, [&] {
        const std::tm local = m_services.clock->localNow();
        const int values[] = {local.tm_sec,  local.tm_min,  local.tm_hour, local.tm_mday, local.tm_mon,
                              local.tm_year, local.tm_wday, local.tm_yday, local.tm_isdst};
        for (std::size_t i = 0; i < std::size(fields); ++i)
            *fields[i] = values[i];
    });
}

HRESULT STDMETHODCALLTYPE FrameServicesStub::MonotonicTime(hyper* nanoseconds)
{
    if (!nanoseconds)
        return E_POINTER;
    return guarded(kIid, [&] {
        *nanoseconds =
            std::chrono::duration_cast<std::chrono::nanoseconds>(m_services.clock->monotonicNow().time_since_epoch())
                .count();
    });
}

HRESULT STDMETHODCALLTYPE FrameServicesStub::NewGuid(GUID* id, VARIANT_BOOL* made)
{
    if (!id || !made)
        return E_POINTER;
    return guarded(kIid, [&] {
        const std::optional<fdt::Guid> guid = m_services.guids->newGuid();
        *id = guid ? toGuid(*guid) : GUID{};
        *made = guid ? VARIANT_TRUE : VARIANT_FALSE;
    });
}

HRESULT STDMETHODCALLTYPE FrameServicesStub::ShowMessage(BSTR text, LONG icon)
{
    return guarded(kIid, [&] {
        if (icon < 0 || icon > 2)
            throw fdt::OverflowError("no message box icon " + std::to_string(icon));
        m_services.messageBox->show(fromBstr(text), static_cast<platform::MessageBox::Icon>(icon));
    });
}

HRESULT STDMETHODCALLTYPE FrameServicesStub::AskSaveFileName(BSTR filter, VARIANT_BOOL promptOverwrite, BSTR* fileName,
                                                             VARIANT_BOOL* chosen)
{
    if (!fileName || !chosen)
        return E_POINTER;
    *fileName = nullptr;
    return guarded(kIid, [&] {
        const std::optional<std::string> answer =
            m_services.fileDialog->askSaveFileName(fromBstr(filter), promptOverwrite != VARIANT_FALSE);
        *fileName = answer ? toBstr(*answer) : nullptr;
        *chosen = answer ? VARIANT_TRUE : VARIANT_FALSE;
    });
}

HRESULT STDMETHODCALLTYPE FrameServicesStub::OpenShell(BSTR address)
{
    return guarded(kIid, [&] { m_services.shell->open(fromBstr(address)); });
}

} // namespace zeb2hart::com
