#include "peers/ScriptedParent.h"

#include "host/Recording.h"

namespace zeb2hart::frame {

void ScriptedParent::Abort(const std::string& fieldbusFrame)
{
    recordOut(m_transcript, "parent", communicationOp("Abort"), {{"fieldbusFrame", fieldbusFrame}});
}

bool ScriptedParent::ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>& callback,
                                    const std::string& invokeId, const std::string& protocolId,
                                    const std::string& fieldbusFrame)
{
    m_log.push_back({"ConnectRequest", invokeId, protocolId, fieldbusFrame});
    return recordOut(m_transcript, "parent", communicationOp("ConnectRequest"),
                     {{"callback", m_names.nameOf(callback)},
                      {"invokeId", invokeId},
                      {"protocolId", protocolId},
                      {"fieldbusFrame", fieldbusFrame}},
                     m_answers->connectRequest);
}

bool ScriptedParent::DisconnectRequest(const std::string& invokeId, const std::string& fieldbusFrame)
{
    m_log.push_back({"DisconnectRequest", invokeId, {}, fieldbusFrame});
    return recordOut(m_transcript, "parent", communicationOp("DisconnectRequest"),
                     {{"invokeId", invokeId}, {"fieldbusFrame", fieldbusFrame}}, m_answers->disconnectRequest);
}

bool ScriptedParent::TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame)
{
    m_log.push_back({"TransactionRequest", invokeId, {}, fieldbusFrame});
    return recordOut(m_transcript, "parent", communicationOp("TransactionRequest"),
                     {{"invokeId", invokeId}, {"fieldbusFrame", fieldbusFrame}}, m_answers->transactionRequest);
}

std::string ScriptedParent::GetSupportedProtocols()
{
    return recordOut(m_transcript, "parent", communicationOp("GetSupportedProtocols"), Json::object(),
                     m_answers->supportedProtocols);
}

bool ScriptedParent::SequenceBegin(const std::string& fieldbusFrame)
{
    return recordOut(m_transcript, "parent", communicationOp("SequenceBegin"), {{"fieldbusFrame", fieldbusFrame}},
                     m_answers->sequence);
}

bool ScriptedParent::SequenceStart(const std::string& fieldbusFrame)
{
    return recordOut(m_transcript, "parent", communicationOp("SequenceStart"), {{"fieldbusFrame", fieldbusFrame}},
                     m_answers->sequence);
}

bool ScriptedParent::SequenceEnd(const std::string& fieldbusFrame)
{
    return recordOut(m_transcript, "parent", communicationOp("SequenceEnd"), {{"fieldbusFrame", fieldbusFrame}},
                     m_answers->sequence);
}

} // namespace zeb2hart::frame
