#include "gateway/HartGateway.h"

#include <exception>
#include <span>
#include <variant>

#include "fdt/Errors.h"
#include "support/Conversions.h"
#include "xml/XMLHelp.h"

namespace zeb2hart::gateway {

namespace {

namespace color = support::color;
namespace filter = support::filter;

constexpr const char* kCrLf = "\r\n";

using xml::kZebBroadcastMessage;
using xml::kZebDataExchangeMessage;

// HART answers made by the gateway itself.
constexpr std::uint8_t kNotImplemented = 50;

constexpr const char* kTransactionRequestName = "IFdtCommunication_TransactionRequest";
constexpr const char* kTransactionRequestCall = "IFdtCommunication_TransactionRequest()";
constexpr const char* kConnectRequestName = "IFdtCommunication.ConnectRequest()";
constexpr const char* kDisconnectRequestName = "IFdtCommunication_DisconnectRequest";

std::string decimal(std::int32_t value)
{
    return std::to_string(value);
}

std::string hartResponseHeading(std::int16_t command)
{
    return "Response HART 'Command #" + decimal(command) + "'";
}

std::string statusLine(std::uint8_t deviceStatus, std::uint8_t responseCode)
{
    return "Status : " + decimal(deviceStatus) + "\tCommand Response : " + decimal(responseCode) + kCrLf;
}

std::shared_ptr<fdt::IFdtCommunication> requireDriver(const clsCommunicator& communicator)
{
    const auto& driver = communicator.ZEBDriverInterface();
    if (!driver)
        throw fdt::NullObjectError("no communication interface of the parent is set");
    return driver;
}

std::shared_ptr<fdt::IFdtCommunicationEvents> requireCallback(const clsCommunicator& communicator)
{
    const auto& callback = communicator.CallbackInterface();
    if (!callback)
        throw fdt::NullObjectError("no child is connected");
    return callback;
}

} // namespace

std::uint8_t ZEBStatusToResponseCode(std::uint8_t status, const std::vector<std::uint8_t>& data)
{
    const auto bit = [status](int n) { return (status & (1u << n)) != 0; };
    switch (status & 0xC0) {
    case 0x00:
        if (bit(5) || bit(4))
            return 1;
        if (bit(1))
            return 32;
        if (bit(0))
            return 13;
        return 0;
    case 0x40:
        if (bit(5) || bit(4))
            return 1;
        return 0;
    case 0x80:
        if (bit(5) || bit(4) || bit(3))
            return 1;
        if (bit(2))
            return 32;
        if (bit(1))
            return 16;
        if (bit(0))
            return 6;
        return 0;
    default: // 0xC0
        if (bit(5) || bit(4))
            return 1;
        if (bit(0)) {
            for (const std::uint8_t byte : data) {
                const std::uint8_t masked = byte & 0xCF;
                if (masked & 0x01)
                    return 4;
                if (masked & 0x02)
                    return 3;
                if (masked & 0x04)
                    return 2;
                if (masked & 0x80)
                    return 7;
            }
        }
        return 0;
    }
}

std::string BroadcastText(std::uint8_t code)
{
    static constexpr const char* texts[] = {
        "Info Text",          "Coldstart request",    "Coldstart execute", "Warmstart request",
        "Warmstart execute",  "Stop measuring mode",  "Start measuring mode", "Error Reset",
        "Hand-over to cyclic Object", "Delayed Response",
    };
    if (code < std::size(texts))
        return texts[code];
    return {};
}

HartGateway::HartGateway(GatewayHost& host, xml::XMLHelp& xmlHelp, std::shared_ptr<platform::EventLoop> loop)
    : m_host(host), m_XMLHelp(xmlHelp), TimeoutTimer(loop), m_tally(loop)
{
    TimeoutTimer.TimerEvent = [this] {
        // The timer's expiry arrives from the event loop, which has no one to report
        // to: a failure ends the handler and the telegram is not sent. The
        // instance stays alive until the handler ends, whoever lets go of it
        // while the parent takes the telegram.
        try {
            const auto alive = m_host.selfAsCallback();
            TimeoutTimer_TimerEvent();
        } catch (const std::exception&) {
        }
    };
}

// --- IFdtCommunication ----------------------------------------------------------

std::string HartGateway::GetSupportedProtocols()
{
    m_host.MonitorMsg("IFdtCommunication_GetSupportedProtocols()", "Successful", color::Green, filter::FdtInterface);
    return m_XMLHelp.GetSupportedProtocols();
}

bool HartGateway::ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>& callback,
                                 const std::string& invokeId, const std::string& protocolId,
                                 const std::string& fieldbusFrame)
{
    std::string refusal;
    if (m_Communicator.CallbackInterface())
        refusal = "CallbackInterface Pointer in Communicator class already set";
    else if (!callback)
        refusal = "Transfered CallbackInterface Pointer is Nothing";
    else if (protocolId != kHartProtocolId)
        refusal = "Transfered Protocol Id is wrong";
    if (!refusal.empty()) {
        m_host.MonitorMsg(kConnectRequestName, refusal, color::Red, filter::FdtInterface);
        return false;
    }

    try {
        const xml::HartConnectRequest childRequest = m_XMLHelp.ReadHartConnectRequest(fieldbusFrame);
        m_Communicator.shortAddress(childRequest.shortAddress.text());
        m_Communicator.CallbackInterface(callback);
        m_tally.connectionStarted();
        const std::string request = m_XMLHelp.BuildHARTConnectRequest(childRequest.tag.text());
        m_host.MonitorMsg(kConnectRequestName, "", color::Green, filter::FdtInterface);
        const bool accepted =
            requireDriver(m_Communicator)->ConnectRequest(m_host.selfAsCallback(), invokeId, kZebProtocolId, request);
        if (!accepted) {
            m_Communicator.CallbackInterface(nullptr);
            m_tally.connectionRefused();
        }
        return accepted;
    } catch (const std::exception&) {
        m_host.MonitorMsg(kConnectRequestName, "Critical Error in IFdtCommunication.ConnectRequest", color::Red,
                          filter::FdtInterface);
        return false;
    }
}

bool HartGateway::DisconnectRequest(const std::string& invokeId, const std::string& fieldbusFrame)
{
    // The warm-start broadcast goes out first; its failures reach the caller.
    sendBroadcast();

    if (!m_Communicator.CallbackInterface())
        return false;
    try {
        m_host.MonitorMsg(kDisconnectRequestName, "", color::Green, filter::FdtInterface);
        return requireDriver(m_Communicator)->DisconnectRequest(invokeId, fieldbusFrame);
    } catch (const std::exception&) {
        m_host.MonitorMsg(kDisconnectRequestName, "Critical Error in IFdtCommunication_DisconnectRequest",
                          color::Red, filter::FdtInterface);
        return false;
    }
}

bool HartGateway::TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame)
{
    if (!m_Communicator.CallbackInterface())
        return false;

    bool result = false;
    try {
        const xml::HartTransactionRequest request = m_XMLHelp.ReadHartTransactionRequest(fieldbusFrame);
        m_HARTCommand = support::toInteger(request.commandNumber.text());
        m_tally.childRequest(invokeId, m_HARTCommand);
        const std::string& dataText = request.data.text();
        const std::vector<std::uint8_t> bytes = support::HexToByteArray(dataText);
        m_host.MonitorMsg("Request HART 'Command #" + decimal(m_HARTCommand) + "'", "InvokeID " + invokeId,
                          color::Black, filter::HartProtocol);

        std::string simulatedData;
        std::uint8_t responseCode = kNotImplemented;
        switch (m_HARTCommand) {
        case 0:
            // Taken, whatever the parent did with the reads: the child is
            // answered after the last read's answer, which may have come already.
            sendIdentitySequence(invokeId, request, result);
            return true;
        case 59:
            simulatedData = dataText;
            responseCode = 0;
            break;
        case 128:
            // The telegram needs at least its object number.
            if (bytes.size() < 2)
                throw fdt::NotFoundError("command 128 carries fewer than two bytes");
            m_host.MonitorMsg("", "ZEB Protocol : " + support::ByteArrayToHex(bytes), color::Black,
                              filter::HartProtocol);
            armTimeout();
            return sendSingleRequest(invokeId, request, kZebDataExchangeMessage, result);
        case 129:
            if (bytes.size() < 4)
                throw fdt::NotFoundError("command 129 carries fewer than four bytes");
            m_host.MonitorMsg("Broadcast", BroadcastText(bytes[3]), color::Blue, filter::ZebProtocol);
            return sendSingleRequest(invokeId, request, kZebBroadcastMessage, result);
        case 131:
            sendDelayedDataRead(invokeId, request, result);
            armTimeout();
            return result;
        default:
            break;
        }

        // Simulated answers. While identity reads are pending nothing is answered now.
        if (!m_Communicator.pendingReads().empty())
            return true;

        const std::uint8_t deviceStatus = 0;
        m_host.MonitorMsg(kTransactionRequestName, "HART Simulation", color::Green, filter::FdtInterface);
        m_host.MonitorMsg(hartResponseHeading(m_HARTCommand), "invokeID " + invokeId, color::Black,
                          filter::HartProtocol);
        if (!simulatedData.empty())
            m_host.MonitorMsg("", "Data : " + simulatedData, color::Black, filter::HartProtocol);
        m_host.MonitorMsg("", statusLine(deviceStatus, responseCode), color::Black, filter::HartProtocol);
        const std::string answer = m_XMLHelp.HARTTransactionResponseXML(
            m_HARTCommand, request.communicationReference.text(), simulatedData, deviceStatus, responseCode);
        answerChild(invokeId, answer);
        return true;
    } catch (const std::exception&) {
        m_tally.refused(invokeId);
        m_host.MonitorMsg(kTransactionRequestName, "Critical Error in IFdtCommunication_TransactionRequest",
                          color::Red, filter::FdtInterface);
        return result;
    }
}

// --- IFdtCommunicationEvents ------------------------------------------------------

void HartGateway::OnAbort(const std::string& communicationReference)
{
    const auto callback = m_Communicator.CallbackInterface();
    if (callback) {
        callback->OnAbort(communicationReference);
        m_host.MonitorMsg("IFdtCommunicationEvents_OnAbort()", "OnAbort() received", color::Blue,
                          filter::FdtInterface);
    } else {
        m_host.MonitorMsg("IFdtCommunicationEvents_OnAbort()", "OnAbort() received but ZEB-DTM Pointer invalid",
                          color::Red, filter::FdtInterface);
    }
}

void HartGateway::OnConnectResponse(const std::string& invokeId, const std::string& response)
{
    constexpr const char* name = "IFdtCommunicationEvents_OnConnectResponse()";
    const auto callback = m_Communicator.CallbackInterface();
    if (!callback) {
        m_host.MonitorMsg(name, "OnConnectResponse() received but ZEB-DTM Pointer invalid", color::Red,
                          filter::FdtInterface);
        return;
    }
    try {
        const xml::ZebConnectResponse connected = m_XMLHelp.ReadZebConnectResponse(response);
        m_Communicator.communicationReference(connected.communicationReference.text());
        m_tally.referenceKnown(connected.communicationReference.text());
        const std::string& tag = connected.tag.text();
        const std::string answer =
            m_XMLHelp.BuildHARTConnectResponse(tag, connected.communicationReference.text(), m_Communicator.shortAddress());
        callback->OnConnectResponse(invokeId, answer);
        m_host.MonitorMsg(name, "", color::Green, filter::FdtInterface);
        m_host.setCommStatus(0);
    } catch (const std::exception&) {
        m_host.MonitorMsg(name, "Critical Error", color::Red, filter::FdtInterface);
    }
}

void HartGateway::OnDisconnectResponse(const std::string& invokeId, const std::string& response)
{
    constexpr const char* name = "IFdtCommunicationEvents_OnDisconnectResponse()";
    try {
        const std::string answer = m_XMLHelp.BuildHARTDisconnectResponse(
            m_XMLHelp.ReadZebDisconnectResponse(response).communicationReference.text());
        requireCallback(m_Communicator)->OnDisconnectResponse(invokeId, answer);
        m_host.MonitorMsg(name, "", color::Green, filter::FdtInterface);
        m_host.setCommStatus(1);
        m_Communicator.CallbackInterface(nullptr);
        m_tally.disconnected();
    } catch (const std::exception&) {
        m_host.MonitorMsg(name, "Critical Error", color::Red, filter::FdtInterface);
    }
}

void HartGateway::OnTransactionResponse(const std::string& invokeId, const std::string& response)
{
    m_host.MonitorMsg("IFdtCommunicationEvents_OnTransactionResponse()", "", color::Green, filter::FdtInterface);
    m_tally.answerFromParent(invokeId);

    if (invokeId == m_ZebInvokeId) {
        m_host.MonitorMsg("Warmstart actuated", "InvokeId " + invokeId + kCrLf, color::Blue, filter::ZebProtocol);
        return;
    }

    const xml::ZebAnswer answer = m_XMLHelp.ReadZebAnswer(response);
    if (const auto* error = std::get_if<xml::ZebErrorAnswer>(&answer)) {
        answerError(invokeId, *error);
        return;
    }
    const auto& data = std::get<xml::ZebTransactionResponse>(answer);
    showZebResponse(invokeId, data);
    if (m_Communicator.pendingReads().empty())
        answerSingleRequest(invokeId, data);
    else
        answerIdentityElement(invokeId, data);
}

void HartGateway::detach() noexcept
{
    m_Communicator.ZEBDriverInterface(nullptr);
    m_Communicator.CallbackInterface(nullptr);
    try {
        TimeoutTimer.Interval(0);
    } catch (const std::exception&) { // a frame's event loop that refuses: its timer finds no one
    }
}

void HartGateway::TimeoutTimer_TimerEvent()
{
    TimeoutTimer.Interval(0);
    sendBroadcast();
    m_tally.timeoutBroadcast();
}

// --- the three kinds of answer -----------------------------------------------------

void HartGateway::answerError(const std::string& invokeId, const xml::ZebErrorAnswer& error)
{
    // ZebActive must read as a Boolean whatever the error is.
    const bool zebActive = support::toBoolean(error.zebActive.text());
    const std::string& name = error.zebCommError.text();
    m_tally.errorAnswer(name);
    std::string answer;
    if (name == "timeout" && zebActive) {
        const std::string& reference = error.communicationReference.text();
        answer = m_XMLHelp.HARTErrorUndefinedXML(support::toByte(fdt::Variant{m_HARTCommand}), reference);
    } else {
        answer = m_XMLHelp.HARTErrorResponseXML(name, error.tag.text());
    }
    if (m_HARTCommand != 129) {
        m_host.MonitorMsg("IFdtCommunicationEvents_OnTransactionResponse", name + kCrLf, color::Red,
                          filter::HartProtocol);
        m_host.MonitorMsg("Response ZEB", name + kCrLf, color::Red, filter::ZebProtocol);
    } else {
        m_host.MonitorMsg("Broadcast", std::string("Command Response") + kCrLf, color::Black, filter::HartProtocol);
    }
    answerChild(invokeId, answer);
}

void HartGateway::showZebResponse(const std::string& invokeId, const xml::ZebTransactionResponse& response)
{
    m_host.MonitorMsg("Response ZEB", "InvokeID " + invokeId, color::Blue, filter::ZebProtocol);
    const std::string& objectNo = response.objectNo.text();
    const std::string& subNo = response.subNo.text();
    const std::string& messageType = response.messageType.text();
    const std::string& status = response.status.text();
    m_host.MonitorMsg("",
                      "ObjNo.: " + objectNo + "\tSubNo.: " + subNo + "\tMsgType : " + messageType +
                          "\tStatus : " + status,
                      color::Blue, filter::ZebProtocol);
    const std::string& data = response.communicationData.text();
    if (!data.empty())
        m_host.MonitorMsg("", "Data : " + data, color::Blue, filter::ZebProtocol);
}

void HartGateway::answerSingleRequest(const std::string& invokeId, const xml::ZebTransactionResponse& response)
{
    const std::string& status = response.status.text();
    const std::string& data = response.communicationData.text();
    const std::uint8_t responseCode = ZEBStatusToResponseCode(support::toByte(status), support::HexToByteArray(data));
    const std::uint8_t deviceStatus = 0;
    const std::string& reference = response.communicationReference.text();
    const std::string hartData = m_HARTCommand == 131 ? xml::XMLHelp::ZEBToHARTCommunicationDataDelayed(response)
                                                      : xml::XMLHelp::ZEBToHARTCommunicationData(response);
    const std::string answer =
        m_XMLHelp.HARTTransactionResponseXML(m_HARTCommand, reference, hartData, deviceStatus, responseCode);
    m_host.MonitorMsg(hartResponseHeading(m_HARTCommand), "InvokeID " + invokeId, color::Black, filter::HartProtocol);
    std::string shownBytes;
    if (m_HARTCommand != 131)
        shownBytes = support::ByteArrayToHex(
            support::HexToByteArray(m_XMLHelp.ReadHartTransactionResponse(answer).data.text()));
    m_host.MonitorMsg("", "ZEB Protocol : " + shownBytes + kCrLf, color::Black, filter::HartProtocol);
    answerChild(invokeId, answer);
}

void HartGateway::answerIdentityElement(const std::string& invokeId, const xml::ZebTransactionResponse& response)
{
    // The element stays in the list until it is removed below.
    const clsZEBSequence& element = *m_Communicator.RequestedElement(invokeId);
    const std::string& objectNo = response.objectNo.text();
    if (support::toLong(objectNo) == element.ObjectNumber) {
        const std::string& data = response.communicationData.text();
        const std::vector<std::uint8_t> bytes = support::HexToByteArray(data);
        if (bytes.size() >= 3) {
            // The device identifier, least significant byte first in the answer.
            m_Cmd0Response[9] = bytes[2];
            m_Cmd0Response[10] = bytes[1];
            m_Cmd0Response[11] = bytes[0];
        } else if (bytes.size() == 1) {
            m_Cmd0Response.at(element.HARTResponseDataPos) = support::toByte("&H" + data);
        } else {
            throw fdt::Error("identity answer of object " + objectNo + " holds " + std::to_string(bytes.size()) +
                             " data bytes");
        }
    }
    m_Communicator.ZEBSeqColRemove(invokeId);
    if (!m_Communicator.pendingReads().empty())
        return;

    // The last read has been answered: the child gets the command 0 answer.
    const std::uint8_t deviceStatus = 0;
    const std::uint8_t responseCode = 0;
    const std::string childInvokeId = m_Communicator.HARTCmd0InvokeId();
    const std::string hartData = support::ByteArrayToHex(std::span<const std::uint8_t>(m_Cmd0Response));
    const std::string answer = m_XMLHelp.HARTTransactionResponseXML(
        m_HARTCommand, m_Communicator.communicationReference(), hartData, deviceStatus, responseCode);
    m_host.MonitorMsg(hartResponseHeading(m_HARTCommand), "InvokeID " + childInvokeId, color::Black,
                      filter::HartProtocol);
    m_host.MonitorMsg("", "Data : " + hartData, color::Black, filter::HartProtocol);
    m_host.MonitorMsg("", statusLine(deviceStatus, responseCode), color::Black, filter::HartProtocol);
    answerChild(childInvokeId, answer);
}

// --- requests to the parent -----------------------------------------------------------

void HartGateway::showZebRequest(const std::string& invokeId, const std::string& request, const char* dataLabel)
{
    m_host.MonitorMsg("Request ZEB", "InvokeID " + invokeId, color::Blue, filter::ZebProtocol);
    const xml::ZebTransactionRequest built = m_XMLHelp.ReadZebTransactionRequest(request);
    const std::string& objectNo = built.objectNo.text();
    const std::string& subNo = built.subNo.text();
    const std::string& messageType = built.messageType.text();
    const std::string& control = built.control.text();
    m_host.MonitorMsg("",
                      "ObjNo.: " + objectNo + "\tSubNo.: " + subNo + "\tMsgType : " + messageType +
                          "\tCtrl.: " + control,
                      color::Blue, filter::ZebProtocol);
    // The builders set CommunicationData only when the telegram has data bytes.
    if (dataLabel != nullptr && !built.communicationData.textOrEmpty().empty())
        m_host.MonitorMsg("", dataLabel + built.communicationData.textOrEmpty(), color::Blue, filter::ZebProtocol);
}

void HartGateway::sendBroadcast()
{
    m_ZebInvokeId = support::NewGuidString(false);
    const std::string request =
        m_XMLHelp.ZEBDataExchangeXML(kZebBroadcastMessage, kBroadcastTelegram, m_Communicator.communicationReference());
    showZebRequest(m_ZebInvokeId, request, nullptr);
    if (const auto driver = m_Communicator.ZEBDriverInterface())
        askParent(*driver, m_ZebInvokeId, request, nullptr);
}

void HartGateway::armTimeout()
{
    TimeoutTimer.Enabled(false);
    // The product is a 16-bit value: delays above 32 s overflow.
    const std::int32_t milliseconds = std::int32_t{m_host.warmstartDelay()} * 1000;
    if (milliseconds > 32767 || milliseconds < -32768)
        throw fdt::OverflowError("warm-start delay of " + decimal(m_host.warmstartDelay()) + " s overflows");
    TimeoutTimer.Interval(milliseconds);
    TimeoutTimer.Enabled(true);
}

bool HartGateway::sendSingleRequest(const std::string& invokeId, const xml::HartTransactionRequest& childRequest,
                                    std::int16_t messageType, bool& result)
{
    const std::string& telegram = childRequest.data.text();
    const std::string& reference = childRequest.communicationReference.text();
    const std::string request = m_XMLHelp.ZEBDataExchangeXML(messageType, telegram, reference);
    showZebRequest(invokeId, request, "Data: ");
    result = askParent(*requireDriver(m_Communicator), invokeId, request, &m_HARTCommand);
    reportSent(result);
    return result;
}

void HartGateway::sendDelayedDataRead(const std::string& invokeId, const xml::HartTransactionRequest& childRequest,
                                      bool& result)
{
    const std::string& reference = childRequest.communicationReference.text();
    xml::ComData record;
    record.MessageType = kZebDataExchangeMessage;
    record.ObjectType = 2;
    record.NoOfBytes = 4;
    record.SubNo = 0;
    record.ObjectNo = 0;
    record.Data = std::string();
    const std::string request = m_XMLHelp.GetXMLDocumentDelayedData(reference, record, fdt::Variant{std::uint8_t{0}},
                                                                    fdt::Variant{std::string("ReadDelayedResponse")});
    result = askParent(*requireDriver(m_Communicator), invokeId, request, &m_HARTCommand);
    reportSent(result);
}

void HartGateway::sendIdentitySequence(const std::string& invokeId, const xml::HartTransactionRequest& childRequest,
                                       bool& result)
{
    const std::array<std::string, 6> texts = m_host.identityTexts();
    m_Communicator.InitZebSequence(texts[0], texts[1], texts[2], texts[3], texts[4], texts[5]);
    m_Cmd0Response.fill(0);
    m_Cmd0Response[0] = 254;
    m_Cmd0Response[3] = 5;
    m_Cmd0Response[4] = 5;
    m_Communicator.HARTCmd0InvokeId(invokeId);
    m_Communicator.ZEBSeqComAct(true);
    const std::string& reference = childRequest.communicationReference.text();

    // Older pending reads are sent again together with the new ones. A parent
    // may answer a read before its TransactionRequest returns, which takes the
    // read out of the list: the reads are sent from a copy.
    const std::vector<clsZEBSequence> pending = m_Communicator.pendingReads();
    bool allTaken = true;
    for (const clsZEBSequence& element : pending) {
        const std::string request = m_XMLHelp.ZEBSeqDataExchangeXML(kZebDataExchangeMessage, element, reference);
        const bool taken = askParent(*requireDriver(m_Communicator), element.invokeId, request, &m_HARTCommand);
        allTaken = allTaken && taken;
        result = allTaken;
        if (taken) {
            m_host.MonitorMsg(kTransactionRequestCall, "ZEB Collection Item Successful", color::Green,
                              filter::FdtInterface);
            showZebRequest(element.invokeId, request, "Data : ");
        } else {
            m_host.MonitorMsg(kTransactionRequestCall, "ZEB Collection Item denied", color::Red, filter::FdtInterface);
        }
    }
}

bool HartGateway::askParent(fdt::IFdtCommunication& driver, const std::string& invokeId, const std::string& request,
                            const std::int16_t* command)
{
    m_tally.requestToParent(invokeId, command);
    const bool taken = driver.TransactionRequest(invokeId, request);
    if (!taken)
        m_tally.notTaken(invokeId);
    return taken;
}

void HartGateway::answerChild(const std::string& invokeId, const std::string& answer)
{
    const auto& callback = requireCallback(m_Communicator);
    m_tally.answeringChild(invokeId);
    callback->OnTransactionResponse(invokeId, answer);
}

void HartGateway::reportSent(bool taken)
{
    if (taken)
        m_host.MonitorMsg(kTransactionRequestCall, "Successful", color::Green, filter::FdtInterface);
    else
        m_host.MonitorMsg(kTransactionRequestCall, "denied", color::Red, filter::FdtInterface);
}

} // namespace zeb2hart::gateway
