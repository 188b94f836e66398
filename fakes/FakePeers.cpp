#include "FakePeers.h"

#include "fdt/Errors.h"

namespace zeb2hart::fakes {

std::vector<std::string> summary(const std::vector<PeerCall>& calls)
{
    std::vector<std::string> result;
    for (const auto& call : calls)
        result.push_back(std::string(call.operation) + " " + call.invokeId);
    return result;
}

long long FakePeer::take(PeerCall call)
{
    call.thread = std::this_thread::get_id();
    const std::string_view op = call.operation;
    calls.push_back(std::move(call));
    return faults.count(op);
}

template <class Args>
void FakePeer::failIfChosen(const char* interfaceName, const char* op, long long n, const Args& args) const
{
    if (!faults.chosen(op, n))
        return;
    const fdt::Error error("the scripted " + name + " fails " + op + " (call " + std::to_string(n) + ")");
    tell(interfaceName, op, observer ? args() : std::vector<Argument>{}, std::nullopt, &error);
    throw error;
}

template <class Result, class Args>
Result FakeParent::answer(PeerCall call, Result result, const Args& args)
{
    const char* op = call.operation.data(); // every operation's name is a literal
    const long long n = take(std::move(call));
    failIfChosen("IFdtCommunication", op, n, args);
    if (!answers.nthResults.empty()) {
        if (const auto chosen = answers.nthResults.find({op, n}); chosen != answers.nthResults.end())
            result = std::get<Result>(chosen->second);
    }
    if constexpr (std::is_same_v<Result, bool>) {
        if (result && answers.answerAtOnce && calls.back().operation == "TransactionRequest") {
            const PeerCall taken = calls.back();
            answers.answerAtOnce(taken);
        }
    }
    if (observer)
        tell("IFdtCommunication", op, args(), Value(result));
    return result;
}

void FakeParent::answerNext(std::string_view op, std::initializer_list<Value> results)
{
    long long n = faults.counted(op);
    for (const Value& result : results)
        answers.nthResults[{std::string(op), ++n}] = result;
}

void FakeParent::Abort(const std::string& fieldbusFrame)
{
    const long long n = take({"Abort", {}, fieldbusFrame, {}, {}});
    const auto args = [&] { return std::vector<Argument>{{"fieldbusFrame", fieldbusFrame}}; };
    failIfChosen("IFdtCommunication", "Abort", n, args);
    if (observer)
        tell("IFdtCommunication", "Abort", args());
}

bool FakeParent::ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>& callback,
                                const std::string& invokeId, const std::string& protocolId,
                                const std::string& fieldbusFrame)
{
    return answer({"ConnectRequest", invokeId, fieldbusFrame, protocolId, callback}, answers.connectRequest, [&] {
        return std::vector<Argument>{{"callback", fdt::ObjectPtr(callback)},
                                     {"invokeId", invokeId},
                                     {"protocolId", protocolId},
                                     {"fieldbusFrame", fieldbusFrame}};
    });
}

bool FakeParent::DisconnectRequest(const std::string& invokeId, const std::string& fieldbusFrame)
{
    return answer({"DisconnectRequest", invokeId, fieldbusFrame, {}, {}}, answers.disconnectRequest, [&] {
        return std::vector<Argument>{{"invokeId", invokeId}, {"fieldbusFrame", fieldbusFrame}};
    });
}

bool FakeParent::TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame)
{
    return answer({"TransactionRequest", invokeId, fieldbusFrame, {}, {}}, answers.transactionRequest, [&] {
        return std::vector<Argument>{{"invokeId", invokeId}, {"fieldbusFrame", fieldbusFrame}};
    });
}

std::string FakeParent::GetSupportedProtocols()
{
    return answer({"GetSupportedProtocols", {}, {}, {}, {}}, answers.supportedProtocols,
                  [] { return std::vector<Argument>{}; });
}

bool FakeParent::SequenceBegin(const std::string& fieldbusFrame)
{
    return answer({"SequenceBegin", {}, fieldbusFrame, {}, {}}, answers.sequence,
                  [&] { return std::vector<Argument>{{"fieldbusFrame", fieldbusFrame}}; });
}

bool FakeParent::SequenceStart(const std::string& fieldbusFrame)
{
    return answer({"SequenceStart", {}, fieldbusFrame, {}, {}}, answers.sequence,
                  [&] { return std::vector<Argument>{{"fieldbusFrame", fieldbusFrame}}; });
}

bool FakeParent::SequenceEnd(const std::string& fieldbusFrame)
{
    return answer({"SequenceEnd", {}, fieldbusFrame, {}, {}}, answers.sequence,
                  [&] { return std::vector<Argument>{{"fieldbusFrame", fieldbusFrame}}; });
}

void FakeChild::received(const char* op, const std::string& invokeId, const std::string& document, const char* idName)
{
    const long long n = take({op, invokeId, document, {}, {}});
    const auto args = [&] {
        if (idName[0] == 'c') // OnAbort: its one argument is the reference
            return std::vector<Argument>{{idName, document}};
        return std::vector<Argument>{{idName, invokeId}, {"response", document}};
    };
    failIfChosen("IFdtCommunicationEvents", op, n, args);
    if (observer)
        tell("IFdtCommunicationEvents", op, args());
}

void FakeChild::OnAbort(const std::string& communicationReference)
{
    received("OnAbort", {}, communicationReference, "communicationReference");
}

void FakeChild::OnConnectResponse(const std::string& invokeId, const std::string& response)
{
    received("OnConnectResponse", invokeId, response, "invokeId");
}

void FakeChild::OnDisconnectResponse(const std::string& invokeId, const std::string& response)
{
    received("OnDisconnectResponse", invokeId, response, "invokeId");
}

void FakeChild::OnTransactionResponse(const std::string& invokeId, const std::string& response)
{
    received("OnTransactionResponse", invokeId, response, "invokeId");
}

} // namespace zeb2hart::fakes
