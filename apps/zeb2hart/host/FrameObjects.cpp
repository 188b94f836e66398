#include "host/FrameObjects.h"

#include "transcript/Recording.h"

namespace zeb2hart::frame {

bool FrameContainer::SaveRequest(const std::string& systemTag)
{
    return recordOut(m_transcript, m_name, "IFdtContainer::SaveRequest", {{"systemTag", systemTag}},
                     m_answers->saveRequest);
}

bool FrameContainer::LockDataSet(const std::string& systemTag)
{
    return recordOut(m_transcript, m_name, "IFdtContainer::LockDataSet", {{"systemTag", systemTag}},
                     m_answers->lockDataSet);
}

bool FrameContainer::UnlockDataSet(const std::string& systemTag)
{
    return recordOut(m_transcript, m_name, "IFdtContainer::UnlockDataSet", {{"systemTag", systemTag}},
                     m_answers->unlockDataSet);
}

std::string FrameContainer::GetXmlSchemaPath()
{
    return recordOut(m_transcript, m_name, "IFdtContainer::GetXmlSchemaPath", Json::object(),
                     m_answers->xmlSchemaPath);
}

void FrameEvents::record(const char* op, Json args)
{
    recordOut(m_eventsTranscript, m_eventsName, std::string("IDtmEvents::") + op, std::move(args));
}

void FrameEvents::OnParameterChanged(const std::string& systemTag, const std::string& parameter)
{
    record("OnParameterChanged", {{"systemTag", systemTag}, {"parameter", parameter}});
}

void FrameEvents::OnErrorMessage(const std::string& systemTag, const std::string& errorMessage)
{
    record("OnErrorMessage", {{"systemTag", systemTag}, {"errorMessage", errorMessage}});
}

void FrameEvents::OnProgress(const std::string& systemTag, const std::string& title, std::int16_t percent, bool show)
{
    record("OnProgress", {{"systemTag", systemTag}, {"title", title}, {"percent", percent}, {"show", show}});
}

void FrameEvents::OnUploadFinished(const std::string& invokeId, bool success)
{
    record("OnUploadFinished", {{"invokeId", invokeId}, {"success", success}});
}

void FrameEvents::OnDownloadFinished(const std::string& invokeId, bool success)
{
    record("OnDownloadFinished", {{"invokeId", invokeId}, {"success", success}});
}

void FrameEvents::OnApplicationClosed(const std::string& invokeId)
{
    record("OnApplicationClosed", {{"invokeId", invokeId}});
}

void FrameEvents::OnFunctionChanged(const std::string& systemTag)
{
    record("OnFunctionChanged", {{"systemTag", systemTag}});
}

void FrameEvents::OnChannelFunctionChanged(const std::string& systemTag, const std::string& channelPath)
{
    record("OnChannelFunctionChanged", {{"systemTag", systemTag}, {"channelPath", channelPath}});
}

void FrameEvents::OnPrint(const std::string& systemTag, const std::string& functionCall)
{
    record("OnPrint", {{"systemTag", systemTag}, {"functionCall", functionCall}});
}

void FrameEvents::OnNavigation(const std::string& systemTag)
{
    record("OnNavigation", {{"systemTag", systemTag}});
}

void FrameEvents::OnOnlineStateChanged(const std::string& systemTag, bool onlineState)
{
    record("OnOnlineStateChanged", {{"systemTag", systemTag}, {"onlineState", onlineState}});
}

void FrameEvents::OnPreparedToRelease(const std::string& systemTag)
{
    record("OnPreparedToRelease", {{"systemTag", systemTag}});
}

void FrameEvents::OnPreparedToReleaseCommunication(const std::string& systemTag)
{
    record("OnPreparedToReleaseCommunication", {{"systemTag", systemTag}});
}

void FrameEvents::OnInvokedFunctionFinished(const std::string& invokeId, bool success)
{
    record("OnInvokedFunctionFinished", {{"invokeId", invokeId}, {"success", success}});
}

void FrameEvents::OnScanResponse(const std::string& invokeId, const std::string& response)
{
    record("OnScanResponse", {{"invokeId", invokeId}, {"response", response}});
}

void FrameTopology::record(const char* op, Json args)
{
    recordOut(m_topologyTranscript, m_topologyName, std::string("IFdtTopology::") + op, std::move(args));
}

std::string FrameTopology::GetParentNodes(const std::string& systemTag)
{
    record("GetParentNodes", {{"systemTag", systemTag}});
    return EmptyTopology::GetParentNodes(systemTag);
}

std::string FrameTopology::GetChildNodes(const std::string& systemTag, const std::string& channelPath)
{
    record("GetChildNodes", {{"systemTag", systemTag}, {"channelPath", channelPath}});
    return EmptyTopology::GetChildNodes(systemTag, channelPath);
}

std::string FrameTopology::CreateChild(const std::string& deviceType, const std::string& channelPath)
{
    record("CreateChild", {{"deviceType", deviceType}, {"channelPath", channelPath}});
    return EmptyTopology::CreateChild(deviceType, channelPath);
}

bool FrameTopology::DeleteChild(const std::string& systemTag, const std::string& channelPath)
{
    record("DeleteChild", {{"systemTag", systemTag}, {"channelPath", channelPath}});
    return EmptyTopology::DeleteChild(systemTag, channelPath);
}

fdt::ObjectPtr FrameTopology::GetDtmForSystemTag(const std::string& systemTag)
{
    record("GetDtmForSystemTag", {{"systemTag", systemTag}});
    return EmptyTopology::GetDtmForSystemTag(systemTag);
}

std::string FrameTopology::GetDtmInfoList()
{
    record("GetDtmInfoList", Json::object());
    return EmptyTopology::GetDtmInfoList();
}

bool FrameTopology::MoveChild(const std::string& systemTag, const std::string& destinationChannelPath)
{
    record("MoveChild", {{"systemTag", systemTag}, {"destinationChannelPath", destinationChannelPath}});
    return EmptyTopology::MoveChild(systemTag, destinationChannelPath);
}

bool FrameTopology::ReleaseDtmForSystemTag(const std::string& systemTag)
{
    record("ReleaseDtmForSystemTag", {{"systemTag", systemTag}});
    return EmptyTopology::ReleaseDtmForSystemTag(systemTag);
}

} // namespace zeb2hart::frame
