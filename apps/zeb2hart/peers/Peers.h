#pragma once
// The component's communication peers in a frame script: the scripted parent
// (records every request and answers only what the script tells it) and the
// scripted child (records every answer), and the recording proxies that stand
// between the component and the simulated peers so that their traffic shows
// in the transcript the same way.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/Transcript.h"
#include "fdt/CommunicationInterfaces.h"

namespace zeb2hart::frame {

// Names the objects that cross the boundary, for the transcript ("dtm", "child", ...).
class ObjectNames {
public:
    void add(const fdt::ObjectPtr& object, const std::string& name);
    // The name of a known object, "object" for an unknown one, null for none.
    Json nameOf(const fdt::ObjectPtr& object) const;

private:
    std::map<const void*, std::string> m_names;
};

// One request the component sent to its parent.
struct ParentRequest {
    std::string op; // "ConnectRequest", "DisconnectRequest" or "TransactionRequest"
    std::string invokeId;
    std::string protocolId;
    std::string document;
};

// One call the component made on its child.
struct ChildCall {
    std::string op; // "OnConnectResponse", ...
    std::string invokeId;
    std::string document; // the response document, or the reference of OnAbort
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
