#pragma once
// One HartGateway between a recording parent and a recording child, under test
// services (numbered GUIDs, a manual event loop), with the component's templates.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fakes/TestEnvironment.h"
#include "gateway/GatewayFakes.h"
#include "gateway/HartGateway.h"
#include "xml/XMLHelp.h"

namespace zeb2hart::gateway::test {

inline std::string guid(int n)
{
    char text[40];
    std::snprintf(text, sizeof text, "00000000-0000-4000-8000-%012X", n);
    return text;
}

constexpr const char* kResponse = "FDT/DataExchangeResponse";
constexpr const char* kResponseData = "FDT/DataExchangeResponse/fdt:CommunicationData";
constexpr const char* kCommandResponse = "FDT/DataExchangeResponse/Status/CommandResponse";
constexpr const char* kRequest = "FDT/DataExchangeRequest";
constexpr const char* kHeader = "FDT/DataExchangeRequest/CommunicationHeader";
constexpr const char* kCommunicationError = "FDT/fdt:CommunicationError";

// Expects the HART answer document: command, reference, data bytes (nothing: no
// data element), device status 0 and the response code.
inline void expectHartAnswer(const std::string& text, const std::string& command, const std::string& reference,
                             const std::optional<std::string>& data, const std::string& code)
{
    const Document answer(text);
    answer.expect(kResponse, {{"commandNumber", command}, {"communicationReference", reference}});
    answer.expect(kResponseData, {{"byteArray", data}});
    EXPECT_EQ(answer.has(kResponseData), data.has_value());
    answer.expect("FDT/DataExchangeResponse/Status", {{"deviceStatus", "0"}});
    answer.expect(kCommandResponse, {{"value", code}});
}

// Expects the ZEB request document: reference, control, the header attribute by attribute
// (message type, object type 2, byte count, sub- and object number) and the data.
inline void expectZebRequest(const std::string& text, const std::string& reference, const std::string& control,
                             const std::string& messageType, const std::string& noOfBytes, const std::string& subNo,
                             const std::string& objectNo, const std::optional<std::string>& data)
{
    const Document request(text);
    request.expect(kRequest, {{"CommunicationReference", reference}, {"Control", control}});
    request.expect(kHeader, {{"MessageType", messageType}, {"ObjectType", "2"}, {"NoOfBytes", noOfBytes},
                             {"SubNo", subNo}, {"ObjectNo", objectNo}, {"CommunicationData", data}});
}

// The gateway's own warm-start broadcast: object 32768, message type 7, control 3, no data.
inline void expectBroadcast(const std::string& text, const std::string& reference)
{
    expectZebRequest(text, reference, "3", "7", "4", "0", "32768", std::nullopt);
}
inline Events broadcastEvents(const std::string& invokeId)
{
    return {"B0 Request ZEB | InvokeID " + invokeId, "B0 | ObjNo.: 32768\tSubNo.: 0\tMsgType : 7\tCtrl.: 3",
            "parent TransactionRequest " + invokeId};
}
inline Events operator+(Events first, const Events& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

class GatewayTest : public ::testing::Test {
protected:
    explicit GatewayTest(const std::filesystem::path& componentFolder = zeb2hart::test::componentDir())
        : m_environment(componentFolder), m_xmlHelp(componentFolder)
    {
        m_gateway = std::make_unique<HartGateway>(m_host, m_xmlHelp, platform::services().eventLoop);
        m_host.self = std::make_shared<RecordingChild>();
        m_gateway->communicator().ZEBDriverInterface(m_parent);
    }

    HartGateway& gateway() { return *m_gateway; }
    platform::ManualEventLoop& loop() { return m_environment.loop(); }

    // A child connected under "REF-1" with short address 0; records cleared.
    void connect()
    {
        ASSERT_TRUE(gateway().ConnectRequest(m_child, "connect-1", kHartProtocolId, hartConnectRequest("Child", "0")));
        gateway().OnConnectResponse("connect-1", zebConnectResponse("REF-1", "Parent"));
        ASSERT_EQ(m_log->back(), "status 0");
        clearRecords();
    }
    void clearRecords()
    {
        m_log->clear();
        m_parent->calls.clear();
        m_child->calls.clear();
    }
    // Expects the events since the last check, and forgets them; the peers keep their calls.
    void expectEvents(const Events& expected)
    {
        EXPECT_EQ(*m_log, expected);
        m_log->clear();
    }
    // The child's HART request under "REF-1".
    bool request(const std::string& invokeId, const std::string& command, const std::optional<std::string>& data)
    {
        return gateway().TransactionRequest(invokeId, hartRequest(command, "REF-1", data));
    }
    // The document of the last call the child or the parent received.
    std::string toChild() const { return m_child->calls.empty() ? "" : m_child->calls.back().document; }
    std::string toParent() const { return m_parent->calls.empty() ? "" : m_parent->calls.back().document; }

    zeb2hart::test::TestEnvironment m_environment;
    xml::XMLHelp m_xmlHelp;
    EventLog m_log = std::make_shared<Events>();
    FakeHost m_host{m_log};
    std::shared_ptr<RecordingParent> m_parent = std::make_shared<RecordingParent>(m_log);
    std::shared_ptr<RecordingChild> m_child = std::make_shared<RecordingChild>(m_log);
    std::unique_ptr<HartGateway> m_gateway;
};

} // namespace zeb2hart::gateway::test
