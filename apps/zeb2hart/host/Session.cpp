#include "host/Session.h"

#include <fstream>
#include <stdexcept>

#include "host/ComponentHost.h"
#include "host/InProcessDtm.h"
#include "transcript/Recording.h"
#include "platform/Clock.h"
#include "platform/GuidSource.h"
#include "support/Conversions.h"
#include "support/Trace.h"

namespace zeb2hart::frame {

namespace {

// The moment a deterministic session's clock stands at.
std::tm fixedMoment()
{
    std::tm moment{};
    moment.tm_year = 2024 - 1900;
    moment.tm_mon = 0;
    moment.tm_mday = 15;
    moment.tm_hour = 9;
    moment.tm_min = 30;
    moment.tm_sec = 0;
    return moment;
}

class TranscriptMessageBox final : public platform::MessageBox {
public:
    explicit TranscriptMessageBox(Transcript& transcript) : m_transcript(transcript) {}
    void show(const std::string& text, Icon icon) override
    {
        static constexpr const char* kIcons[] = {"Information", "Exclamation", "Critical"};
        m_transcript.add({{"ev", "messagebox"}, {"text", text}, {"icon", kIcons[static_cast<int>(icon)]}});
    }

private:
    Transcript& m_transcript;
};

class TranscriptShell final : public platform::Shell {
public:
    explicit TranscriptShell(Transcript& transcript) : m_transcript(transcript) {}
    void open(const std::string& address) override { m_transcript.add({{"ev", "shell"}, {"address", address}}); }

private:
    Transcript& m_transcript;
};

} // namespace

Session::Session(Transcript& transcript, SessionOptions options)
    : m_transcript(transcript), m_options(std::move(options))
{
    m_componentFolder =
        m_options.componentFolder.empty() ? frameComponentFolder() : m_options.componentFolder;
    checkComponentFolder(m_componentFolder);

    platform::Services services;
    services.componentFolder = m_componentFolder;
    services.eventLoop = m_options.loop;
    if (m_options.deterministic) {
        services.clock = std::make_shared<platform::FixedClock>(fixedMoment());
        services.guids = std::make_shared<platform::SequentialGuidSource>();
    } else {
        services.clock = std::make_shared<platform::SystemClock>();
        services.guids = std::make_shared<platform::SystemGuidSource>();
    }
    services.messageBox = std::make_shared<TranscriptMessageBox>(m_transcript);
    m_fileDialog = std::make_shared<ScriptedFileDialog>(m_transcript);
    services.fileDialog = m_fileDialog;
    services.shell = std::make_shared<TranscriptShell>(m_transcript);
    if (m_options.dialogs.messageBox)
        services.messageBox = m_options.dialogs.messageBox;
    if (m_options.dialogs.fileDialog)
        services.fileDialog = m_options.dialogs.fileDialog;
    if (m_options.dialogs.shell)
        services.shell = m_options.dialogs.shell;
    const platform::Services frameServices = services;
    m_scope = std::make_unique<platform::ScopedServices>(std::move(services));
    // A fresh component load: the trace mode is read from its settings file again.
    support::ResetTraceMode();
    m_traceTail = std::make_unique<TraceTail>(m_componentFolder / "TraceInfoFile.txt");
    m_transcript.setBeforeEvent([this] { pollTrace(); });

    m_documents = std::make_unique<PeerDocuments>(m_componentFolder, m_options.frameSchemaFolder);
    m_containerAnswers->xmlSchemaPath = m_options.frameSchemaFolder.string();

    m_frame = std::make_shared<Frame>(m_transcript, m_containerAnswers);
    m_frameWithoutEvents = std::make_shared<FrameWithoutEvents>(m_transcript, m_containerAnswers);
    m_containerWithoutMarker = std::make_shared<ContainerWithoutMarker>(m_transcript, m_containerAnswers);
    m_scriptedParent = std::make_shared<ScriptedParent>(m_transcript, m_names, m_parentAnswers, m_parentRequests);
    m_scriptedChild = std::make_shared<ScriptedChild>(m_transcript, m_childCalls, m_childFaults);
    // The pages open on the hosted DTM only, by identity: through COM the frame
    // sees it as a proxy.
    const HostedDtmLookup hostedDtm = [this](const fdt::ObjectPtr& dtm) -> HostedDtm* {
        const fdt::ObjectPtr hosted = m_hosted ? m_hosted->object() : nullptr;
        return hosted && fdt::identityOf(dtm.get()) == fdt::identityOf(hosted.get()) ? m_hosted.get() : nullptr;
    };
    m_monitorPage = std::make_shared<HeadlessMonitorPage>(
        [this](const std::string& line, std::int32_t color) {
            m_transcript.add({{"ev", "page"},
                              {"page", "monitor"},
                              {"op", "MessageLine"},
                              {"args", {{"textLine", line}, {"color", colorName(color)}}}});
            if (m_options.onMonitorLine)
                m_options.onMonitorLine(line, color);
        },
        hostedDtm);
    m_offlinePage = std::make_shared<HeadlessOfflinePage>(
        [this](const fdt::Variant& value, const std::string& text) {
            m_transcript.add({{"ev", "page"},
                              {"page", "offline"},
                              {"op", "SetParameterStatus"},
                              {"args", {{"newValue", variantToJson(value)}, {"statusText", text}}}});
        },
        hostedDtm);

    const auto captions = [this](const char* page) {
        return [this, page](const std::vector<HeadlessControl>& controls) {
            Json shown = Json::object();
            for (const auto& control : controls)
                shown[control.name()] = control.caption() ? Json(*control.caption()) : Json(nullptr);
            m_transcript.add({{"ev", "page"}, {"page", page}, {"op", "UpdateLanguage"}, {"captions", shown}});
        };
    };
    m_monitorPage->onTranslated(captions("monitor"));
    m_offlinePage->onTranslated(captions("offline"));

    m_names.add(m_frame, "frame");
    m_names.add(m_frameWithoutEvents, "frame-without-events");
    m_names.add(m_containerWithoutMarker, "container-without-marker");
    m_names.add(m_scriptedParent, "parent");
    m_names.add(m_scriptedChild, "child");
    m_names.add(m_monitorPage, "monitor");
    m_names.add(m_offlinePage, "offline");

    if (m_options.hostDtm)
        m_hosted = m_options.hostDtm(frameServices);
    else
        m_hosted = std::make_unique<InProcessDtm>();
    m_names.add(m_hosted->object(), "dtm");
    DtmReports reports;
    reports.monitor = [this](const std::string& function, const std::string& message, std::int32_t color,
                             std::int16_t filter) {
        m_transcript.add({{"ev", "monitor"},
                          {"function", function},
                          {"message", message},
                          {"color", colorName(color)},
                          {"filter", filter}});
    };
    reports.propertyChanged = [this](const std::string& propertyName) {
        m_transcript.add({{"ev", "changed"}, {"property", propertyName}});
    };
    m_hosted->report(std::move(reports));
}

Session::~Session()
{
    m_transcript.setBeforeEvent(nullptr);
    // The peers hold the DTM and the DTM holds them: let go on both sides.
    if (m_simulatedParent)
        m_simulatedParent->Abort({});
    if (m_simulatedChild)
        m_simulatedChild->attach(nullptr);
    if (m_hosted->object())
        m_hosted->report({});
    // The DTM goes before the services it runs under.
    m_hosted.reset();
}

const std::shared_ptr<core::DTMMain>& Session::dtmPtr() const
{
    const auto* inProcess = dynamic_cast<const InProcessDtm*>(m_hosted.get());
    if (!inProcess)
        throw HostError("this part of the frame stand-in hosts the DTM only in process");
    return inProcess->dtm();
}

bool Session::releaseDtm()
{
    return m_hosted->release();
}

fdt::ObjectPtr Session::object(const std::string& name)
{
    if (name == "none")
        return nullptr;
    if (name == "frame")
        return m_frame;
    if (name == "frame-without-events")
        return m_frameWithoutEvents;
    if (name == "container-without-marker")
        return m_containerWithoutMarker;
    if (name == "parent")
        return m_simulatedParentProxy ? fdt::ObjectPtr(m_simulatedParentProxy) : fdt::ObjectPtr(m_scriptedParent);
    if (name == "scripted-parent")
        return m_scriptedParent;
    if (name == "child")
        return m_scriptedChild;
    if (name == "monitor")
        return m_monitorPage;
    if (name == "offline")
        return m_offlinePage;
    if (name == "dtm")
        return m_hosted->object();
    throw std::invalid_argument("unknown object \"" + name +
                                "\" (use frame, frame-without-events, container-without-marker, parent, "
                                "scripted-parent, child, monitor, offline, dtm or none)");
}

void Session::attachSimulatedParent(ZebDeviceModel model)
{
    if (m_simulatedParent)
        m_simulatedParent->Abort({});
    m_simulatedParent = std::make_shared<ZebCommunicationDtm>(std::move(model), m_options.loop, *m_documents);
    // The parent's wire timing takes the HART frames' preambles from what the gateway told and answered the child.
    m_simulatedParent->setHartLine(std::make_shared<HartLine>(m_childCalls, *m_documents));
    m_simulatedParentProxy =
        std::make_shared<OutgoingCommunicationProxy>(m_transcript, m_names, "parent", m_simulatedParent, m_parentRequests);
    m_names.add(m_simulatedParentProxy, "parent");
}

HartDeviceDtm& Session::attachSimulatedChild(const std::string& tag, std::int16_t shortAddress)
{
    m_simulatedChild = std::make_shared<HartDeviceDtm>(tag, shortAddress, *m_documents);
    m_names.add(m_simulatedChild, "child");
    m_simulatedChild->attach(std::make_shared<ComponentCommunicationProxy>(
        m_transcript, m_names, "child", dtmAs<fdt::IFdtCommunication>(), m_childCalls));
    return *m_simulatedChild;
}

void Session::pollTrace()
{
    if (m_traceTail)
        m_traceTail->poll(m_transcript);
}

} // namespace zeb2hart::frame
