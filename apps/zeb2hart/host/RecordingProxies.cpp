#include "host/RecordingProxies.h"

#include "transcript/Recording.h"

namespace zeb2hart::frame {

// --- ComponentEventsProxy -----------------------------------------------------------

void ComponentEventsProxy::OnAbort(const std::string& communicationReference)
{
    recordCall(m_transcript, m_from, eventsOp("OnAbort"), {{"communicationReference", communicationReference}},
               [&] { m_target->OnAbort(communicationReference); });
}

void ComponentEventsProxy::OnConnectResponse(const std::string& invokeId, const std::string& response)
{
    recordCall(m_transcript, m_from, eventsOp("OnConnectResponse"), {{"invokeId", invokeId}, {"response", response}},
               [&] { m_target->OnConnectResponse(invokeId, response); });
}

void ComponentEventsProxy::OnDisconnectResponse(const std::string& invokeId, const std::string& response)
{
    recordCall(m_transcript, m_from, eventsOp("OnDisconnectResponse"), {{"invokeId", invokeId}, {"response", response}},
               [&] { m_target->OnDisconnectResponse(invokeId, response); });
}

void ComponentEventsProxy::OnTransactionResponse(const std::string& invokeId, const std::string& response)
{
    recordCall(m_transcript, m_from, eventsOp("OnTransactionResponse"), {{"invokeId", invokeId}, {"response", response}},
               [&] { m_target->OnTransactionResponse(invokeId, response); });
}

// --- ComponentCommunicationProxy -------------------------------------------------------

void ComponentCommunicationProxy::Abort(const std::string& fieldbusFrame)
{
    recordCall(m_transcript, m_from, communicationOp("Abort"), {{"fieldbusFrame", fieldbusFrame}},
               [&] { m_target->Abort(fieldbusFrame); });
}

bool ComponentCommunicationProxy::ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>& callback,
                                                 const std::string& invokeId, const std::string& protocolId,
                                                 const std::string& fieldbusFrame)
{
    std::shared_ptr<fdt::IFdtCommunicationEvents> wrapped;
    if (callback)
        wrapped = std::make_shared<OutgoingEventsProxy>(m_transcript, m_from, callback, m_childLog);
    return recordCall(m_transcript, m_from, communicationOp("ConnectRequest"),
                      {{"callback", m_names.nameOf(callback)},
                       {"invokeId", invokeId},
                       {"protocolId", protocolId},
                       {"fieldbusFrame", fieldbusFrame}},
                      [&] { return m_target->ConnectRequest(wrapped, invokeId, protocolId, fieldbusFrame); });
}

bool ComponentCommunicationProxy::DisconnectRequest(const std::string& invokeId, const std::string& fieldbusFrame)
{
    return recordCall(m_transcript, m_from, communicationOp("DisconnectRequest"),
                      {{"invokeId", invokeId}, {"fieldbusFrame", fieldbusFrame}},
                      [&] { return m_target->DisconnectRequest(invokeId, fieldbusFrame); });
}

bool ComponentCommunicationProxy::TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame)
{
    return recordCall(m_transcript, m_from, communicationOp("TransactionRequest"),
                      {{"invokeId", invokeId}, {"fieldbusFrame", fieldbusFrame}},
                      [&] { return m_target->TransactionRequest(invokeId, fieldbusFrame); });
}

std::string ComponentCommunicationProxy::GetSupportedProtocols()
{
    return recordCall(m_transcript, m_from, communicationOp("GetSupportedProtocols"), Json::object(),
                      [&] { return m_target->GetSupportedProtocols(); });
}

bool ComponentCommunicationProxy::SequenceBegin(const std::string& fieldbusFrame)
{
    return recordCall(m_transcript, m_from, communicationOp("SequenceBegin"), {{"fieldbusFrame", fieldbusFrame}},
                      [&] { return m_target->SequenceBegin(fieldbusFrame); });
}

bool ComponentCommunicationProxy::SequenceStart(const std::string& fieldbusFrame)
{
    return recordCall(m_transcript, m_from, communicationOp("SequenceStart"), {{"fieldbusFrame", fieldbusFrame}},
                      [&] { return m_target->SequenceStart(fieldbusFrame); });
}

bool ComponentCommunicationProxy::SequenceEnd(const std::string& fieldbusFrame)
{
    return recordCall(m_transcript, m_from, communicationOp("SequenceEnd"), {{"fieldbusFrame", fieldbusFrame}},
                      [&] { return m_target->SequenceEnd(fieldbusFrame); });
}

// --- OutgoingCommunicationProxy ------------------------------------------------------------

void OutgoingCommunicationProxy::Abort(const std::string& fieldbusFrame)
{
    m_target->Abort(fieldbusFrame);
    recordOut(m_transcript, m_to, communicationOp("Abort"), {{"fieldbusFrame", fieldbusFrame}});
}

bool OutgoingCommunicationProxy::ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>& callback,
                                                const std::string& invokeId, const std::string& protocolId,
                                                const std::string& fieldbusFrame)
{
    m_log.push_back({"ConnectRequest", invokeId, protocolId, fieldbusFrame});
    std::shared_ptr<fdt::IFdtCommunicationEvents> wrapped;
    if (callback)
        wrapped = std::make_shared<ComponentEventsProxy>(m_transcript, m_to, callback);
    const bool result = m_target->ConnectRequest(wrapped, invokeId, protocolId, fieldbusFrame);
    return recordOut(m_transcript, m_to, communicationOp("ConnectRequest"),
                     {{"callback", m_names.nameOf(callback)},
                      {"invokeId", invokeId},
                      {"protocolId", protocolId},
                      {"fieldbusFrame", fieldbusFrame}},
                     result);
}

bool OutgoingCommunicationProxy::DisconnectRequest(const std::string& invokeId, const std::string& fieldbusFrame)
{
    m_log.push_back({"DisconnectRequest", invokeId, {}, fieldbusFrame});
    const bool result = m_target->DisconnectRequest(invokeId, fieldbusFrame);
    return recordOut(m_transcript, m_to, communicationOp("DisconnectRequest"),
                     {{"invokeId", invokeId}, {"fieldbusFrame", fieldbusFrame}}, result);
}

bool OutgoingCommunicationProxy::TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame)
{
    m_log.push_back({"TransactionRequest", invokeId, {}, fieldbusFrame});
    const bool result = m_target->TransactionRequest(invokeId, fieldbusFrame);
    return recordOut(m_transcript, m_to, communicationOp("TransactionRequest"),
                     {{"invokeId", invokeId}, {"fieldbusFrame", fieldbusFrame}}, result);
}

std::string OutgoingCommunicationProxy::GetSupportedProtocols()
{
    return recordOut(m_transcript, m_to, communicationOp("GetSupportedProtocols"), Json::object(),
                     m_target->GetSupportedProtocols());
}

bool OutgoingCommunicationProxy::SequenceBegin(const std::string& fieldbusFrame)
{
    return recordOut(m_transcript, m_to, communicationOp("SequenceBegin"), {{"fieldbusFrame", fieldbusFrame}},
                     m_target->SequenceBegin(fieldbusFrame));
}

bool OutgoingCommunicationProxy::SequenceStart(const std::string& fieldbusFrame)
{
    return recordOut(m_transcript, m_to, communicationOp("SequenceStart"), {{"fieldbusFrame", fieldbusFrame}},
                     m_target->SequenceStart(fieldbusFrame));
}

bool OutgoingCommunicationProxy::SequenceEnd(const std::string& fieldbusFrame)
{
    return recordOut(m_transcript, m_to, communicationOp("SequenceEnd"), {{"fieldbusFrame", fieldbusFrame}},
                     m_target->SequenceEnd(fieldbusFrame));
}

// --- OutgoingEventsProxy ----------------------------------------------------------------

void OutgoingEventsProxy::OnAbort(const std::string& communicationReference)
{
    m_log.push_back({"OnAbort", {}, communicationReference});
    recordOut(m_transcript, m_to, eventsOp("OnAbort"), {{"communicationReference", communicationReference}});
    m_target->OnAbort(communicationReference);
}

void OutgoingEventsProxy::OnConnectResponse(const std::string& invokeId, const std::string& response)
{
    m_log.push_back({"OnConnectResponse", invokeId, response});
    recordOut(m_transcript, m_to, eventsOp("OnConnectResponse"), {{"invokeId", invokeId}, {"response", response}});
    m_target->OnConnectResponse(invokeId, response);
}

void OutgoingEventsProxy::OnDisconnectResponse(const std::string& invokeId, const std::string& response)
{
    m_log.push_back({"OnDisconnectResponse", invokeId, response});
    recordOut(m_transcript, m_to, eventsOp("OnDisconnectResponse"), {{"invokeId", invokeId}, {"response", response}});
    m_target->OnDisconnectResponse(invokeId, response);
}

void OutgoingEventsProxy::OnTransactionResponse(const std::string& invokeId, const std::string& response)
{
    m_log.push_back({"OnTransactionResponse", invokeId, response});
    recordOut(m_transcript, m_to, eventsOp("OnTransactionResponse"), {{"invokeId", invokeId}, {"response", response}});
    m_target->OnTransactionResponse(invokeId, response);
}

} // namespace zeb2hart::frame
