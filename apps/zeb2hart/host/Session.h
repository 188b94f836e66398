#pragma once
// One hosted component instance with everything around it: the platform
// services it runs under, the frame objects, the scripted and simulated
// peers, the headless pages, and the hooks that feed the transcript (monitor
// messages, trace lines, message boxes, properties marked as changed).

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/FrameObjects.h"
#include "peers/HartDeviceDtm.h"
#include "host/HeadlessPages.h"
#include "host/HostedDtm.h"
#include "peers/PeerDocuments.h"
#include "host/RecordingProxies.h"
#include "host/ScriptedFileDialog.h"
#include "host/TraceTail.h"
#include "transcript/Transcript.h"
#include "peers/ZebCommunicationDtm.h"
#include "core/DTMMain.h"
#include "platform/EventLoop.h"
#include "platform/Services.h"

namespace zeb2hart::frame {

struct SessionOptions {
    // Empty: frameComponentFolder(), the component beside the program.
    std::filesystem::path componentFolder;
    std::filesystem::path frameSchemaFolder;
    // Numbered GUIDs and a fixed clock, for repeatable transcripts.
    bool deterministic = false;
    std::shared_ptr<platform::EventLoop> loop;
    // The frame's own dialogs (the window's Qt ones): a message box, file
    // dialog or shell set here replaces the one that records into the transcript.
    platform::Services dialogs;
    // Gets every line the monitor page receives (besides the transcript).
    std::function<void(const std::string& textLine, std::int32_t color)> onMonitorLine;
    // Creates the hosted DTM; empty: the DTM in this process (InProcessDtm).
    HostedDtmFactory hostDtm;
};

class Session {
public:
    Session(Transcript& transcript, SessionOptions options);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The DTM as hosted: in this process or through COM.
    HostedDtm& hosted() { return *m_hosted; }
    // The DTM object the frame holds (nullptr once released).
    fdt::ObjectPtr dtmObject() const { return m_hosted->object(); }
    // The FDT interface I of the DTM; fdt::TypeMismatchError when it lacks it.
    template <class I>
    std::shared_ptr<I> dtmAs() const
    {
        return fdt::require<I>(m_hosted->object());
    }
    // The DTMMain itself, for the parts that only run in process (the demo, the
    // window); throws HostError for a DTM hosted through COM.
    core::DTMMain& dtm() { return *dtmPtr(); }
    const std::shared_ptr<core::DTMMain>& dtmPtr() const;
    // Drops the session's reference to the DTM; true when that released the object.
    bool releaseDtm();

    platform::EventLoop& loop() { return *m_options.loop; }
    const std::shared_ptr<platform::EventLoop>& loopPtr() const { return m_options.loop; }
    const SessionOptions& options() const { return m_options; }
    const std::filesystem::path& componentFolder() const { return m_componentFolder; }
    const PeerDocuments& documents() const { return *m_documents; }
    Transcript& transcript() { return m_transcript; }
    ObjectNames& names() { return m_names; }
    ScriptedFileDialog& fileDialog() { return *m_fileDialog; }

    // Objects by the names scripts use: "frame", "frame-without-events",
    // "container-without-marker", "parent", "child", "monitor", "offline", "dtm";
    // nullptr for "none". Throws std::invalid_argument for any other name.
    fdt::ObjectPtr object(const std::string& name);

    ContainerAnswers& containerAnswers() { return *m_containerAnswers; }
    ParentAnswers& parentAnswers() { return *m_parentAnswers; }
    const std::vector<ParentRequest>& parentRequests() const { return m_parentRequests; }
    const std::vector<ChildCall>& childCalls() const { return m_childCalls; }
    // The calls on which the scripted child fails.
    PeerFaults& childFaults() { return *m_childFaults; }

    // Replaces the scripted parent by a simulated communication DTM with this model.
    void attachSimulatedParent(ZebDeviceModel model);
    ZebCommunicationDtm* simulatedParent() { return m_simulatedParent.get(); }
    // A simulated HART device DTM that talks to the component through a recording proxy.
    HartDeviceDtm& attachSimulatedChild(const std::string& tag, std::int16_t shortAddress);
    HartDeviceDtm* simulatedChild() { return m_simulatedChild.get(); }

    HeadlessMonitorPage& monitorPage() { return *m_monitorPage; }
    HeadlessOfflinePage& offlinePage() { return *m_offlinePage; }

    // Copies trace lines written since the last poll into the transcript.
    void pollTrace();

private:
    Transcript& m_transcript;
    SessionOptions m_options;
    std::filesystem::path m_componentFolder;
    std::unique_ptr<platform::ScopedServices> m_scope;
    std::shared_ptr<ScriptedFileDialog> m_fileDialog;
    std::unique_ptr<PeerDocuments> m_documents;
    ObjectNames m_names;
    std::shared_ptr<ContainerAnswers> m_containerAnswers = std::make_shared<ContainerAnswers>();
    std::shared_ptr<Frame> m_frame;
    std::shared_ptr<FrameWithoutEvents> m_frameWithoutEvents;
    std::shared_ptr<ContainerWithoutMarker> m_containerWithoutMarker;
    std::shared_ptr<ParentAnswers> m_parentAnswers = std::make_shared<ParentAnswers>();
    std::vector<ParentRequest> m_parentRequests;
    std::vector<ChildCall> m_childCalls;
    std::shared_ptr<PeerFaults> m_childFaults = std::make_shared<PeerFaults>();
    std::shared_ptr<ScriptedParent> m_scriptedParent;
    std::shared_ptr<ScriptedChild> m_scriptedChild;
    std::shared_ptr<ZebCommunicationDtm> m_simulatedParent;
    std::shared_ptr<OutgoingCommunicationProxy> m_simulatedParentProxy;
    std::shared_ptr<HartDeviceDtm> m_simulatedChild;
    std::shared_ptr<HeadlessMonitorPage> m_monitorPage;
    std::shared_ptr<HeadlessOfflinePage> m_offlinePage;
    std::unique_ptr<TraceTail> m_traceTail;
    std::unique_ptr<HostedDtm> m_hosted;
};

} // namespace zeb2hart::frame
