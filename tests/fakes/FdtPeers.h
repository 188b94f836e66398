#pragma once
// Recording stand-ins for the two FDT communication interfaces around the DTM:
// RecordingParent is the parent communication DTM (IFdtCommunication),
// RecordingChild the child device DTM's callback (IFdtCommunicationEvents).
// Each keeps the calls it receives in order and answers as it is told. Unit
// tests, benchmarks and fuzz targets use them on the one thread that drives
// the DTM; they need no test framework.

#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "fdt/CommunicationInterfaces.h"
#include "fdt/Errors.h"

namespace zeb2hart::test {

// What was observed, in order, one text per event; peers given a log write
// "<parent|child> <operation>[ <invoke id or reference>]" for each call.
using Events = std::vector<std::string>;
using EventLog = std::shared_ptr<Events>;

// One call that the parent or the child received.
struct PeerCall {
    std::string_view operation; // "TransactionRequest", "OnConnectResponse", ...
    std::string invokeId;       // or the communication reference of OnAbort
    std::string document;       // the fieldbus frame or the response
    std::string protocolId;     // of ConnectRequest
    std::weak_ptr<fdt::IFdtCommunicationEvents> callback; // of ConnectRequest
    std::thread::id thread{};                              // that made the call
};

// "<operation> <invoke id>" of each call, to compare a sequence of calls as a whole.
inline std::vector<std::string> summary(const std::vector<PeerCall>& calls)
{
    std::vector<std::string> result;
    for (const auto& call : calls)
        result.push_back(std::string(call.operation) + " " + call.invokeId);
    return result;
}

class RecordingPeer {
public:
    std::vector<PeerCall> calls;

protected:
    RecordingPeer(const char* name, EventLog log) : m_name(name), m_log(std::move(log)) {}
    void record(PeerCall call)
    {
        call.thread = std::this_thread::get_id();
        if (m_log)
            m_log->push_back(m_name + " " + std::string(call.operation) +
                             (call.invokeId.empty() ? "" : " " + call.invokeId));
        calls.push_back(std::move(call));
    }

private:
    std::string m_name;
    EventLog m_log;
};

// Takes every request and answers with the results set here.
class RecordingParent final : public fdt::IFdtCommunication, public RecordingPeer {
public:
    explicit RecordingParent(EventLog log = nullptr) : RecordingPeer("parent", std::move(log)) {}

    void Abort(const std::string& fieldbusFrame) override { record({"Abort", {}, fieldbusFrame, {}, {}}); }
    bool ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>& callback, const std::string& invokeId,
                        const std::string& protocolId, const std::string& fieldbusFrame) override
    {
        record({"ConnectRequest", invokeId, fieldbusFrame, protocolId, callback});
        return connectResult;
    }
    bool DisconnectRequest(const std::string& invokeId, const std::string& fieldbusFrame) override
    {
        record({"DisconnectRequest", invokeId, fieldbusFrame, {}, {}});
        if (throwOnDisconnect)
            throw fdt::Error("parent failed");
        return disconnectResult;
    }
    bool TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame) override
    {
        record({"TransactionRequest", invokeId, fieldbusFrame, {}, {}});
        if (transactionResults.empty())
            return transactionResult;
        const bool result = transactionResults.front();
        transactionResults.pop_front();
        return result;
    }
    std::string GetSupportedProtocols() override { return {}; }
    bool SequenceBegin(const std::string&) override { return false; }
    bool SequenceStart(const std::string&) override { return false; }
    bool SequenceEnd(const std::string&) override { return false; }

    // The same answer to every request.
    void answerAll(bool accepted) { connectResult = disconnectResult = transactionResult = accepted; }

    bool connectResult = true;
    bool disconnectResult = true;
    bool throwOnDisconnect = false;
    bool transactionResult = true;
    std::deque<bool> transactionResults; // taken first, one per transaction
};

// Takes every answer; fails (fdt::Error) after recording it when told to.
class RecordingChild final : public fdt::IFdtCommunicationEvents, public RecordingPeer {
public:
    explicit RecordingChild(EventLog log = nullptr) : RecordingPeer("child", std::move(log)) {}

    void OnAbort(const std::string& reference) override { answer("OnAbort", reference, {}); }
    void OnConnectResponse(const std::string& invokeId, const std::string& response) override
    {
        answer("OnConnectResponse", invokeId, response);
    }
    void OnDisconnectResponse(const std::string& invokeId, const std::string& response) override
    {
        answer("OnDisconnectResponse", invokeId, response);
    }
    void OnTransactionResponse(const std::string& invokeId, const std::string& response) override
    {
        answer("OnTransactionResponse", invokeId, response);
    }

    bool fail = false;

private:
    void answer(std::string_view operation, const std::string& invokeId, const std::string& document)
    {
        record({operation, invokeId, document, {}, {}});
        if (fail)
            throw fdt::Error("child failed");
    }
};

} // namespace zeb2hart::test
