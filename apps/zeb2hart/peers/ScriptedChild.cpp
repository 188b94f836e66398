#include "peers/ScriptedChild.h"

#include "host/Recording.h"

namespace zeb2hart::frame {

void ScriptedChild::OnAbort(const std::string& communicationReference)
{
    m_log.push_back({"OnAbort", {}, communicationReference});
    recordOut(m_transcript, "child", eventsOp("OnAbort"), {{"communicationReference", communicationReference}});
}

void ScriptedChild::OnConnectResponse(const std::string& invokeId, const std::string& response)
{
    m_log.push_back({"OnConnectResponse", invokeId, response});
    recordOut(m_transcript, "child", eventsOp("OnConnectResponse"), {{"invokeId", invokeId}, {"response", response}});
}

void ScriptedChild::OnDisconnectResponse(const std::string& invokeId, const std::string& response)
{
    m_log.push_back({"OnDisconnectResponse", invokeId, response});
    recordOut(m_transcript, "child", eventsOp("OnDisconnectResponse"), {{"invokeId", invokeId}, {"response", response}});
}

void ScriptedChild::OnTransactionResponse(const std::string& invokeId, const std::string& response)
{
    m_log.push_back({"OnTransactionResponse", invokeId, response});
    recordOut(m_transcript, "child", eventsOp("OnTransactionResponse"),
              {{"invokeId", invokeId}, {"response", response}});
}

} // namespace zeb2hart::frame
