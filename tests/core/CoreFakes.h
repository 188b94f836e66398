#pragma once
// Stateful fakes for driving DTMMain as a frame does: a recording frame (its
// container object with the frame event interface and the marker interface,
// and variants lacking one of them), recording pages, a recording persistence
// site, a recording parent and controls for TranslateControls.

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/DTMMain.h"
#include "core/Pages.h"
#include "fdt/CommunicationInterfaces.h"
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
    bool SaveRequest(const std::string& systemTag) override
    {
        containerCalls.push_back({"SaveRequest", {systemTag}});
        return true;
    }
    bool LockDataSet(const std::string& systemTag) override
    {
        containerCalls.push_back({"LockDataSet", {systemTag}});
        return true;
    }
    bool UnlockDataSet(const std::string& systemTag) override
    {
        containerCalls.push_back({"UnlockDataSet", {systemTag}});
        return true;
    }
    std::string GetXmlSchemaPath() override
    {
        containerCalls.push_back({"GetXmlSchemaPath", {}});
        return schemaPath;
    }

    std::string schemaPath;
    std::vector<Call> containerCalls;
};

// The frame event interface; every notification is recorded.
class RecordingFrameEvents : public virtual fdt::IDtmEvents {
public:
    void OnParameterChanged(const std::string& systemTag, const std::string& parameter) override
    {
        events.push_back({"OnParameterChanged", {systemTag, parameter}});
    }
    void OnErrorMessage(const std::string& systemTag, const std::string& errorMessage) override
    {
        events.push_back({"OnErrorMessage", {systemTag, errorMessage}});
    }
    void OnProgress(const std::string& systemTag, const std::string& title, std::int16_t percent, bool show) override
    {
        events.push_back({"OnProgress", {systemTag, title, std::to_string(percent), show ? "true" : "false"}});
    }
    void OnUploadFinished(const std::string& invokeId, bool success) override
    {
        events.push_back({"OnUploadFinished", {invokeId, success ? "true" : "false"}});
    }
    void OnDownloadFinished(const std::string& invokeId, bool success) override
    {
        events.push_back({"OnDownloadFinished", {invokeId, success ? "true" : "false"}});
    }
    void OnApplicationClosed(const std::string& invokeId) override
    {
        events.push_back({"OnApplicationClosed", {invokeId}});
    }
    void OnFunctionChanged(const std::string& systemTag) override
    {
        events.push_back({"OnFunctionChanged", {systemTag}});
    }
    void OnChannelFunctionChanged(const std::string& systemTag, const std::string& channelPath) override
    {
        events.push_back({"OnChannelFunctionChanged", {systemTag, channelPath}});
    }
    void OnPrint(const std::string& systemTag, const std::string& functionCall) override
    {
        events.push_back({"OnPrint", {systemTag, functionCall}});
    }
    void OnNavigation(const std::string& systemTag) override { events.push_back({"OnNavigation", {systemTag}}); }
    void OnOnlineStateChanged(const std::string& systemTag, const std::string& onlineState) override
    {
        events.push_back({"OnOnlineStateChanged", {systemTag, onlineState}});
    }
    void OnPreparedToRelease(const std::string& systemTag) override
    {
        events.push_back({"OnPreparedToRelease", {systemTag}});
    }
    void OnPreparedToReleaseCommunication(const std::string& systemTag) override
    {
        events.push_back({"OnPreparedToReleaseCommunication", {systemTag}});
    }
    void OnInvokedFunctionFinished(const std::string& invokeId, bool success) override
    {
        events.push_back({"OnInvokedFunctionFinished", {invokeId, success ? "true" : "false"}});
    }
    void OnScanResponse(const std::string& invokeId, const std::string& response) override
    {
        events.push_back({"OnScanResponse", {invokeId, response}});
    }

    std::vector<Call> events;
};

// A frame's container object as IDtm::Environment expects it.
class RecordingFrame final : public RecordingContainer, public RecordingFrameEvents, public fdt::IFdt_036D147A {
};

// A container without the frame event interface.
class FrameWithoutEvents final : public RecordingContainer, public fdt::IFdt_036D147A {
};

// A container without the interface {036D147A-...}.
class FrameWithoutMarker final : public RecordingContainer, public RecordingFrameEvents {
};

// An object offering the marker and the events but not the container interface.
class FrameWithoutContainer final : public RecordingFrameEvents, public fdt::IFdt_036D147A {
};

// An object that offers no interface at all.
class PlainObject final : public virtual fdt::Object {
};

// The communication monitor page as DTMMain sees it.
class RecordingMonitorPage final : public core::IMonitorPage, public core::IActiveXGUI {
public:
    explicit RecordingMonitorPage(CallLog log = makeCallLog()) : m_log(std::move(log)) {}
    struct Line {
        std::string text;
        std::int32_t color;
        friend bool operator==(const Line&, const Line&) = default;
    };
    void MessageLine(const std::string& textLine, std::int32_t color) override { lines.push_back({textLine, color}); }
    void UpdateLanguage() override
    {
        ++languageUpdates;
        m_log->push_back("monitor");
    }

    std::vector<Line> lines;
    int languageUpdates = 0;

private:
    CallLog m_log;
};

// The offline parameter page as DTMMain sees it.
class RecordingOfflinePage final : public core::IOfflineParamPage, public core::IActiveXGUI {
public:
    explicit RecordingOfflinePage(CallLog log = makeCallLog()) : m_log(std::move(log)) {}
    struct Status {
        fdt::Variant value;
        std::string text;
    };
    void SetParameterStatus(const fdt::Variant& newValue, const std::string& statusText) override
    {
        statuses.push_back({newValue, statusText});
    }
    void UpdateLanguage() override
    {
        ++languageUpdates;
        m_log->push_back("offline");
    }

    std::vector<Status> statuses;
    int languageUpdates = 0;

private:
    CallLog m_log;
};

// The about page: only the language interface.
class RecordingAboutPage final : public core::IActiveXGUI {
public:
    explicit RecordingAboutPage(CallLog log = makeCallLog()) : m_log(std::move(log)) {}
    void UpdateLanguage() override
    {
        ++languageUpdates;
        m_log->push_back("about");
    }
    int languageUpdates = 0;

private:
    CallLog m_log;
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

// A parent communication DTM that only records what it is asked.
class RecordingParent final : public fdt::IFdtCommunication {
public:
    void Abort(const std::string& fieldbusFrame) override { calls.push_back({"Abort", {fieldbusFrame}}); }
    bool ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>& callback, const std::string& invokeId,
                        const std::string& protocolId, const std::string& fieldbusFrame) override
    {
        calls.push_back({"ConnectRequest", {invokeId, protocolId, fieldbusFrame}});
        lastCallback = callback;
        return true;
    }
    bool DisconnectRequest(const std::string& invokeId, const std::string& fieldbusFrame) override
    {
        calls.push_back({"DisconnectRequest", {invokeId, fieldbusFrame}});
        return true;
    }
    bool TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame) override
    {
        calls.push_back({"TransactionRequest", {invokeId, fieldbusFrame}});
        return true;
    }
    std::string GetSupportedProtocols() override { return {}; }
    bool SequenceBegin(const std::string&) override { return false; }
    bool SequenceStart(const std::string&) override { return false; }
    bool SequenceEnd(const std::string&) override { return false; }

    std::vector<Call> calls;
    std::shared_ptr<fdt::IFdtCommunicationEvents> lastCallback;
};

// A child device DTM's callback that records the answers it gets.
class RecordingChild final : public fdt::IFdtCommunicationEvents {
public:
    void OnAbort(const std::string& communicationReference) override
    {
        calls.push_back({"OnAbort", {communicationReference}});
    }
    void OnConnectResponse(const std::string& invokeId, const std::string& response) override
    {
        calls.push_back({"OnConnectResponse", {invokeId, response}});
    }
    void OnDisconnectResponse(const std::string& invokeId, const std::string& response) override
    {
        calls.push_back({"OnDisconnectResponse", {invokeId, response}});
    }
    void OnTransactionResponse(const std::string& invokeId, const std::string& response) override
    {
        calls.push_back({"OnTransactionResponse", {invokeId, response}});
    }

    std::vector<Call> calls;
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
