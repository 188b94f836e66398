#include "gateway/HartGateway.h"

#include <exception>
#include <span>

#include "fdt/Errors.h"
#include "support/Conversions.h"
#include "xml/XMLHelp.h"

namespace zeb2hart::gateway {

namespace {

namespace color = support::color;
namespace filter = support::filter;

constexpr const char* kCrLf = "\r\n";

// ZEB message types.
constexpr std::int16_t kDataExchange = 5;
constexpr std::int16_t kBroadcast = 7;

// HART answers made by the gateway itself.
constexpr std::uint8_t kNotImplemented = 50;

constexpr const char* kRequestPath = "FDT/DataExchangeRequest";
constexpr const char* kRequestDataPath = "FDT/DataExchangeRequest/fdt:CommunicationData";
constexpr const char* kZebRequestHeaderPath = "FDT/DataExchangeRequest/CommunicationHeader";
constexpr const char* kResponsePath = "FDT/DataExchangeResponse";
constexpr const char* kResponseHeaderPath = "FDT/DataExchangeResponse/CommunicationHeader";
constexpr const char* kResponseDataPath = "FDT/DataExchangeResponse/fdt:CommunicationData";
constexpr const char* kZebErrorPath = "FDT/ZebCommError";

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

// CommunicationData of a ZEB request that the gateway built: the builders set it
// only when the telegram has data bytes, so a header without it has none.
std::string requestData(xml::XMLHelp& xmlHelp, const std::string& request)
{
    return xmlHelp.FindAttributeFromXML(request, kZebRequestHeaderPath, "CommunicationData").value_or(std::string());
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
    : m_host(host), m_XMLHelp(xmlHelp), TimeoutTimer(std::move(loop))
{
    TimeoutTimer.TimerEvent = [this] {
        // The timer's expiry arrives from the event loop, which has no one to report
        // to: a failure ends the handler and the telegram is not sent.
        try {
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
        m_Communicator.shortAddress(
            m_XMLHelp.GetAttributeFromXML(fieldbusFrame, "FDT/ConnectRequest/ShortAddress", "shortAddress"));
        m_Communicator.CallbackInterface(callback);
        const std::string tag = m_XMLHelp.GetAttributeFromXML(fieldbusFrame, "FDT/ConnectRequest", "fdt:tag");
        const std::string request = m_XMLHelp.BuildHARTConnectRequest(tag);
        m_host.MonitorMsg(kConnectRequestName, "", color::Green, filter::FdtInterface);
        const bool accepted =
            requireDriver(m_Communicator)->ConnectRequest(m_host.selfAsCallback(), invokeId, kZebProtocolId, request);
        if (!accepted)
            m_Communicator.CallbackInterface(nullptr);
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
        m_HARTCommand = support::toInteger(m_XMLHelp.GetAttributeFromXML(fieldbusFrame, kRequestPath, "commandNumber"));
        const std::string dataText = m_XMLHelp.GetAttributeFromXML(fieldbusFrame, kRequestDataPath, "byteArray");
        const std::vector<std::uint8_t> bytes = support::HexToByteArray(dataText);
        m_host.MonitorMsg("Request HART 'Command #" + decimal(m_HARTCommand) + "'", "InvokeID " + invokeId,
                          color::Black, filter::HartProtocol);

        std::string simulatedData;
        std::uint8_t responseCode = kNotImplemented;
        switch (m_HARTCommand) {
        case 0:
            sendIdentitySequence(invokeId, fieldbusFrame, result);
            break;
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
            return sendSingleRequest(invokeId, fieldbusFrame, kDataExchange, result);
        case 129:
            if (bytes.size() < 4)
                throw fdt::NotFoundError("command 129 carries fewer than four bytes");
            m_host.MonitorMsg("Broadcast", BroadcastText(bytes[3]), color::Blue, filter::ZebProtocol);
            return sendSingleRequest(invokeId, fieldbusFrame, kBroadcast, result);
        case 131:
            sendDelayedDataRead(invokeId, fieldbusFrame, result);
            armTimeout();
            return result;
        default:
            break;
        }

        // Simulated answers, and the end of command 0. While identity reads are
        // pending nothing is answered now.
        if (m_Communicator.ZEBSeqColCount() > 0)
            return true;

        const std::uint8_t deviceStatus = 0;
        m_host.MonitorMsg(kTransactionRequestName, "HART Simulation", color::Green, filter::FdtInterface);
        m_host.MonitorMsg(hartResponseHeading(m_HARTCommand), "invokeID " + invokeId, color::Black,
                          filter::HartProtocol);
        if (!simulatedData.empty())
            m_host.MonitorMsg("", "Data : " + simulatedData, color::Black, filter::HartProtocol);
        m_host.MonitorMsg("", statusLine(deviceStatus, responseCode), color::Black, filter::HartProtocol);
        const std::string reference =
            m_XMLHelp.GetAttributeFromXML(fieldbusFrame, kRequestPath, "communicationReference");
        const std::string answer =
            m_XMLHelp.HARTTransactionResponseXML(m_HARTCommand, reference, simulatedData, deviceStatus, responseCode);
        requireCallback(m_Communicator)->OnTransactionResponse(invokeId, answer);
        return true;
    } catch (const std::exception&) {
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
        m_Communicator.communicationReference(
            m_XMLHelp.GetAttributeFromXML(response, "FDT/ConnectResponse", "CommunicationReference"));
        const std::string tag = m_XMLHelp.GetAttributeFromXML(response, "FDT/ConnectResponse", "fdt:tag");
        const std::string answer = m_XMLHelp.BuildHARTConnectResponse(
            tag, m_XMLHelp.GetAttributeFromXML(response, "FDT/ConnectResponse", "CommunicationReference"),
            m_Communicator.shortAddress());
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
        const std::string reference =
            m_XMLHelp.GetAttributeFromXML(response, "FDT/DisconnectResponse", "CommunicationReference");
        const std::string answer = m_XMLHelp.BuildHARTDisconnectResponse(reference);
        requireCallback(m_Communicator)->OnDisconnectResponse(invokeId, answer);
        m_host.MonitorMsg(name, "", color::Green, filter::FdtInterface);
        m_host.setCommStatus(1);
        m_Communicator.CallbackInterface(nullptr);
    } catch (const std::exception&) {
        m_host.MonitorMsg(name, "Critical Error", color::Red, filter::FdtInterface);
    }
}

void HartGateway::OnTransactionResponse(const std::string& invokeId, const std::string& response)
{
    m_host.MonitorMsg("IFdtCommunicationEvents_OnTransactionResponse()", "", color::Green, filter::FdtInterface);

    if (invokeId == m_ZebInvokeId) {
        m_host.MonitorMsg("Warmstart actuated", "InvokeId " + invokeId + kCrLf, color::Blue, filter::ZebProtocol);
        return;
    }

    std::string childInvokeId = invokeId;
    std::string answer;
    if (m_XMLHelp.IsErrorProtocol(response)) {
        const bool zebActive = support::toBoolean(m_XMLHelp.GetAttributeFromXML(response, kZebErrorPath, "ZebActive"));
        const std::string error = m_XMLHelp.GetAttributeFromXML(response, kZebErrorPath, "ZebcommError");
        if (error == "timeout" && zebActive) {
            const std::string reference =
                m_XMLHelp.GetAttributeFromXML(response, kZebErrorPath, "CommunicationReference");
            answer = m_XMLHelp.HARTErrorUndefinedXML(support::toByte(fdt::Variant{m_HARTCommand}), reference);
        } else {
            const std::string name = m_XMLHelp.GetAttributeFromXML(response, kZebErrorPath, "ZebcommError");
            const std::string tag = m_XMLHelp.GetAttributeFromXML(response, kZebErrorPath, "fdt:tag");
            answer = m_XMLHelp.HARTErrorResponseXML(name, tag);
        }
        if (m_HARTCommand != 129) {
            m_host.MonitorMsg("IFdtCommunicationEvents_OnTransactionResponse", error + kCrLf, color::Red,
                              filter::HartProtocol);
            m_host.MonitorMsg("Response ZEB", error + kCrLf, color::Red, filter::ZebProtocol);
        } else {
            m_host.MonitorMsg("Broadcast", std::string("Command Response") + kCrLf, color::Black,
                              filter::HartProtocol);
        }
    } else {
        m_host.MonitorMsg("Response ZEB", "InvokeID " + invokeId, color::Blue, filter::ZebProtocol);
        const std::string objectNo = m_XMLHelp.GetAttributeFromXML(response, kResponseHeaderPath, "ObjectNo");
        const std::string subNo = m_XMLHelp.GetAttributeFromXML(response, kResponseHeaderPath, "SubNo");
        const std::string messageType = m_XMLHelp.GetAttributeFromXML(response, kResponseHeaderPath, "MessageType");
        const std::string status = m_XMLHelp.GetAttributeFromXML(response, kResponsePath, "Status");
        m_host.MonitorMsg("",
                          "ObjNo.: " + objectNo + "\tSubNo.: " + subNo + "\tMsgType : " + messageType +
                              "\tStatus : " + status,
                          color::Blue, filter::ZebProtocol);
        const std::string data = m_XMLHelp.GetAttributeFromXML(response, kResponseHeaderPath, "CommunicationData");
        if (!data.empty())
            m_host.MonitorMsg("", "Data : " + data, color::Blue, filter::ZebProtocol);

        if (m_Communicator.ZEBSeqColCount() == 0) {
            // The answer to the child's single request.
            const std::uint8_t responseCode =
                ZEBStatusToResponseCode(support::toByte(status), support::HexToByteArray(data));
            const std::uint8_t deviceStatus = 0;
            const std::string reference =
                m_XMLHelp.GetAttributeFromXML(response, kResponsePath, "CommunicationReference");
            const std::string hartData = m_HARTCommand == 131 ? m_XMLHelp.ZEBToHARTCommunicationDataDelayed(response)
                                                              : m_XMLHelp.ZEBToHARTCommunicationData(response);
            answer = m_XMLHelp.HARTTransactionResponseXML(m_HARTCommand, reference, hartData, deviceStatus,
                                                          responseCode);
            m_host.MonitorMsg(hartResponseHeading(m_HARTCommand), "InvokeID " + invokeId, color::Black,
                              filter::HartProtocol);
            std::string shownBytes;
            if (m_HARTCommand != 131)
                shownBytes = support::ByteArrayToHex(
                    support::HexToByteArray(m_XMLHelp.GetAttributeFromXML(answer, kResponseDataPath, "byteArray")));
            m_host.MonitorMsg("", "ZEB Protocol : " + shownBytes + kCrLf, color::Black, filter::HartProtocol);
        } else {
            // One answer of the identity sequence.
            const clsZEBSequence element = *m_Communicator.RequestedElement(invokeId);
            if (support::toLong(objectNo) == element.ObjectNumber) {
                const std::vector<std::uint8_t> bytes = support::HexToByteArray(data);
                if (bytes.size() >= 3) {
                    // The device identifier, least significant byte first in the answer.
                    m_Cmd0Response[9] = bytes[2];
                    m_Cmd0Response[10] = bytes[1];
                    m_Cmd0Response[11] = bytes[0];
                } else if (bytes.size() == 1) {
                    m_Cmd0Response.at(element.HARTResponseDataPos) = support::toByte("&H" + data);
                } else {
                    throw fdt::Error("identity answer of object " + objectNo + " holds " +
                                     std::to_string(bytes.size()) + " data bytes");
                }
            }
            m_Communicator.ZEBSeqColRemove(invokeId);
            if (m_Communicator.ZEBSeqColCount() > 0)
                return;

            const std::uint8_t deviceStatus = 0;
            const std::uint8_t responseCode = 0;
            childInvokeId = m_Communicator.HARTCmd0InvokeId();
            const std::string hartData = support::ByteArrayToHex(std::span<const std::uint8_t>(m_Cmd0Response));
            answer = m_XMLHelp.HARTTransactionResponseXML(m_HARTCommand, m_Communicator.communicationReference(),
                                                          hartData, deviceStatus, responseCode);
            m_host.MonitorMsg(hartResponseHeading(m_HARTCommand), "InvokeID " + childInvokeId, color::Black,
                              filter::HartProtocol);
            m_host.MonitorMsg("", "Data : " + hartData, color::Black, filter::HartProtocol);
            m_host.MonitorMsg("", statusLine(deviceStatus, responseCode), color::Black, filter::HartProtocol);
        }
    }
    requireCallback(m_Communicator)->OnTransactionResponse(childInvokeId, answer);
}

void HartGateway::TimeoutTimer_TimerEvent()
{
    TimeoutTimer.Interval(0);
    sendBroadcast();
}

// --- private ------------------------------------------------------------------------

std::string HartGateway::zebHeaderLine(const std::string& request)
{
    const std::string objectNo = m_XMLHelp.GetAttributeFromXML(request, kZebRequestHeaderPath, "ObjectNo");
    const std::string subNo = m_XMLHelp.GetAttributeFromXML(request, kZebRequestHeaderPath, "SubNo");
    const std::string messageType = m_XMLHelp.GetAttributeFromXML(request, kZebRequestHeaderPath, "MessageType");
    const std::string control = m_XMLHelp.GetAttributeFromXML(request, kRequestPath, "Control");
    return "ObjNo.: " + objectNo + "\tSubNo.: " + subNo + "\tMsgType : " + messageType + "\tCtrl.: " + control;
}

void HartGateway::sendBroadcast()
{
    m_ZebInvokeId = support::NewGuidString(false);
    const std::string request =
        m_XMLHelp.ZEBDataExchangeXML(kBroadcast, kBroadcastTelegram, m_Communicator.communicationReference());
    m_host.MonitorMsg("Request ZEB", "InvokeID " + m_ZebInvokeId, color::Blue, filter::ZebProtocol);
    m_host.MonitorMsg("", zebHeaderLine(request), color::Blue, filter::ZebProtocol);
    if (const auto driver = m_Communicator.ZEBDriverInterface())
        driver->TransactionRequest(m_ZebInvokeId, request);
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

bool HartGateway::sendSingleRequest(const std::string& invokeId, const std::string& fieldbusFrame,
                                    std::int16_t messageType, bool& result)
{
    const std::string telegram = m_XMLHelp.GetAttributeFromXML(fieldbusFrame, kRequestDataPath, "byteArray");
    const std::string reference = m_XMLHelp.GetAttributeFromXML(fieldbusFrame, kRequestPath, "communicationReference");
    const std::string request = m_XMLHelp.ZEBDataExchangeXML(messageType, telegram, reference);
    m_host.MonitorMsg("Request ZEB", "InvokeID " + invokeId, color::Blue, filter::ZebProtocol);
    m_host.MonitorMsg("", zebHeaderLine(request), color::Blue, filter::ZebProtocol);
    const std::string data = requestData(m_XMLHelp, request);
    if (!data.empty())
        m_host.MonitorMsg("", "Data: " + data, color::Blue, filter::ZebProtocol);
    result = requireDriver(m_Communicator)->TransactionRequest(invokeId, request);
    reportSent(result);
    return result;
}

void HartGateway::sendDelayedDataRead(const std::string& invokeId, const std::string& fieldbusFrame, bool& result)
{
    const std::string reference = m_XMLHelp.GetAttributeFromXML(fieldbusFrame, kRequestPath, "communicationReference");
    xml::ComData record;
    record.MessageType = kDataExchange;
    record.ObjectType = 2;
    record.NoOfBytes = 4;
    record.SubNo = 0;
    record.ObjectNo = 0;
    record.Data = std::string();
    const std::string request = m_XMLHelp.GetXMLDocumentDelayedData(reference, record, fdt::Variant{std::uint8_t{0}},
                                                                    fdt::Variant{std::string("ReadDelayedResponse")});
    result = requireDriver(m_Communicator)->TransactionRequest(invokeId, request);
    reportSent(result);
}

void HartGateway::sendIdentitySequence(const std::string& invokeId, const std::string& fieldbusFrame, bool& result)
{
    const std::array<std::string, 6> texts = m_host.identityTexts();
    m_Communicator.InitZebSequence(texts[0], texts[1], texts[2], texts[3], texts[4], texts[5]);
    m_Cmd0Response.fill(0);
    m_Cmd0Response[0] = 254;
    m_Cmd0Response[3] = 5;
    m_Cmd0Response[4] = 5;
    m_Communicator.HARTCmd0InvokeId(invokeId);
    m_Communicator.ZEBSeqComAct(true);
    const std::string reference = m_XMLHelp.GetAttributeFromXML(fieldbusFrame, kRequestPath, "communicationReference");

    // Older pending reads are sent again together with the new ones.
    const std::int16_t count = m_Communicator.ZEBSeqColCount();
    bool allTaken = true;
    for (std::int16_t position = 1; position <= count; ++position) {
        const clsZEBSequence element = m_Communicator.ZEBSeqElem(position);
        const std::string request = m_XMLHelp.ZEBSeqDataExchangeXML(kDataExchange, element, reference);
        const bool taken = requireDriver(m_Communicator)->TransactionRequest(element.invokeId, request);
        allTaken = allTaken && taken;
        result = allTaken;
        if (taken) {
            m_host.MonitorMsg(kTransactionRequestCall, "ZEB Collection Item Successful", color::Green,
                              filter::FdtInterface);
            m_host.MonitorMsg("Request ZEB", "InvokeID " + element.invokeId, color::Blue, filter::ZebProtocol);
            m_host.MonitorMsg("", zebHeaderLine(request), color::Blue, filter::ZebProtocol);
            const std::string data = requestData(m_XMLHelp, request);
            if (!data.empty())
                m_host.MonitorMsg("", "Data : " + data, color::Blue, filter::ZebProtocol);
        } else {
            m_host.MonitorMsg(kTransactionRequestCall, "ZEB Collection Item denied", color::Red, filter::FdtInterface);
        }
    }
}

void HartGateway::reportSent(bool taken)
{
    if (taken)
        m_host.MonitorMsg(kTransactionRequestCall, "Successful", color::Green, filter::FdtInterface);
    else
        m_host.MonitorMsg(kTransactionRequestCall, "denied", color::Red, filter::FdtInterface);
}

} // namespace zeb2hart::gateway
