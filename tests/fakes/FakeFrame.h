#pragma once
// Recording fakes of what a frame offers a DTM object: its container object, the pages,
// the persistence site and the page controls. Used on the test's thread only.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/DTMMain.h"
#include "core/Pages.h"
#include "fdt/FrameInterfaces.h"
#include "fdt/SilentFrame.h"

namespace zeb2hart::test {

// One call the component made on a fake, with its arguments as text.
struct Call {
    std::string name;
    std::vector<std::string> args;
    friend bool operator==(const Call&, const Call&) = default;
};

class RecordingContainer : public virtual fdt::IFdtContainer {
public:
    bool SaveRequest(const std::string& tag) override { return add({"SaveRequest", {tag}}); }
    bool LockDataSet(const std::string& tag) override { return add({"LockDataSet", {tag}}); }
    bool UnlockDataSet(const std::string& tag) override { return add({"UnlockDataSet", {tag}}); }
    std::string GetXmlSchemaPath() override { return add({"GetXmlSchemaPath", {}}) ? schemaPath : ""; }
    std::string schemaPath;
    std::vector<Call> containerCalls;

private:
    bool add(Call call) { return containerCalls.push_back(std::move(call)), true; }
};

class RecordingFrameEvents : public virtual fdt::IDtmEvents {
public:
    using S = const std::string&;
    void OnParameterChanged(S tag, S parameter) override { add("OnParameterChanged", {tag, parameter}); }
    void OnErrorMessage(S tag, S message) override { add("OnErrorMessage", {tag, message}); }
    void OnProgress(S tag, S title, std::int16_t percent, bool show) override
    {
        add("OnProgress", {tag, title, std::to_string(percent), word(show)});
    }
    void OnUploadFinished(S id, bool success) override { add("OnUploadFinished", {id, word(success)}); }
    void OnDownloadFinished(S id, bool success) override { add("OnDownloadFinished", {id, word(success)}); }
    void OnApplicationClosed(S invokeId) override { add("OnApplicationClosed", {invokeId}); }
    void OnFunctionChanged(S tag) override { add("OnFunctionChanged", {tag}); }
    void OnChannelFunctionChanged(S tag, S path) override { add("OnChannelFunctionChanged", {tag, path}); }
    void OnPrint(S tag, S functionCall) override { add("OnPrint", {tag, functionCall}); }
    void OnNavigation(S tag) override { add("OnNavigation", {tag}); }
    void OnOnlineStateChanged(S tag, bool online) override { add("OnOnlineStateChanged", {tag, word(online)}); }
    void OnPreparedToRelease(S tag) override { add("OnPreparedToRelease", {tag}); }
    void OnPreparedToReleaseCommunication(S tag) override { add("OnPreparedToReleaseCommunication", {tag}); }
    void OnInvokedFunctionFinished(S id, bool ok) override { add("OnInvokedFunctionFinished", {id, word(ok)}); }
    void OnScanResponse(S invokeId, S response) override { add("OnScanResponse", {invokeId, response}); }
    std::vector<Call> events;
    // Runs after each event is recorded: what a frame does in its handler.
    std::function<void(const Call&)> onEvent;

private:
    static std::string word(bool value) { return value ? "true" : "false"; }
    void add(const char* name, std::vector<std::string> args)
    {
        events.push_back({name, std::move(args)});
        if (onEvent)
            onEvent(events.back());
    }
};

// The frame's container object as IDtm::Environment expects it, and variants that lack one interface.
class RecordingFrame final : public RecordingContainer, public RecordingFrameEvents, public fdt::EmptyTopology {};
class FrameWithoutEvents final : public RecordingContainer, public fdt::EmptyTopology {};
class FrameWithoutContainer final : public RecordingFrameEvents, public fdt::EmptyTopology {};
class PlainObject final : public virtual fdt::Object {};

// A page's language interface; each update is logged with the page's name.
class RecordingPage : public virtual core::IActiveXGUI {
public:
    using Log = std::shared_ptr<std::vector<std::string>>;
    explicit RecordingPage(std::string pageName, Log pageLog = std::make_shared<std::vector<std::string>>())
        : name(std::move(pageName)), log(std::move(pageLog)) {}
    void UpdateLanguage() override { log->push_back(name); }
    std::string name;
    Log log;
};

class RecordingMonitorPage final : public core::IMonitorPage, public RecordingPage {
public:
    using RecordingPage::RecordingPage;
    void MessageLine(const std::string& text, std::int32_t color) override { lines.push_back({text, color}); }
    std::vector<std::pair<std::string, std::int32_t>> lines;
};

class FailingPage final : public core::IActiveXGUI {
public:
    void UpdateLanguage() override { ++attempts, throw std::runtime_error("page cannot translate"); }
    int attempts = 0;
};

class RecordingPersistenceSite final : public core::PersistenceSite {
public:
    void PropertyChanged(const std::string& propertyName) override { changed.push_back(propertyName); }
    std::vector<std::string> changed;
};

// A child control of a page; its name may fail to read, its caption may be missing.
class FakeControl final : public core::Control {
public:
    explicit FakeControl(std::string name, std::optional<int> index = {}, bool hasCaption = true)
        : m_name(std::move(name)), m_index(index), m_hasCaption(hasCaption) {}
    std::string name() const override { return nameFails ? throw std::runtime_error("unreadable name") : m_name; }
    std::optional<int> index() const override { return m_index; }
    bool hasCaption() const override { return m_hasCaption; }
    void setCaption(const std::string& text) override
    {
        caption = m_hasCaption ? text : throw std::runtime_error("the control has no caption");
    }
    std::string caption = "design caption";
    bool nameFails = false;

private:
    std::string m_name;
    std::optional<int> m_index;
    bool m_hasCaption;
};

} // namespace zeb2hart::test
