#pragma once
// The recording proxies that stand between the component and its simulated
// peers, so that their traffic shows in the transcript the way the scripted
// peers' does: one proxy for each direction of IFdtCommunication and
// IFdtCommunicationEvents. Used by the session on the thread that runs it.

#include <memory>
#include <string>
#include <vector>

#include "fdt/CommunicationInterfaces.h"
#include "transcript/ObjectNames.h"
#include "transcript/Transcript.h"
#include "peers/ScriptedChild.h"
#include "peers/ScriptedParent.h"

namespace zeb2hart::frame {

class OutgoingEventsProxy;

// A peer's calls into the component's IFdtCommunicationEvents (the parent's answers).
class ComponentEventsProxy final : public fdt::IFdtCommunicationEvents {
public:
    ComponentEventsProxy(Transcript& transcript, std::string from, std::shared_ptr<fdt::IFdtCommunicationEvents> target)
        : m_transcript(transcript), m_from(std::move(from)), m_target(std::move(target))
    {
    }

    void OnAbort(const std::string& communicationReference) override;
    void OnConnectResponse(const std::string& invokeId, const std::string& response) override;
    void OnDisconnectResponse(const std::string& invokeId, const std::string& response) override;
    void OnTransactionResponse(const std::string& invokeId, const std::string& response) override;

private:
    Transcript& m_transcript;
    std::string m_from;
    std::shared_ptr<fdt::IFdtCommunicationEvents> m_target;
};

// A peer's calls into the component's IFdtCommunication (the child's requests).
// The callback it passes on is wrapped so that the component's answers are recorded.
class ComponentCommunicationProxy final : public fdt::IFdtCommunication {
public:
    ComponentCommunicationProxy(Transcript& transcript, const ObjectNames& names, std::string from,
                                std::shared_ptr<fdt::IFdtCommunication> target, std::vector<ChildCall>& childLog)
        : m_transcript(transcript), m_names(names), m_from(std::move(from)), m_target(std::move(target)),
          m_childLog(childLog)
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
    std::string m_from;
    std::shared_ptr<fdt::IFdtCommunication> m_target;
    std::vector<ChildCall>& m_childLog;
};

// The component's calls on a simulated parent: recorded and logged as requests.
// The component's own callback is wrapped so that the parent's answers are recorded.
class OutgoingCommunicationProxy final : public fdt::IFdtCommunication {
public:
    OutgoingCommunicationProxy(Transcript& transcript, const ObjectNames& names, std::string to,
                               std::shared_ptr<fdt::IFdtCommunication> target, std::vector<ParentRequest>& log)
        : m_transcript(transcript), m_names(names), m_to(std::move(to)), m_target(std::move(target)), m_log(log)
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

    const std::shared_ptr<fdt::IFdtCommunication>& target() const { return m_target; }

private:
    Transcript& m_transcript;
    const ObjectNames& m_names;
    std::string m_to;
    std::shared_ptr<fdt::IFdtCommunication> m_target;
    std::vector<ParentRequest>& m_log;
};

// The component's calls on a simulated child: recorded, then passed on.
class OutgoingEventsProxy final : public fdt::IFdtCommunicationEvents {
public:
    OutgoingEventsProxy(Transcript& transcript, std::string to, std::shared_ptr<fdt::IFdtCommunicationEvents> target,
                        std::vector<ChildCall>& log)
        : m_transcript(transcript), m_to(std::move(to)), m_target(std::move(target)), m_log(log)
    {
    }

    void OnAbort(const std::string& communicationReference) override;
    void OnConnectResponse(const std::string& invokeId, const std::string& response) override;
    void OnDisconnectResponse(const std::string& invokeId, const std::string& response) override;
    void OnTransactionResponse(const std::string& invokeId, const std::string& response) override;

    const std::shared_ptr<fdt::IFdtCommunicationEvents>& target() const { return m_target; }

private:
    Transcript& m_transcript;
    std::string m_to;
    std::shared_ptr<fdt::IFdtCommunicationEvents> m_target;
    std::vector<ChildCall>& m_log;
};

} // namespace zeb2hart::frame
