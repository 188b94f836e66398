#include "peers/ScriptedChild.h"

#include "transcript/Recording.h"

namespace zeb2hart::frame {

void ScriptedChild::received(const char* op, const std::string& invokeId, const std::string& document,
                             const Json& args)
{
    m_log.push_back({op, invokeId, document});
    m_faults->raiseIfChosen(m_transcript, "child", op, eventsOp(op), args, m_faults->count(op));
    recordOut(m_transcript, "child", eventsOp(op), args);
}

void ScriptedChild::OnAbort(const std::string& communicationReference)
{
    received("OnAbort", {}, communicationReference, {{"communicationReference", communicationReference}});
}

void ScriptedChild::OnConnectResponse(const std::string& invokeId, const std::string& response)
{
    received("OnConnectResponse", invokeId, response, {{"invokeId", invokeId}, {"response", response}});
}

void ScriptedChild::OnDisconnectResponse(const std::string& invokeId, const std::string& response)
{
    received("OnDisconnectResponse", invokeId, response, {{"invokeId", invokeId}, {"response", response}});
}

void ScriptedChild::OnTransactionResponse(const std::string& invokeId, const std::string& response)
{
    received("OnTransactionResponse", invokeId, response, {{"invokeId", invokeId}, {"response", response}});
}

} // namespace zeb2hart::frame
