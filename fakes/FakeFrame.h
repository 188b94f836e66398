#pragma once
// The fakes of a frame's container object, the one a DTM is given by
// IDtm::Environment: its IFdtContainer, its event interface IDtmEvents and its
// topology IFdtTopology, each keeping the calls it takes, and the frames made
// of them (the full frame and frames that lack one interface). The topology
// answers as an empty one does (fdt::EmptyTopology). Used on the one thread
// that drives the DTM.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FakeCalls.h"
#include "fdt/FrameInterfaces.h"
#include "fdt/SilentFrame.h"

namespace zeb2hart::fakes {

// What the container answers; the stand-in's frames share one.
struct ContainerAnswers {
    std::string xmlSchemaPath;
    bool saveRequest = true;
    bool lockDataSet = true;
    bool unlockDataSet = true;
};

class FakeContainer : public virtual fdt::IFdtContainer, public virtual ObservedFake {
public:
    bool SaveRequest(const std::string& systemTag) override;
    bool LockDataSet(const std::string& systemTag) override;
    bool UnlockDataSet(const std::string& systemTag) override;
    std::string GetXmlSchemaPath() override;

    std::shared_ptr<ContainerAnswers> answers = std::make_shared<ContainerAnswers>();
    std::vector<Call> containerCalls;

private:
    template <class Result>
    Result answer(const char* op, std::vector<Argument> args, Result result);
};

class FakeFrameEvents : public virtual fdt::IDtmEvents, public virtual ObservedFake {
public:
    using S = const std::string&;
    void OnParameterChanged(S systemTag, S parameter) override;
    void OnErrorMessage(S systemTag, S errorMessage) override;
    void OnProgress(S systemTag, S title, std::int16_t percent, bool show) override;
    void OnUploadFinished(S invokeId, bool success) override;
    void OnDownloadFinished(S invokeId, bool success) override;
    void OnApplicationClosed(S invokeId) override;
    void OnFunctionChanged(S systemTag) override;
    void OnChannelFunctionChanged(S systemTag, S channelPath) override;
    void OnPrint(S systemTag, S functionCall) override;
    void OnNavigation(S systemTag) override;
    void OnOnlineStateChanged(S systemTag, bool onlineState) override;
    void OnPreparedToRelease(S systemTag) override;
    void OnPreparedToReleaseCommunication(S systemTag) override;
    void OnInvokedFunctionFinished(S invokeId, bool success) override;
    void OnScanResponse(S invokeId, S response) override;

    std::vector<Call> events;

private:
    void notified(const char* op, std::vector<Argument> args);
};

// Its calls carry no result for the observer: they answer what an empty topology answers.
class FakeTopology : public fdt::EmptyTopology, public virtual ObservedFake {
public:
    std::string GetParentNodes(const std::string& systemTag) override;
    std::string GetChildNodes(const std::string& systemTag, const std::string& channelPath) override;
    std::string CreateChild(const std::string& deviceType, const std::string& channelPath) override;
    bool DeleteChild(const std::string& systemTag, const std::string& channelPath) override;
    fdt::ObjectPtr GetDtmForSystemTag(const std::string& systemTag) override;
    std::string GetDtmInfoList() override;
    bool MoveChild(const std::string& systemTag, const std::string& destinationChannelPath) override;
    bool ReleaseDtmForSystemTag(const std::string& systemTag) override;

    std::vector<Call> topologyCalls;

private:
    void asked(const char* op, std::vector<Argument> args);
};

// The frame's container object as IDtm::Environment expects it.
class FakeFrame final : public FakeContainer, public FakeFrameEvents, public FakeTopology {
public:
    explicit FakeFrame(std::string name = "frame", Observer observer = {})
        : ObservedFake(std::move(name), std::move(observer))
    {
    }
};

// A frame without the event interface: IDtm::Environment denies it.
class FrameWithoutEvents final : public FakeContainer, public FakeTopology {
public:
    explicit FrameWithoutEvents(std::string name = "frame-without-events", Observer observer = {})
        : ObservedFake(std::move(name), std::move(observer))
    {
    }
};

// A frame without IFdtContainer: IDtm::Environment ends with a type mismatch.
class FrameWithoutContainer final : public FakeFrameEvents, public FakeTopology {
public:
    explicit FrameWithoutContainer(std::string name = "frame-without-container", Observer observer = {})
        : ObservedFake(std::move(name), std::move(observer))
    {
    }
};

// A container without the topology: IDtm::Environment ends with an error.
class FrameWithoutTopology final : public FakeContainer, public FakeFrameEvents {
public:
    explicit FrameWithoutTopology(std::string name = "frame-without-topology", Observer observer = {})
        : ObservedFake(std::move(name), std::move(observer))
    {
    }
};

// An object that offers none of the frame's interfaces.
class PlainObject final : public virtual fdt::Object {};

} // namespace zeb2hart::fakes
