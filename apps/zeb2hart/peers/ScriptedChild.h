#pragma once
// The scripted child of a frame script: records every answer the component
// gives it. Called by the component on the thread that runs the script.

#include <string>
#include <vector>

#include "fdt/CommunicationInterfaces.h"
#include "host/Transcript.h"

namespace zeb2hart::frame {

// One call the component made on its child.
struct ChildCall {
    std::string op; // "OnConnectResponse", ...
    std::string invokeId;
    std::string document; // the response document, or the reference of OnAbort
};

class ScriptedChild final : public fdt::IFdtCommunicationEvents {
public:
    ScriptedChild(Transcript& transcript, std::vector<ChildCall>& log) : m_transcript(transcript), m_log(log) {}

    void OnAbort(const std::string& communicationReference) override;
    void OnConnectResponse(const std::string& invokeId, const std::string& response) override;
    void OnDisconnectResponse(const std::string& invokeId, const std::string& response) override;
    void OnTransactionResponse(const std::string& invokeId, const std::string& response) override;

private:
    Transcript& m_transcript;
    std::vector<ChildCall>& m_log;
};

} // namespace zeb2hart::frame
