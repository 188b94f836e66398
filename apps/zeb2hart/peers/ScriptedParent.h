#pragma once
// The scripted parent of a frame script: records every request the component
// sends it and answers only what the script tells it. Called by the component
// on the thread that runs the script.

#include <memory>
#include <string>
#include <vector>

#include "fdt/CommunicationInterfaces.h"
#include "host/ObjectNames.h"
#include "host/Transcript.h"

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
    Transcript& m_transcript;
    const ObjectNames& m_names;
    std::shared_ptr<ParentAnswers> m_answers;
    std::vector<ParentRequest>& m_log;
};

} // namespace zeb2hart::frame
