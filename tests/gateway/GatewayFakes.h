#pragma once
// Stand-ins around HartGateway: the owning DTM (FakeHost), the parent
// communication DTM (RecordingParent) and the child device DTM (RecordingChild),
// all writing to one log of events; the peers' documents; and a reader for the
// documents the gateway hands out.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fdt/CommunicationInterfaces.h"
#include "fdt/Errors.h"
#include "gateway/HartGateway.h"
#include "dom/SchemaCollection.h"
#include "dom/XmlDom.h"
#include "support/Monitor.h"

namespace zeb2hart::gateway::test {

// What was observed, in order, one text per event:
//  - a monitor line as "<colour><filter> <function> | <message>", the colour G(reen), R(ed),
//    B(lue) or K (black), the filter 0 (ZEB), 1 (HART) or 2 (FDT interface), no function
//    name when it is empty;
//  - a status change as "status <n>";
//  - a call a peer received as "<parent|child> <operation> <invoke id or reference>".
using Events = std::vector<std::string>;
using EventLog = std::shared_ptr<Events>;

inline std::string monitorEvent(const std::string& functionName, const std::string& message, std::int32_t color,
                                std::int16_t filter)
{
    const char* code = color == support::color::Green ? "G"
                       : color == support::color::Red ? "R"
                       : color == support::color::Blue ? "B"
                       : color == support::color::Black ? "K"
                                                         : "?";
    return code + std::to_string(filter) + (functionName.empty() ? "" : " " + functionName) + " | " + message;
}

// The DTM object as the gateway sees it.
class FakeHost final : public GatewayHost {
public:
    explicit FakeHost(EventLog log) : m_log(std::move(log)) {}
    void MonitorMsg(const std::string& functionName, const std::string& message, std::int32_t color,
                    std::int16_t filter) override
    {
        m_log->push_back(monitorEvent(functionName, message, color, filter));
    }
    std::int16_t warmstartDelay() const override { return delay; }
    std::array<std::string, 6> identityTexts() const override { return identity; }
    void setCommStatus(std::int32_t status) override { m_log->push_back("status " + std::to_string(status)); }
    std::shared_ptr<fdt::IFdtCommunicationEvents> selfAsCallback() override { return self; }

    std::int16_t delay = 3;
    std::array<std::string, 6> identity{"14002.32", "14000.32", "14016.32", "14015.32", "14014.32", "32516.28"};
    std::shared_ptr<fdt::IFdtCommunicationEvents> self;

private:
    EventLog m_log;
};

// One call that the parent or the child received.
struct PeerCall {
    std::string operation;
    std::string invokeId; // or the communication reference of OnAbort
    std::string document;
    std::string protocolId;
    std::shared_ptr<fdt::IFdtCommunicationEvents> callback;
};

// "Operation invokeId" of each call, to compare a sequence of calls as a whole.
inline std::vector<std::string> summary(const std::vector<PeerCall>& calls)
{
    std::vector<std::string> result;
    for (const auto& call : calls)
        result.push_back(call.operation + " " + call.invokeId);
    return result;
}

// A peer that records every call it receives, in its own list and in the log.
class RecordingPeer {
public:
    RecordingPeer(const char* name, EventLog log) : m_name(name), m_log(std::move(log)) {}
    std::vector<PeerCall> calls;

protected:
    void record(PeerCall call)
    {
        m_log->push_back(m_name + " " + call.operation + (call.invokeId.empty() ? "" : " " + call.invokeId));
        calls.push_back(std::move(call));
    }

private:
    std::string m_name;
    EventLog m_log;
};

// The parent communication DTM: answers what the test tells it.
class RecordingParent final : public fdt::IFdtCommunication, public RecordingPeer {
public:
    explicit RecordingParent(EventLog log = std::make_shared<Events>()) : RecordingPeer("parent", std::move(log)) {}
    void Abort(const std::string& fieldbusFrame) override { record({"Abort", {}, fieldbusFrame, {}, {}}); }
    bool ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>& callback, const std::string& invokeId,
                        const std::string& protocolId, const std::string& fieldbusFrame) override
    {
        record({"ConnectRequest", invokeId, fieldbusFrame, protocolId, callback});
        return connectResult;
    }
    bool DisconnectRequest(const std::string& invokeId, const std::string& fieldbusFrame) override
    {
        record({"DisconnectRequest", invokeId, fieldbusFrame, {}, {}});
        if (throwOnDisconnect)
            throw fdt::Error("parent failed");
        return disconnectResult;
    }
    bool TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame) override
    {
        record({"TransactionRequest", invokeId, fieldbusFrame, {}, {}});
        if (transactionResults.empty())
            return transactionResult;
        const bool result = transactionResults.front();
        transactionResults.pop_front();
        return result;
    }
    std::string GetSupportedProtocols() override { return {}; }
    bool SequenceBegin(const std::string&) override { return false; }
    bool SequenceStart(const std::string&) override { return false; }
    bool SequenceEnd(const std::string&) override { return false; }

    bool connectResult = true;
    bool disconnectResult = true;
    bool throwOnDisconnect = false;
    bool transactionResult = true;
    std::deque<bool> transactionResults; // taken first, one per transaction
};

// The child device DTM's callback; fails on request.
class RecordingChild final : public fdt::IFdtCommunicationEvents, public RecordingPeer {
public:
    explicit RecordingChild(EventLog log = std::make_shared<Events>()) : RecordingPeer("child", std::move(log)) {}
    void OnAbort(const std::string& reference) override { answer("OnAbort", reference, {}); }
    void OnConnectResponse(const std::string& id, const std::string& r) override { answer("OnConnectResponse", id, r); }
    void OnDisconnectResponse(const std::string& id, const std::string& response) override
    {
        answer("OnDisconnectResponse", id, response);
    }
    void OnTransactionResponse(const std::string& id, const std::string& response) override
    {
        answer("OnTransactionResponse", id, response);
    }
    bool fail = false;

private:
    void answer(const char* operation, const std::string& invokeId, const std::string& document)
    {
        record({operation, invokeId, document, {}, {}});
        if (fail)
            throw fdt::Error("child failed");
    }
};

// --- documents of the peers ---------------------------------------------------

// An FDT document of the HART (child) or the ZEB (parent) communication schema.
inline std::string fdtDocument(const char* schema, const std::string& body)
{
    return std::string("<?xml version=\"1.0\"?><FDT xmlns=\"x-schema:") + schema +
           "\" xmlns:fdt=\"x-schema:FDTDataTypesSchema.xml\">" + body + "</FDT>";
}
inline std::string hartDocument(const std::string& body)
{
    return fdtDocument("FDTHARTCommunicationSchema.xml", body);
}
inline std::string zebDocument(const std::string& body)
{
    return fdtDocument("ZEBCommunicationSchema.xml", body);
}

inline std::string hartConnectRequest(const std::string& tag, const std::string& shortAddress)
{
    return hartDocument("<ConnectRequest fdt:tag=\"" + tag + "\"><ShortAddress shortAddress=\"" + shortAddress +
                        "\"/></ConnectRequest>");
}

inline std::string hartDisconnectRequest(const std::string& reference)
{
    return hartDocument("<DisconnectRequest communicationReference=\"" + reference + "\"/>");
}

// A HART data-exchange request; no CommunicationData element when `data` is nothing.
inline std::string hartRequest(const std::string& command, const std::string& reference,
                               const std::optional<std::string>& data)
{
    return hartDocument("<DataExchangeRequest commandNumber=\"" + command + "\" communicationReference=\"" +
                        reference + "\">" +
                        (data ? "<fdt:CommunicationData byteArray=\"" + *data + "\"/>" : std::string()) +
                        "</DataExchangeRequest>");
}

inline std::string zebConnectResponse(const std::string& reference, const std::string& tag)
{
    return zebDocument("<ConnectResponse CommunicationReference=\"" + reference + "\" fdt:tag=\"" + tag + "\"/>");
}

inline std::string zebDisconnectResponse(const std::string& reference)
{
    return zebDocument("<DisconnectResponse CommunicationReference=\"" + reference + "\"/>");
}

// A ZEB data-exchange response with the byte count of its data; the parent writes
// CommunicationData="" for no data bytes, and nothing leaves the attribute out.
inline std::string zebResponse(const std::string& status = "0", const std::optional<std::string>& data = "",
                               const std::string& objectNo = "258", const std::string& subNo = "3",
                               const std::string& messageType = "5", const std::string& reference = "REF-1")
{
    return zebDocument("<DataExchangeResponse Status=\"" + status + "\" CommunicationReference=\"" + reference +
                       "\"><CommunicationHeader MessageType=\"" + messageType + "\" ObjectType=\"2\" NoOfBytes=\"" +
                       std::to_string(4 + data.value_or("").size() / 2) + "\" SubNo=\"" + subNo + "\" ObjectNo=\"" +
                       objectNo + "\"" + (data ? " CommunicationData=\"" + *data + "\"" : std::string()) +
                       "/></DataExchangeResponse>");
}

// A ZEB communication error; an attribute given as nothing is left out.
inline std::string zebError(const std::optional<std::string>& zebActive, const std::string& error,
                            const std::string& reference = "REF-1", const std::string& tag = "Parent")
{
    return zebDocument("<ZebCommError" + (zebActive ? " ZebActive=\"" + *zebActive + "\"" : std::string()) +
                       " ZebcommError=\"" + error + "\" CommunicationReference=\"" + reference + "\" fdt:tag=\"" +
                       tag + "\"/>");
}

// --- reading what was handed out -------------------------------------------------

// A document handed to a peer, parsed once (and validated when given schemas, whose
// namespaces must then include the root's), for checks attribute by attribute.
class Document {
public:
    explicit Document(const std::string& text, std::shared_ptr<dom::SchemaCollection> schemas = nullptr)
    {
        if (schemas)
            m_doc.setSchemas(schemas);
        EXPECT_EQ(m_doc.loadXml(text), dom::LoadResult::Loaded)
            << m_doc.parseError().code << " " << m_doc.parseError().reason << "\n" << text;
        if (schemas && m_doc.documentElement()) {
            EXPECT_TRUE(schemas->contains(dom::namespaceUri(m_doc.documentElement())))
                << "the root's namespace is checked by no schema\n" << text;
        }
    }
    bool has(const std::string& path) const { return node(path) != nullptr; }
    xmlNode* node(const std::string& path) const { return m_doc.selectSingleNode(path); }
    // The attribute's text; nothing when the element or the attribute is missing.
    std::optional<std::string> attr(const std::string& path, const std::string& name) const
    {
        xmlNode* element = node(path);
        return element ? dom::attribute(element, name) : std::nullopt;
    }
    // Expects the attributes of the element at `path`; nothing for an attribute that must be missing.
    void expect(const std::string& path,
                std::initializer_list<std::pair<const char*, std::optional<std::string>>> attributes) const
    {
        for (const auto& [name, value] : attributes)
            EXPECT_EQ(attr(path, name), value) << path << " @" << name;
    }

private:
    dom::XmlDocument m_doc;
};

} // namespace zeb2hart::gateway::test
