#pragma once
// The scripted child of a frame script: records every answer the component
// gives it, and fails the calls the script chose (PeerFaults). Called by the component on the thread that runs the script.

#include <memory>
#include <string>
#include <vector>

#include "fdt/CommunicationInterfaces.h"
#include "transcript/Transcript.h"
#include "peers/PeerFaults.h"

namespace zeb2hart::frame {

// One call the component made on its child.
struct ChildCall {
    std::string op; // "OnConnectResponse", ...
    std::string invokeId;
    std::string document; // the response document, or the reference of OnAbort
};

class ScriptedChild final : public fdt::IFdtCommunicationEvents {
public:
    ScriptedChild(Transcript& transcript, std::vector<ChildCall>& log, std::shared_ptr<PeerFaults> faults)
        : m_transcript(transcript), m_log(log), m_faults(std::move(faults))
    {
    }

    void OnAbort(const std::string& communicationReference) override;
    void OnConnectResponse(const std::string& invokeId, const std::string& response) override;
    void OnDisconnectResponse(const std::string& invokeId, const std::string& response) override;
    void OnTransactionResponse(const std::string& invokeId, const std::string& response) override;

private:
    // Logs the call, fails it when the script chose so, records it.
    void received(const char* op, const std::string& invokeId, const std::string& document, const Json& args);

    Transcript& m_transcript;
    std::vector<ChildCall>& m_log;
    std::shared_ptr<PeerFaults> m_faults;
};

} // namespace zeb2hart::frame
