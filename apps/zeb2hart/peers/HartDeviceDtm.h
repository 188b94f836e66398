#pragma once
// The simulated child: a HART device DTM that connects through the gateway's
// HART channel with its tag and short address, sends HART commands as FDT
// data-exchange requests and decodes the answers (command 0 into the device
// identity, response codes by their HART meaning).

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "peers/HartAnswerDecoder.h"
#include "peers/PeerDocuments.h"
#include "fdt/CommunicationInterfaces.h"

namespace zeb2hart::frame {

// One answer the child got from the gateway.
struct HartAnswer {
    std::string invokeId;
    bool communicationError = false; // an FDT communication error instead of a data answer
    std::string errorName;           // communicationError of that document
    int commandNumber = -1;
    std::vector<std::uint8_t> data;
    int deviceStatus = -1;
    int responseCode = -1;
    std::string document;
};

class HartDeviceDtm final : public fdt::IFdtCommunicationEvents, public std::enable_shared_from_this<HartDeviceDtm> {
public:
    HartDeviceDtm(std::string tag, std::int16_t shortAddress, const PeerDocuments& documents);

    // The channel the child talks to (the gateway, or a recording proxy in front of it),
    // and the callback it hands over at connect (itself, or a recording proxy).
    void attach(std::shared_ptr<fdt::IFdtCommunication> channel);
    // Told after each answer the child got (connect, disconnect, transaction, abort).
    void setObserver(std::function<void()> observer) { m_observer = std::move(observer); }

    // Each returns the channel's result; the invoke identifier used is kept in lastInvokeId().
    bool connect();
    bool disconnect();
    bool sendCommand(int commandNumber, const std::vector<std::uint8_t>& data);

    void OnAbort(const std::string& communicationReference) override;
    void OnConnectResponse(const std::string& invokeId, const std::string& response) override;
    void OnDisconnectResponse(const std::string& invokeId, const std::string& response) override;
    void OnTransactionResponse(const std::string& invokeId, const std::string& response) override;

    const std::string& tag() const { return m_tag; }
    std::int16_t shortAddress() const { return m_shortAddress; }
    const std::string& lastInvokeId() const { return m_lastInvokeId; }
    bool connected() const { return m_connected; }
    bool aborted() const { return m_aborted; }
    int disconnectResponses() const { return m_disconnectResponses; }
    const std::string& communicationReference() const { return m_communicationReference; }
    const std::optional<HartIdentity>& identity() const { return m_identity; }
    // The answer to a request, by the invoke identifier the child used.
    const HartAnswer* answerTo(const std::string& invokeId) const;
    const std::vector<HartAnswer>& answers() const { return m_answers; }
    // The command a request of the child carried, by its invoke identifier.
    std::optional<int> commandOf(const std::string& invokeId) const;

private:
    std::string nextInvokeId();
    void changed();

    std::string m_tag;
    std::int16_t m_shortAddress;
    const PeerDocuments& m_documents;
    std::shared_ptr<fdt::IFdtCommunication> m_channel;
    std::string m_communicationReference;
    std::string m_lastInvokeId;
    std::map<std::string, int> m_commandOfRequest;
    int m_nextRequest = 1;
    bool m_connected = false;
    bool m_aborted = false;
    int m_disconnectResponses = 0;
    std::optional<HartIdentity> m_identity;
    std::vector<HartAnswer> m_answers;
    std::function<void()> m_observer;
};

} // namespace zeb2hart::frame
