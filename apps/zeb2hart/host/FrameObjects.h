#pragma once
// The frame's side of the topology as the component sees it: the container
// object given to IDtm::Environment (IFdtContainer, the frame event interface
// IDtmEvents and the frame's topology IFdtTopology), in three variants for
// scripts: the full frame, a frame without the event interface, and a
// container without the topology. Every call the component makes on them is
// written to the transcript as an "out" event. The stand-in keeps its topology
// itself (Topology.h), so its IFdtTopology answers as an empty one does.

#include <filesystem>
#include <memory>
#include <string>

#include "transcript/Transcript.h"
#include "fdt/FrameInterfaces.h"
#include "fdt/SilentFrame.h"

namespace zeb2hart::frame {

// What the frame's container answers.
struct ContainerAnswers {
    std::string xmlSchemaPath;
    bool saveRequest = true;
    bool lockDataSet = true;
    bool unlockDataSet = true;
};

class FrameContainer : public virtual fdt::IFdtContainer {
public:
    FrameContainer(Transcript& transcript, std::string name, std::shared_ptr<ContainerAnswers> answers)
        : m_transcript(transcript), m_name(std::move(name)), m_answers(std::move(answers))
    {
    }

    bool SaveRequest(const std::string& systemTag) override;
    bool LockDataSet(const std::string& systemTag) override;
    bool UnlockDataSet(const std::string& systemTag) override;
    std::string GetXmlSchemaPath() override;

    const std::string& name() const { return m_name; }

protected:
    Transcript& m_transcript;
    std::string m_name;
    std::shared_ptr<ContainerAnswers> m_answers;
};

// The frame event interface; each notification is recorded.
class FrameEvents : public virtual fdt::IDtmEvents {
public:
    FrameEvents(Transcript& transcript, std::string name) : m_eventsTranscript(transcript), m_eventsName(std::move(name)) {}

    void OnParameterChanged(const std::string& systemTag, const std::string& parameter) override;
    void OnErrorMessage(const std::string& systemTag, const std::string& errorMessage) override;
    void OnProgress(const std::string& systemTag, const std::string& title, std::int16_t percent, bool show) override;
    void OnUploadFinished(const std::string& invokeId, bool success) override;
    void OnDownloadFinished(const std::string& invokeId, bool success) override;
    void OnApplicationClosed(const std::string& invokeId) override;
    void OnFunctionChanged(const std::string& systemTag) override;
    void OnChannelFunctionChanged(const std::string& systemTag, const std::string& channelPath) override;
    void OnPrint(const std::string& systemTag, const std::string& functionCall) override;
    void OnNavigation(const std::string& systemTag) override;
    void OnOnlineStateChanged(const std::string& systemTag, bool onlineState) override;
    void OnPreparedToRelease(const std::string& systemTag) override;
    void OnPreparedToReleaseCommunication(const std::string& systemTag) override;
    void OnInvokedFunctionFinished(const std::string& invokeId, bool success) override;
    void OnScanResponse(const std::string& invokeId, const std::string& response) override;

private:
    void record(const char* op, Json args);
    Transcript& m_eventsTranscript;
    std::string m_eventsName;
};

// The frame's topology: each call is recorded, and answered as by an empty topology.
class FrameTopology : public fdt::EmptyTopology {
public:
    FrameTopology(Transcript& transcript, std::string name) : m_topologyTranscript(transcript), m_topologyName(std::move(name)) {}

    std::string GetParentNodes(const std::string& systemTag) override;
    std::string GetChildNodes(const std::string& systemTag, const std::string& channelPath) override;
    std::string CreateChild(const std::string& deviceType, const std::string& channelPath) override;
    bool DeleteChild(const std::string& systemTag, const std::string& channelPath) override;
    fdt::ObjectPtr GetDtmForSystemTag(const std::string& systemTag) override;
    std::string GetDtmInfoList() override;
    bool MoveChild(const std::string& systemTag, const std::string& destinationChannelPath) override;
    bool ReleaseDtmForSystemTag(const std::string& systemTag) override;

private:
    void record(const char* op, Json args);
    Transcript& m_topologyTranscript;
    std::string m_topologyName;
};

// The full frame: container, event interface and topology.
class Frame final : public FrameContainer, public FrameEvents, public FrameTopology {
public:
    Frame(Transcript& transcript, std::shared_ptr<ContainerAnswers> answers, std::string name = "frame")
        : FrameContainer(transcript, name, std::move(answers)), FrameEvents(transcript, name),
          FrameTopology(transcript, name)
    {
    }
};

// A frame that offers no event interface: IDtm::Environment denies it.
class FrameWithoutEvents final : public FrameContainer, public FrameTopology {
public:
    FrameWithoutEvents(Transcript& transcript, std::shared_ptr<ContainerAnswers> answers)
        : FrameContainer(transcript, "frame-without-events", std::move(answers)),
          FrameTopology(transcript, "frame-without-events")
    {
    }
};

// A container without the topology: IDtm::Environment ends with an error.
class ContainerWithoutMarker final : public FrameContainer, public FrameEvents {
public:
    ContainerWithoutMarker(Transcript& transcript, std::shared_ptr<ContainerAnswers> answers)
        : FrameContainer(transcript, "container-without-marker", std::move(answers)),
          FrameEvents(transcript, "container-without-marker")
    {
    }
};

} // namespace zeb2hart::frame
