#pragma once
// The frame's side of the topology as the component sees it: the container
// object given to IDtm::Environment (IFdtContainer, the frame event interface
// IDtmEvents and the marker interface {036D147A-...}), in three variants for
// scripts: the full frame, a frame without the event interface, and a
// container without the marker. Every call the component makes on them is
// written to the transcript as an "out" event.

#include <filesystem>
#include <memory>
#include <string>

#include "host/Transcript.h"
#include "fdt/FrameInterfaces.h"

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
    void OnOnlineStateChanged(const std::string& systemTag, const std::string& onlineState) override;
    void OnPreparedToRelease(const std::string& systemTag) override;
    void OnPreparedToReleaseCommunication(const std::string& systemTag) override;
    void OnInvokedFunctionFinished(const std::string& invokeId, bool success) override;
    void OnScanResponse(const std::string& invokeId, const std::string& response) override;

private:
    void record(const char* op, Json args);
    Transcript& m_eventsTranscript;
    std::string m_eventsName;
};

// The full frame: container, event interface and the {036D147A-...} marker.
class Frame final : public FrameContainer, public FrameEvents, public fdt::IFdt_036D147A {
public:
    Frame(Transcript& transcript, std::shared_ptr<ContainerAnswers> answers, std::string name = "frame")
        : FrameContainer(transcript, name, std::move(answers)), FrameEvents(transcript, name)
    {
    }
};

// A frame that offers no event interface: IDtm::Environment denies it.
class FrameWithoutEvents final : public FrameContainer, public fdt::IFdt_036D147A {
public:
    FrameWithoutEvents(Transcript& transcript, std::shared_ptr<ContainerAnswers> answers)
        : FrameContainer(transcript, "frame-without-events", std::move(answers))
    {
    }
};

// A container without the {036D147A-...} marker: IDtm::Environment ends with an error.
class ContainerWithoutMarker final : public FrameContainer, public FrameEvents {
public:
    ContainerWithoutMarker(Transcript& transcript, std::shared_ptr<ContainerAnswers> answers)
        : FrameContainer(transcript, "container-without-marker", std::move(answers)),
          FrameEvents(transcript, "container-without-marker")
    {
    }
};

} // namespace zeb2hart::frame
