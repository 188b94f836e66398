#pragma once
// The scripted parent of a frame script: records every request the component
// sends it and answers only what the script tells it. Called by the component
// on the thread that runs the script.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "fdt/CommunicationInterfaces.h"
#include "transcript/ObjectNames.h"
#include "transcript/Transcript.h"
#include "peers/PeerFaults.h"

namespace zeb2hart::frame {

// One request the component sent to its parent.
struct ParentRequest {
    std::string op; // "ConnectRequest", "DisconnectRequest" or "TransactionRequest"
    std::string invokeId;
    std::string protocolId;
    std::string document;
};

// What the scripted parent's operations return.
struct ParentAnswers {
    bool connectRequest = true;
    bool disconnectRequest = true;
    bool transactionRequest = true;
    bool sequence = false;
    std::string supportedProtocols;
    // The result of one call of an operation ("TransactionRequest", 4), instead of the above.
    std::map<std::pair<std::string, long long>, Json> nthResults;
    // The calls that fail instead; also counts each operation's calls.
    PeerFaults faults;
    // When set, the parent answers each TransactionRequest it takes through this
    // before the request returns, as a parent on the same thread may.
    std::function<void(const ParentRequest&)> answerAtOnce;
};

class ScriptedParent final : public fdt::IFdtCommunication {
public:
    ScriptedParent(Transcript& transcript, const ObjectNames& names, std::shared_ptr<ParentAnswers> answers,
                   std::vector<ParentRequest>& log)
        : m_transcript(transcript), m_names(names), m_answers(std::move(answers)), m_log(log)
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

private:
    // Counts the call, fails it when the script chose so, runs `before` with the
    // result it is to return, records it with that result.
    template <class Result>
    Result answer(const char* op, Json args, Result result, const std::type_identity_t<std::function<void(Result)>>& before = {});

    Transcript& m_transcript;
    const ObjectNames& m_names;
    std::shared_ptr<ParentAnswers> m_answers;
    std::vector<ParentRequest>& m_log;
};

} // namespace zeb2hart::frame
