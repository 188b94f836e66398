#include "peers/ScriptedParent.h"

#include "transcript/Recording.h"

namespace zeb2hart::frame {

template <class Result>
Result ScriptedParent::answer(const char* op, Json args, Result result, const std::type_identity_t<std::function<void(Result)>>& before)
{
    const long long n = m_answers->faults.count(op);
    m_answers->faults.raiseIfChosen(m_transcript, "parent", op, communicationOp(op), args, n);
    if (const auto chosen = m_answers->nthResults.find({op, n}); chosen != m_answers->nthResults.end())
        result = chosen->second.get<Result>();
    if (before)
        before(result);
    return recordOut(m_transcript, "parent", communicationOp(op), std::move(args), result);
}

void ScriptedParent::Abort(const std::string& fieldbusFrame)
{
    const Json args = {{"fieldbusFrame", fieldbusFrame}};
    m_answers->faults.raiseIfChosen(m_transcript, "parent", "Abort", communicationOp("Abort"), args,
                                    m_answers->faults.count("Abort"));
    recordOut(m_transcript, "parent", communicationOp("Abort"), args);
}

bool ScriptedParent::ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>& callback,
                                    const std::string& invokeId, const std::string& protocolId,
                                    const std::string& fieldbusFrame)
{
    m_log.push_back({"ConnectRequest", invokeId, protocolId, fieldbusFrame});
    return answer("ConnectRequest",
                  {{"callback", m_names.nameOf(callback)},
                   {"invokeId", invokeId},
                   {"protocolId", protocolId},
                   {"fieldbusFrame", fieldbusFrame}},
                  m_answers->connectRequest);
}

bool ScriptedParent::DisconnectRequest(const std::string& invokeId, const std::string& fieldbusFrame)
{
    m_log.push_back({"DisconnectRequest", invokeId, {}, fieldbusFrame});
    return answer("DisconnectRequest", {{"invokeId", invokeId}, {"fieldbusFrame", fieldbusFrame}},
                  m_answers->disconnectRequest);
}

bool ScriptedParent::TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame)
{
    m_log.push_back({"TransactionRequest", invokeId, {}, fieldbusFrame});
    const ParentRequest request = m_log.back();
    return answer("TransactionRequest", {{"invokeId", invokeId}, {"fieldbusFrame", fieldbusFrame}},
                  m_answers->transactionRequest, [this, &request](bool taken) {
                      if (taken && m_answers->answerAtOnce)
                          m_answers->answerAtOnce(request);
                  });
}

std::string ScriptedParent::GetSupportedProtocols()
{
    return answer("GetSupportedProtocols", Json::object(), m_answers->supportedProtocols);
}

bool ScriptedParent::SequenceBegin(const std::string& fieldbusFrame)
{
    return answer("SequenceBegin", {{"fieldbusFrame", fieldbusFrame}}, m_answers->sequence);
}

bool ScriptedParent::SequenceStart(const std::string& fieldbusFrame)
{
    return answer("SequenceStart", {{"fieldbusFrame", fieldbusFrame}}, m_answers->sequence);
}

bool ScriptedParent::SequenceEnd(const std::string& fieldbusFrame)
{
    return answer("SequenceEnd", {{"fieldbusFrame", fieldbusFrame}}, m_answers->sequence);
}

} // namespace zeb2hart::frame
