#pragma once
// The HART channel of the gateway: the child's connect, disconnect and HART
// commands turned into ZEB requests to the parent, and the parent's answers
// turned back into HART answers. DTMMain owns one and forwards its
// IFdtCommunication and IFdtCommunicationEvents operations to it, on the one
// thread that calls into the component (the frame's apartment); the timer's
// expiry arrives on that thread too, from its event loop.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fdt/CommunicationInterfaces.h"
#include "gateway/clsCommunicator.h"
#include "gateway/clsTimerControl.h"
#include "gateway/TrafficTally.h"
#include "support/Monitor.h"
#include "xml/ProtocolIds.h"
#include "xml/Records.h"

namespace zeb2hart::xml {
class XMLHelp;
}

namespace zeb2hart::gateway {

// What the gateway needs from the DTM object that owns it.
class GatewayHost : public support::MonitorSink {
public:
    // PersistentWarmstartDelay, in seconds.
    virtual std::int16_t warmstartDelay() const = 0;
    // The six identity texts, in the order of the command 0 layout.
    virtual std::array<std::string, 6> identityTexts() const = 0;
    // Sets CommStatus and pushes it to the pages (Set_Status).
    virtual void setCommStatus(std::int32_t status) = 0;
    // The DTM itself as the callback the parent answers through.
    virtual std::shared_ptr<fdt::IFdtCommunicationEvents> selfAsCallback() = 0;
};

using xml::kHartProtocolId;
using xml::kZebProtocolId;
constexpr const char* kBroadcastTelegram = "8000000300";

// The HART response code for a ZEB status byte and the answer's data bytes.
std::uint8_t ZEBStatusToResponseCode(std::uint8_t status, const std::vector<std::uint8_t>& data);
// The monitor text of command 129 for request byte 3.
std::string BroadcastText(std::uint8_t code);

class HartGateway {
public:
    HartGateway(GatewayHost& host, xml::XMLHelp& xmlHelp, std::shared_ptr<platform::EventLoop> loop);

    // IFdtCommunication, as the child calls it.
    std::string GetSupportedProtocols();
    bool ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>& callback, const std::string& invokeId,
                        const std::string& protocolId, const std::string& fieldbusFrame);
    bool DisconnectRequest(const std::string& invokeId, const std::string& fieldbusFrame);
    bool TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame);
    void Abort(const std::string&) {}
    bool SequenceBegin(const std::string&) { return false; }
    bool SequenceStart(const std::string&) { return false; }
    bool SequenceEnd(const std::string&) { return false; }

    // IFdtCommunicationEvents, as the parent calls it. Failures reach the caller where noted.
    void OnAbort(const std::string& communicationReference);
    void OnConnectResponse(const std::string& invokeId, const std::string& response);
    void OnDisconnectResponse(const std::string& invokeId, const std::string& response);
    void OnTransactionResponse(const std::string& invokeId, const std::string& response);

    void TimeoutTimer_TimerEvent();
    // Lets go of the parent and the child's callback and stops the timer (the
    // instance's last outside holder has let go of it).
    void detach() noexcept;

    clsCommunicator& communicator() { return m_Communicator; }
    const clsCommunicator& communicator() const { return m_Communicator; }
    clsTimerControl& timeoutTimer() { return TimeoutTimer; }
    std::int16_t HARTCommand() const { return m_HARTCommand; }
    const std::array<std::uint8_t, 12>& Cmd0Response() const { return m_Cmd0Response; }
    const std::string& ZebInvokeId() const { return m_ZebInvokeId; }
    // The traffic and error counters of this instance's connections.
    const std::vector<ConnectionCounters>& counters() const { return m_tally.connections(); }

private:
    // The parent's answer to the child's request: a ZEB error answer, the answer
    // to a single request (commands 128, 129, 131), or one answer of the command 0
    // identity sequence. Each ends with the child's answer, if one is due.
    void answerError(const std::string& invokeId, const xml::ZebErrorAnswer& error);
    void showZebResponse(const std::string& invokeId, const xml::ZebTransactionResponse& response);
    void answerSingleRequest(const std::string& invokeId, const xml::ZebTransactionResponse& response);
    void answerIdentityElement(const std::string& invokeId, const xml::ZebTransactionResponse& response);

    // "Request ZEB", the header line "ObjNo.: … TAB SubNo.: … TAB MsgType : … TAB
    // Ctrl.: …" read back from the built request, and its data after `dataLabel`
    // when there are data (no data line without a label).
    void showZebRequest(const std::string& invokeId, const std::string& request, const char* dataLabel);
    // The warm-start telegram under a new m_ZebInvokeId (disconnect and time-out).
    void sendBroadcast();
    void armTimeout();
    // Each sets `result` as soon as the parent has answered, so that a later
    // failure still returns what the parent said.
    bool sendSingleRequest(const std::string& invokeId, const xml::HartTransactionRequest& childRequest,
                           std::int16_t messageType, bool& result);
    void sendDelayedDataRead(const std::string& invokeId, const xml::HartTransactionRequest& childRequest,
                             bool& result);
    void sendIdentitySequence(const std::string& invokeId, const xml::HartTransactionRequest& childRequest,
                              bool& result);
    void reportSent(bool taken);
    // One data-exchange request to the parent, counted as it goes: for the child's `command`, or
    // for none (the gateway's own broadcast). Answers whether the parent took it.
    bool askParent(fdt::IFdtCommunication& driver, const std::string& invokeId, const std::string& request,
                   const std::int16_t* command);
    // The child's answer, counted as it goes.
    void answerChild(const std::string& invokeId, const std::string& answer);

    GatewayHost& m_host;
    xml::XMLHelp& m_XMLHelp;
    clsCommunicator m_Communicator;
    clsTimerControl TimeoutTimer;
    TrafficTally m_tally;
    std::int16_t m_HARTCommand = 0;
    std::array<std::uint8_t, 12> m_Cmd0Response{};
    std::string m_ZebInvokeId;
};

} // namespace zeb2hart::gateway
