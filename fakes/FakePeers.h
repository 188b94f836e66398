#pragma once
// The fakes of the two FDT communication interfaces around a DTM: FakeParent is
// its parent communication DTM (IFdtCommunication), FakeChild its child device
// DTM's callback (IFdtCommunicationEvents). Each keeps the calls it receives in
// order, answers as it is told, fails the calls chosen in its PeerFaults and
// tells its observer of each call. Used on the one thread that drives the DTM.

#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "FakeCalls.h"
#include "PeerFaults.h"
#include "fdt/CommunicationInterfaces.h"

namespace zeb2hart::fakes {

// One call that the parent or the child received.
struct PeerCall {
    std::string_view operation; // "TransactionRequest", "OnConnectResponse", ...
    std::string invokeId;       // none for Abort and OnAbort
    std::string document;       // the fieldbus frame, the response, or the communication reference of OnAbort
    std::string protocolId;     // of ConnectRequest
    std::weak_ptr<fdt::IFdtCommunicationEvents> callback; // of ConnectRequest
    std::thread::id thread{};                              // that made the call
};

// "<operation> <invoke id>" of each call, to compare a sequence of calls as a whole.
std::vector<std::string> summary(const std::vector<PeerCall>& calls);

// What the parent's operations return.
struct ParentAnswers {
    bool connectRequest = true;
    bool disconnectRequest = true;
    bool transactionRequest = true;
    bool sequence = false;
    std::string supportedProtocols;
    // The result of one call of an operation ("TransactionRequest", 4), instead of the above.
    std::map<std::pair<std::string, long long>, Value> nthResults;
    // When set, the parent answers each TransactionRequest it takes through this
    // before the request returns, as a parent on the same thread may.
    std::function<void(const PeerCall&)> answerAtOnce;

    // The same answer to every request.
    void answerAll(bool accepted) { connectRequest = disconnectRequest = transactionRequest = accepted; }
};

// A peer's record of calls, its failures and what it tells of them.
class FakePeer : public ObservedFake {
public:
    std::vector<PeerCall> calls;
    PeerFaults faults;

protected:
    using ObservedFake::ObservedFake;
    // Keeps the call and counts it; answers its number among the calls of its operation.
    long long take(PeerCall call);
    // Fails call `n` when chosen: the observer is told of the error (with the
    // arguments `args()` makes), which is then thrown.
    template <class Args>
    void failIfChosen(const char* interfaceName, const char* op, long long n, const Args& args) const;
};

class FakeParent final : public fdt::IFdtCommunication, public FakePeer {
public:
    explicit FakeParent(std::string name = "parent", Observer observer = {})
        : FakePeer(std::move(name), std::move(observer))
    {
    }

    void Abort(const std::string& fieldbusFrame) override;
    bool ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>& callback, const std::string& invokeId,
                        const std::string& protocolId, const std::string& fieldbusFrame) override;
    bool DisconnectRequest(const std::string& invokeId, const std::string& fieldbusFrame) override;
    bool TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame) override;
    std::string GetSupportedProtocols() override;
    bool SequenceBegin(const std::string& fieldbusFrame) override;
    bool SequenceStart(const std::string& fieldbusFrame) override;
    bool SequenceEnd(const std::string& fieldbusFrame) override;

    // The next calls of `op` answer these, one per call; later ones answer as before.
    void answerNext(std::string_view op, std::initializer_list<Value> results);

    ParentAnswers answers;

private:
    template <class Result, class Args>
    Result answer(PeerCall call, Result result, const Args& args);
};

class FakeChild final : public fdt::IFdtCommunicationEvents, public FakePeer {
public:
    explicit FakeChild(std::string name = "child", Observer observer = {})
        : FakePeer(std::move(name), std::move(observer))
    {
    }

    void OnAbort(const std::string& communicationReference) override;
    void OnConnectResponse(const std::string& invokeId, const std::string& response) override;
    void OnDisconnectResponse(const std::string& invokeId, const std::string& response) override;
    void OnTransactionResponse(const std::string& invokeId, const std::string& response) override;

private:
    void received(const char* op, const std::string& invokeId, const std::string& document, const char* idName);
};

} // namespace zeb2hart::fakes
