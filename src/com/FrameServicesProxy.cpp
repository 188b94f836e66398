#include "com/FrameServicesProxy.h"

#include <memory>

#include "com/Bstr.h"
#include "com/ErrorMapping.h"
#include "com/WorkItem.h"
#include "platform/ThreadState.h"
#include "support/Trace.h"

namespace zeb2hart::com {

namespace {

class FrameEventLoop final : public platform::EventLoop {
public:
    explicit FrameEventLoop(ComPtr<IZeb2hartFrameServices> frame) : m_frame(std::move(frame)) {}
    void post(Callback callback) override { checkResult(m_frame->Post(WorkItem::create(std::move(callback)).Get())); }
    TimerId startTimer(std::chrono::milliseconds delay, Callback callback) override
    {
        hyper timer = 0;
        checkResult(m_frame->StartTimer(static_cast<LONG>(delay.count()), WorkItem::create(std::move(callback)).Get(),
                                        &timer));
        return static_cast<TimerId>(timer);
    }
    void cancelTimer(TimerId id) override { checkResult(m_frame->CancelTimer(static_cast<hyper>(id))); }
    std::chrono::milliseconds now() const override
    {
        hyper milliseconds = 0;
        checkResult(m_frame->LoopTime(&milliseconds));
        return std::chrono::milliseconds(milliseconds);
    }

private:
    ComPtr<IZeb2hartFrameServices> m_frame;
};

class FrameClock final : public platform::Clock {
public:
    explicit FrameClock(ComPtr<IZeb2hartFrameServices> frame) : m_frame(std::move(frame)) {}
    std::tm localNow() const override
    {
        std::tm result{};
        LONG second = 0, minute = 0, hour = 0, day = 0, month = 0, year = 0, weekday = 0, yearDay = 0, dst = 0;
        checkResult(m_frame->LocalTime(&second, &minute, &hour, &day, &month, &year, &weekday, &yearDay, &dst));
        result.tm_sec = second;
        result.tm_min = minute;
        result.tm_hour = hour;
        result.tm_mday = day;
        result.tm_mon = month;
        result.tm_year = year;
        result.tm_wday = weekday;
        result.tm_yday = yearDay;
        result.tm_isdst = dst;
        return result;
    }
    Monotonic monotonicNow() const override
    {
        hyper nanoseconds = 0;
        checkResult(m_frame->MonotonicTime(&nanoseconds));
        return Monotonic(std::chrono::duration_cast<Monotonic::duration>(std::chrono::nanoseconds(nanoseconds)));
    }

private:
    ComPtr<IZeb2hartFrameServices> m_frame;
};

class FrameGuidSource final : public platform::GuidSource {
public:
    explicit FrameGuidSource(ComPtr<IZeb2hartFrameServices> frame) : m_frame(std::move(frame)) {}
    std::optional<fdt::Guid> newGuid() override
    {
        GUID id{};
        VARIANT_BOOL made = VARIANT_FALSE;
        checkResult(m_frame->NewGuid(&id, &made));
        return made ? std::optional<fdt::Guid>(fromGuid(id)) : std::nullopt;
    }

private:
    ComPtr<IZeb2hartFrameServices> m_frame;
};

class FrameDialogs final : public platform::MessageBox, public platform::FileDialog, public platform::Shell {
public:
    explicit FrameDialogs(ComPtr<IZeb2hartFrameServices> frame) : m_frame(std::move(frame)) {}
    void show(const std::string& text, Icon icon) override
    {
        checkResult(m_frame->ShowMessage(Bstr(text).get(), static_cast<LONG>(icon)));
    }
    std::optional<std::string> askSaveFileName(const std::string& filter, bool promptOverwrite) override
    {
        BSTR fileName = nullptr;
        VARIANT_BOOL chosen = VARIANT_FALSE;
        checkResult(m_frame->AskSaveFileName(Bstr(filter).get(), promptOverwrite ? VARIANT_TRUE : VARIANT_FALSE,
                                             &fileName, &chosen));
        std::string name = fromBstr(fileName);
        SysFreeString(fileName);
        return chosen ? std::optional<std::string>(std::move(name)) : std::nullopt;
    }
    void open(const std::string& address) override { checkResult(m_frame->OpenShell(Bstr(address).get())); }

private:
    ComPtr<IZeb2hartFrameServices> m_frame;
};

// The frame whose services are in force on a thread (platform::ThreadState).
struct InstalledFrame {
    std::unique_ptr<platform::ScopedServices> scope;
    bool withPages = false;
};

InstalledFrame& installed()
{
    return platform::ThreadState::current().part<InstalledFrame>();
}

} // namespace

platform::Services FrameServicesProxy::of(const ComPtr<IZeb2hartFrameServices>& frame,
                                          const std::filesystem::path& componentFolder)
{
    platform::Services services;
    services.componentFolder = componentFolder;
    services.eventLoop = std::make_shared<FrameEventLoop>(frame);
    services.clock = std::make_shared<FrameClock>(frame);
    services.guids = std::make_shared<FrameGuidSource>(frame);
    const auto dialogs = std::make_shared<FrameDialogs>(frame);
    services.messageBox = dialogs;
    services.fileDialog = dialogs;
    services.shell = dialogs;
    return services;
}

void FrameServicesProxy::install(const ComPtr<IZeb2hartFrameServices>& frame,
                                 const std::filesystem::path& componentFolder, bool withPages)
{
    InstalledFrame& current = installed();
    current.scope.reset();
    if (frame)
        current.scope = std::make_unique<platform::ScopedServices>(of(frame, componentFolder));
    current.withPages = frame && withPages;
    support::ResetTraceMode();
}

bool FrameServicesProxy::pagesOffered()
{
    const InstalledFrame& current = installed();
    return current.scope ? current.withPages : true;
}

} // namespace zeb2hart::com
