#pragma once
// Stateful fakes for driving DTMMain as a frame does: a recording frame (its
// container object with the frame event interface and the marker interface,
// and variants lacking one of them), recording pages, a recording persistence
// site and controls for TranslateControls. The peers of the communication
// (parent and child) are those of the gateway tests.

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/DTMMain.h"
#include "core/Pages.h"
#include "fdt/FrameInterfaces.h"

namespace zeb2hart::test {

// One call the component made on a fake, with its arguments as text.
struct Call {
    std::string name;
    std::vector<std::string> args;
    friend bool operator==(const Call&, const Call&) = default;
};

// Calls of several fakes in the order they happened.
using CallLog = std::shared_ptr<std::vector<std::string>>;

inline CallLog makeCallLog()
{
    return std::make_shared<std::vector<std::string>>();
}

// The frame's container interface; answers the folder of the frame's schemas.
class RecordingContainer : public virtual fdt::IFdtContainer {
public:
    bool SaveRequest(const std::string& systemTag) override { return record("SaveRequest", systemTag); }
    bool LockDataSet(const std::string& systemTag) override { return record("LockDataSet", systemTag); }
    bool UnlockDataSet(const std::string& systemTag) override { return record("UnlockDataSet", systemTag); }
    std::string GetXmlSchemaPath() override
    {
        containerCalls.push_back({"GetXmlSchemaPath", {}});
        return schemaPath;
    }

    std::string schemaPath;
    std::vector<Call> containerCalls;

private:
    bool record(const char* name, const std::string& systemTag)
    {
        containerCalls.push_back({name, {systemTag}});
        return true;
    }
};

// The frame event interface; every notification is recorded.
class RecordingFrameEvents : public virtual fdt::IDtmEvents {
public:
    using Text = const std::string&;
    void OnParameterChanged(Text tag, Text parameter) override { add("OnParameterChanged", {tag, parameter}); }
    void OnErrorMessage(Text tag, Text errorMessage) override { add("OnErrorMessage", {tag, errorMessage}); }
    void OnProgress(Text tag, Text title, std::int16_t percent, bool show) override
    {
        add("OnProgress", {tag, title, std::to_string(percent), word(show)});
    }
    void OnUploadFinished(Text id, bool success) override { add("OnUploadFinished", {id, word(success)}); }
    void OnDownloadFinished(Text id, bool success) override { add("OnDownloadFinished", {id, word(success)}); }
    void OnApplicationClosed(Text invokeId) override { add("OnApplicationClosed", {invokeId}); }
    void OnFunctionChanged(Text tag) override { add("OnFunctionChanged", {tag}); }
    void OnChannelFunctionChanged(Text tag, Text path) override { add("OnChannelFunctionChanged", {tag, path}); }
    void OnPrint(Text tag, Text functionCall) override { add("OnPrint", {tag, functionCall}); }
    void OnNavigation(Text tag) override { add("OnNavigation", {tag}); }
    void OnOnlineStateChanged(Text tag, Text onlineState) override { add("OnOnlineStateChanged", {tag, onlineState}); }
    void OnPreparedToRelease(Text tag) override { add("OnPreparedToRelease", {tag}); }
    void OnPreparedToReleaseCommunication(Text tag) override { add("OnPreparedToReleaseCommunication", {tag}); }
    void OnInvokedFunctionFinished(Text invokeId, bool success) override
    {
        add("OnInvokedFunctionFinished", {invokeId, word(success)});
    }
    void OnScanResponse(Text invokeId, Text response) override { add("OnScanResponse", {invokeId, response}); }

    std::vector<Call> events;

private:
    static std::string word(bool value) { return value ? "true" : "false"; }
    void add(const char* name, std::vector<std::string> args) { events.push_back({name, std::move(args)}); }
};

// A frame's container object as IDtm::Environment expects it.
class RecordingFrame final : public RecordingContainer, public RecordingFrameEvents, public fdt::IFdt_036D147A {};

// A container without the frame event interface.
class FrameWithoutEvents final : public RecordingContainer, public fdt::IFdt_036D147A {};

// A container without the interface {036D147A-...}.
class FrameWithoutMarker final : public RecordingContainer, public RecordingFrameEvents {};

// An object offering the marker and the events but not the container interface.
class FrameWithoutContainer final : public RecordingFrameEvents, public fdt::IFdt_036D147A {};

// An object that offers no interface at all.
class PlainObject final : public virtual fdt::Object {};

// A page's language interface: counts the updates and logs the page's name.
class RecordingLanguage : public virtual core::IActiveXGUI {
public:
    RecordingLanguage(std::string name, CallLog log) : m_name(std::move(name)), m_log(std::move(log)) {}
    void UpdateLanguage() override
    {
        ++languageUpdates;
        m_log->push_back(m_name);
    }
    int languageUpdates = 0;

private:
    std::string m_name;
    CallLog m_log;
};

// The communication monitor page as DTMMain sees it.
class RecordingMonitorPage final : public core::IMonitorPage, public RecordingLanguage {
public:
    explicit RecordingMonitorPage(CallLog log = makeCallLog()) : RecordingLanguage("monitor", std::move(log)) {}
    struct Line {
        std::string text;
        std::int32_t color;
        friend bool operator==(const Line&, const Line&) = default;
    };
    void MessageLine(const std::string& textLine, std::int32_t color) override { lines.push_back({textLine, color}); }
    std::vector<Line> lines;
};

// The offline parameter page as DTMMain sees it.
class RecordingOfflinePage final : public core::IOfflineParamPage, public RecordingLanguage {
public:
    explicit RecordingOfflinePage(CallLog log = makeCallLog()) : RecordingLanguage("offline", std::move(log)) {}
    struct Status {
        fdt::Variant value;
        std::string text;
    };
    void SetParameterStatus(const fdt::Variant& newValue, const std::string& statusText) override
    {
        statuses.push_back({newValue, statusText});
    }
    std::vector<Status> statuses;
};

// The about page: only the language interface.
class RecordingAboutPage final : public RecordingLanguage {
public:
    explicit RecordingAboutPage(CallLog log = makeCallLog()) : RecordingLanguage("about", std::move(log)) {}
};

// A page whose translation fails.
class FailingPage final : public core::IActiveXGUI {
public:
    void UpdateLanguage() override
    {
        ++attempts;
        throw std::runtime_error("page cannot translate");
    }
    int attempts = 0;
};

class RecordingPersistenceSite final : public core::PersistenceSite {
public:
    void PropertyChanged(const std::string& propertyName) override { changed.push_back(propertyName); }
    std::vector<std::string> changed;
};

// One child control of a page for TranslateControls.
class FakeControl final : public core::Control {
public:
    FakeControl(std::string name, std::optional<int> index = std::nullopt, bool hasCaption = true)
        : m_name(std::move(name)), m_index(index), m_hasCaption(hasCaption)
    {
    }
    std::string name() const override
    {
        if (nameFails)
            throw std::runtime_error("the name cannot be read");
        return m_name;
    }
    std::optional<int> index() const override { return m_index; }
    bool hasCaption() const override { return m_hasCaption; }
    void setCaption(const std::string& text) override
    {
        if (!m_hasCaption)
            throw std::runtime_error("the control has no caption");
        caption = text;
        ++captionWrites;
    }

    std::string caption = "design caption";
    int captionWrites = 0;
    bool nameFails = false;

private:
    std::string m_name;
    std::optional<int> m_index;
    bool m_hasCaption;
};

} // namespace zeb2hart::test
