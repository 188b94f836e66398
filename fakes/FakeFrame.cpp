#include "FakeFrame.h"

#include <utility>

namespace zeb2hart::fakes {
namespace {

std::vector<std::string> texts(const std::vector<Argument>& args)
{
    std::vector<std::string> result;
    result.reserve(args.size());
    for (const Argument& argument : args)
        result.push_back(text(argument.value));
    return result;
}

} // namespace

template <class Result>
Result FakeContainer::answer(const char* op, std::vector<Argument> args, Result result)
{
    containerCalls.push_back({op, texts(args)});
    tell("IFdtContainer", op, std::move(args), Value(result));
    return result;
}

bool FakeContainer::SaveRequest(const std::string& systemTag)
{
    return answer("SaveRequest", {{"systemTag", systemTag}}, answers->saveRequest);
}

bool FakeContainer::LockDataSet(const std::string& systemTag)
{
    return answer("LockDataSet", {{"systemTag", systemTag}}, answers->lockDataSet);
}

bool FakeContainer::UnlockDataSet(const std::string& systemTag)
{
    return answer("UnlockDataSet", {{"systemTag", systemTag}}, answers->unlockDataSet);
}

std::string FakeContainer::GetXmlSchemaPath()
{
    return answer("GetXmlSchemaPath", {}, answers->xmlSchemaPath);
}

void FakeFrameEvents::notified(const char* op, std::vector<Argument> args)
{
    events.push_back({op, texts(args)});
    tell("IDtmEvents", op, std::move(args));
}

void FakeFrameEvents::OnParameterChanged(S systemTag, S parameter)
{
    notified("OnParameterChanged", {{"systemTag", systemTag}, {"parameter", parameter}});
}

void FakeFrameEvents::OnErrorMessage(S systemTag, S errorMessage)
{
    notified("OnErrorMessage", {{"systemTag", systemTag}, {"errorMessage", errorMessage}});
}

void FakeFrameEvents::OnProgress(S systemTag, S title, std::int16_t percent, bool show)
{
    notified("OnProgress", {{"systemTag", systemTag}, {"title", title}, {"percent", percent}, {"show", show}});
}

void FakeFrameEvents::OnUploadFinished(S invokeId, bool success)
{
    notified("OnUploadFinished", {{"invokeId", invokeId}, {"success", success}});
}

void FakeFrameEvents::OnDownloadFinished(S invokeId, bool success)
{
    notified("OnDownloadFinished", {{"invokeId", invokeId}, {"success", success}});
}

void FakeFrameEvents::OnApplicationClosed(S invokeId)
{
    notified("OnApplicationClosed", {{"invokeId", invokeId}});
}

void FakeFrameEvents::OnFunctionChanged(S systemTag)
{
    notified("OnFunctionChanged", {{"systemTag", systemTag}});
}

void FakeFrameEvents::OnChannelFunctionChanged(S systemTag, S channelPath)
{
    notified("OnChannelFunctionChanged", {{"systemTag", systemTag}, {"channelPath", channelPath}});
}

void FakeFrameEvents::OnPrint(S systemTag, S functionCall)
{
    notified("OnPrint", {{"systemTag", systemTag}, {"functionCall", functionCall}});
}

void FakeFrameEvents::OnNavigation(S systemTag)
{
    notified("OnNavigation", {{"systemTag", systemTag}});
}

void FakeFrameEvents::OnOnlineStateChanged(S systemTag, bool onlineState)
{
    notified("OnOnlineStateChanged", {{"systemTag", systemTag}, {"onlineState", onlineState}});
}

void FakeFrameEvents::OnPreparedToRelease(S systemTag)
{
    notified("OnPreparedToRelease", {{"systemTag", systemTag}});
}

void FakeFrameEvents::OnPreparedToReleaseCommunication(S systemTag)
{
    notified("OnPreparedToReleaseCommunication", {{"systemTag", systemTag}});
}

void FakeFrameEvents::OnInvokedFunctionFinished(S invokeId, bool success)
{
    notified("OnInvokedFunctionFinished", {{"invokeId", invokeId}, {"success", success}});
}

void FakeFrameEvents::OnScanResponse(S invokeId, S response)
{
    notified("OnScanResponse", {{"invokeId", invokeId}, {"response", response}});
}

void FakeTopology::asked(const char* op, std::vector<Argument> args)
{
    topologyCalls.push_back({op, texts(args)});
    tell("IFdtTopology", op, std::move(args));
}

std::string FakeTopology::GetParentNodes(const std::string& systemTag)
{
    asked("GetParentNodes", {{"systemTag", systemTag}});
    return EmptyTopology::GetParentNodes(systemTag);
}

std::string FakeTopology::GetChildNodes(const std::string& systemTag, const std::string& channelPath)
{
    asked("GetChildNodes", {{"systemTag", systemTag}, {"channelPath", channelPath}});
    return EmptyTopology::GetChildNodes(systemTag, channelPath);
}

std::string FakeTopology::CreateChild(const std::string& deviceType, const std::string& channelPath)
{
    asked("CreateChild", {{"deviceType", deviceType}, {"channelPath", channelPath}});
    return EmptyTopology::CreateChild(deviceType, channelPath);
}

bool FakeTopology::DeleteChild(const std::string& systemTag, const std::string& channelPath)
{
    asked("DeleteChild", {{"systemTag", systemTag}, {"channelPath", channelPath}});
    return EmptyTopology::DeleteChild(systemTag, channelPath);
}

fdt::ObjectPtr FakeTopology::GetDtmForSystemTag(const std::string& systemTag)
{
    asked("GetDtmForSystemTag", {{"systemTag", systemTag}});
    return EmptyTopology::GetDtmForSystemTag(systemTag);
}

std::string FakeTopology::GetDtmInfoList()
{
    asked("GetDtmInfoList", {});
    return EmptyTopology::GetDtmInfoList();
}

bool FakeTopology::MoveChild(const std::string& systemTag, const std::string& destinationChannelPath)
{
    asked("MoveChild", {{"systemTag", systemTag}, {"destinationChannelPath", destinationChannelPath}});
    return EmptyTopology::MoveChild(systemTag, destinationChannelPath);
}

bool FakeTopology::ReleaseDtmForSystemTag(const std::string& systemTag)
{
    asked("ReleaseDtmForSystemTag", {{"systemTag", systemTag}});
    return EmptyTopology::ReleaseDtmForSystemTag(systemTag);
}

} // namespace zeb2hart::fakes
