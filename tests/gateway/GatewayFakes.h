#pragma once
// Stand-ins around HartGateway: the owning DTM (FakeHost, which records monitor
// lines and status changes), the parent communication DTM (RecordingParent)
// and the child device DTM (RecordingChild), plus the peers' documents and a
// reader for the documents the gateway hands out.

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "fdt/CommunicationInterfaces.h"
#include "gateway/HartGateway.h"
#include "platform/XmlDom.h"
#include "support/Monitor.h"

namespace zeb2hart::gateway::test {

struct MonitorLine {
    std::string functionName;
    std::string message;
    std::int32_t color = 0;
    std::int16_t filter = 0;
    friend bool operator==(const MonitorLine&, const MonitorLine&) = default;
    friend std::ostream& operator<<(std::ostream& out, const MonitorLine& line)
    {
        return out << "(\"" << line.functionName << "\", \"" << line.message << "\", 0x" << std::hex << line.color
                   << std::dec << ", " << line.filter << ")";
    }
};

inline MonitorLine green(std::string name, std::string message = {})
{
    return {std::move(name), std::move(message), support::color::Green, support::filter::FdtInterface};
}
inline MonitorLine red(std::string name, std::string message, std::int16_t filter = support::filter::FdtInterface)
{
    return {std::move(name), std::move(message), support::color::Red, filter};
}
inline MonitorLine blue(std::string name, std::string message, std::int16_t filter = support::filter::ZebProtocol)
{
    return {std::move(name), std::move(message), support::color::Blue, filter};
}
inline MonitorLine black(std::string name, std::string message)
{
    return {std::move(name), std::move(message), support::color::Black, support::filter::HartProtocol};
}

// Passes the parent's answers on to the gateway, as DTMMain does.
class GatewayCallback final : public fdt::IFdtCommunicationEvents {
public:
    explicit GatewayCallback(HartGateway*& gateway) : m_gateway(gateway) {}
    void OnAbort(const std::string& reference) override { m_gateway->OnAbort(reference); }
    void OnConnectResponse(const std::string& invokeId, const std::string& response) override
    {
        m_gateway->OnConnectResponse(invokeId, response);
    }
    void OnDisconnectResponse(const std::string& invokeId, const std::string& response) override
    {
        m_gateway->OnDisconnectResponse(invokeId, response);
    }
    void OnTransactionResponse(const std::string& invokeId, const std::string& response) override
    {
        m_gateway->OnTransactionResponse(invokeId, response);
    }

private:
    HartGateway*& m_gateway;
};

// The DTM object as the gateway sees it.
class FakeHost final : public GatewayHost {
public:
    void MonitorMsg(const std::string& functionName, const std::string& message, std::int32_t lineColor,
                    std::int16_t filter) override
    {
        lines.push_back({functionName, message, lineColor, filter});
    }
    std::int16_t warmstartDelay() const override { return delay; }
    std::array<std::string, 6> identityTexts() const override { return identity; }
    void setCommStatus(std::int32_t status) override { statuses.push_back(status); }
    std::shared_ptr<fdt::IFdtCommunicationEvents> selfAsCallback() override { return self; }

    std::int16_t delay = 3;
    std::array<std::string, 6> identity{"14002.32", "14000.32", "14016.32", "14015.32", "14014.32", "32516.28"};
    std::vector<MonitorLine> lines;
    std::vector<std::int32_t> statuses;
    std::shared_ptr<fdt::IFdtCommunicationEvents> self;
};

// One call that the parent or the child received.
struct PeerCall {
    std::string operation;
    std::string invokeId;  // or the communication reference of OnAbort
    std::string document;
    std::string protocolId;
    std::shared_ptr<fdt::IFdtCommunicationEvents> callback;
};

// The parent communication DTM: answers what the test tells it and records every call.
class RecordingParent final : public fdt::IFdtCommunication {
public:
    void Abort(const std::string& fieldbusFrame) override { calls.push_back({"Abort", {}, fieldbusFrame, {}, {}}); }
    bool ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>& callback, const std::string& invokeId,
                        const std::string& protocolId, const std::string& fieldbusFrame) override
    {
        calls.push_back({"ConnectRequest", invokeId, fieldbusFrame, protocolId, callback});
        return connectResult;
    }
    bool DisconnectRequest(const std::string& invokeId, const std::string& fieldbusFrame) override
    {
        calls.push_back({"DisconnectRequest", invokeId, fieldbusFrame, {}, {}});
        if (throwOnDisconnect)
            throw fdt::Error("parent failed");
        return disconnectResult;
    }
    bool TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame) override
    {
        calls.push_back({"TransactionRequest", invokeId, fieldbusFrame, {}, {}});
        if (!transactionResults.empty()) {
            const bool result = transactionResults.front();
            transactionResults.pop_front();
            return result;
        }
        return transactionResult;
    }
    std::string GetSupportedProtocols() override { return {}; }
    bool SequenceBegin(const std::string&) override { return false; }
    bool SequenceStart(const std::string&) override { return false; }
    bool SequenceEnd(const std::string&) override { return false; }

    std::vector<PeerCall> transactions() const
    {
        std::vector<PeerCall> result;
        for (const auto& call : calls)
            if (call.operation == "TransactionRequest")
                result.push_back(call);
        return result;
    }

    bool connectResult = true;
    bool disconnectResult = true;
    bool throwOnDisconnect = false;
    bool transactionResult = true;
    std::deque<bool> transactionResults; // taken first, one per transaction
    std::vector<PeerCall> calls;
};

// The child device DTM's callback: records every answer; may fail on request.
class RecordingChild final : public fdt::IFdtCommunicationEvents {
public:
    void OnAbort(const std::string& reference) override
    {
        calls.push_back({"OnAbort", reference, {}, {}, {}});
        if (fail)
            throw fdt::Error("child failed");
    }
    void OnConnectResponse(const std::string& invokeId, const std::string& response) override
    {
        calls.push_back({"OnConnectResponse", invokeId, response, {}, {}});
        if (fail)
            throw fdt::Error("child failed");
    }
    void OnDisconnectResponse(const std::string& invokeId, const std::string& response) override
    {
        calls.push_back({"OnDisconnectResponse", invokeId, response, {}, {}});
        if (fail)
            throw fdt::Error("child failed");
    }
    void OnTransactionResponse(const std::string& invokeId, const std::string& response) override
    {
        calls.push_back({"OnTransactionResponse", invokeId, response, {}, {}});
        if (fail)
            throw fdt::Error("child failed");
    }

    bool fail = false;
    std::vector<PeerCall> calls;
};

// --- documents of the peers ---------------------------------------------------

inline constexpr const char* kFdtNs = "xmlns:fdt=\"x-schema:FDTDataTypesSchema.xml\"";

inline std::string hartConnectRequest(const std::string& tag, const std::string& shortAddress)
{
    return std::string("<?xml version=\"1.0\"?><FDT xmlns=\"x-schema:FDTHARTCommunicationSchema.xml\" ") + kFdtNs +
           "><ConnectRequest fdt:tag=\"" + tag + "\"><ShortAddress shortAddress=\"" + shortAddress +
           "\"/></ConnectRequest></FDT>";
}

inline std::string hartDisconnectRequest(const std::string& reference)
{
    return std::string("<?xml version=\"1.0\"?><FDT xmlns=\"x-schema:FDTHARTCommunicationSchema.xml\" ") + kFdtNs +
           "><DisconnectRequest communicationReference=\"" + reference + "\"/></FDT>";
}

// A HART data-exchange request; no CommunicationData element when `data` is nothing.
inline std::string hartRequest(const std::string& command, const std::string& reference,
                               const std::optional<std::string>& data)
{
    std::string text = std::string("<?xml version=\"1.0\"?><FDT xmlns=\"x-schema:FDTHARTCommunicationSchema.xml\" ") +
                       kFdtNs + "><DataExchangeRequest commandNumber=\"" + command + "\" communicationReference=\"" +
                       reference + "\">";
    if (data)
        text += "<fdt:CommunicationData byteArray=\"" + *data + "\"/>";
    return text + "</DataExchangeRequest></FDT>";
}

inline std::string zebConnectResponse(const std::string& reference, const std::string& tag)
{
    return std::string("<?xml version=\"1.0\"?><FDT xmlns=\"x-schema:ZEBCommunicationSchema.xml\" ") + kFdtNs +
           "><ConnectResponse CommunicationReference=\"" + reference + "\" fdt:tag=\"" + tag + "\"/></FDT>";
}

inline std::string zebDisconnectResponse(const std::string& reference)
{
    return std::string("<?xml version=\"1.0\"?><FDT xmlns=\"x-schema:ZEBCommunicationSchema.xml\" ") + kFdtNs +
           "><DisconnectResponse CommunicationReference=\"" + reference + "\"/></FDT>";
}

// A ZEB data-exchange response; the parent writes CommunicationData="" for no data
// bytes; `data` as nothing leaves the attribute out.
struct ZebAnswer {
    std::string status = "0";
    std::string objectNo = "258";
    std::string subNo = "3";
    std::string messageType = "5";
    std::string noOfBytes = "4";
    std::optional<std::string> data = std::string();
    std::string reference = "REF-1";
};

inline std::string zebResponse(const ZebAnswer& answer)
{
    std::string text = std::string("<?xml version=\"1.0\"?><FDT xmlns=\"x-schema:ZEBCommunicationSchema.xml\" ") +
                       kFdtNs + "><DataExchangeResponse Status=\"" + answer.status +
                       "\" CommunicationReference=\"" + answer.reference + "\"><CommunicationHeader MessageType=\"" +
                       answer.messageType + "\" ObjectType=\"2\" NoOfBytes=\"" + answer.noOfBytes + "\" SubNo=\"" +
                       answer.subNo + "\" ObjectNo=\"" + answer.objectNo + "\"";
    if (answer.data)
        text += " CommunicationData=\"" + *answer.data + "\"";
    return text + "/></DataExchangeResponse></FDT>";
}

// A one-byte (or longer) identity answer for object `objectNo`.
inline std::string identityAnswer(std::int32_t objectNo, const std::string& data)
{
    ZebAnswer answer;
    answer.objectNo = std::to_string(objectNo);
    answer.subNo = "33";
    answer.noOfBytes = std::to_string(4 + data.size() / 2);
    answer.data = data;
    return zebResponse(answer);
}

// A ZEB communication error; an attribute given as nothing is left out.
inline std::string zebError(const std::optional<std::string>& zebActive, const std::string& error,
                            const std::string& reference = "REF-1", const std::string& tag = "Parent")
{
    std::string text = std::string("<?xml version=\"1.0\"?><FDT xmlns=\"x-schema:ZEBCommunicationSchema.xml\" ") +
                       kFdtNs + "><ZebCommError";
    if (zebActive)
        text += " ZebActive=\"" + *zebActive + "\"";
    return text + " ZebcommError=\"" + error + "\" CommunicationReference=\"" + reference + "\" fdt:tag=\"" + tag +
           "\"/></FDT>";
}

// --- reading what the gateway handed out ---------------------------------------

// A document handed to a peer, parsed once, for checks attribute by attribute.
class Document {
public:
    explicit Document(const std::string& text) { m_loaded = m_doc.loadXml(text) == platform::LoadResult::Loaded; }
    bool loaded() const { return m_loaded; }
    bool has(const std::string& path) const { return m_doc.selectSingleNode(path) != nullptr; }
    // The attribute's text; nothing when the element or the attribute is missing.
    std::optional<std::string> attr(const std::string& path, const std::string& name) const
    {
        xmlNode* element = m_doc.selectSingleNode(path);
        if (!element)
            return std::nullopt;
        return platform::attribute(element, name);
    }

private:
    platform::XmlDocument m_doc;
    bool m_loaded = false;
};

} // namespace zeb2hart::gateway::test
