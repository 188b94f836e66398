#pragma once
// One HartGateway between a recording parent and a recording child, owned by a
// fake DTM (FakeHost), under the test services (numbered GUIDs, a manual event
// loop) and the component's templates. Host and peers write to one event log.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "fakes/DocumentCheck.h"
#include "fakes/FdtDocuments.h"
#include "FakePeers.h"
#include "fakes/TestEnvironment.h"
#include "gateway/HartGateway.h"
#include "xml/XMLHelp.h"

namespace zeb2hart::test {

using fakes::EventLog;
using fakes::Events;

inline std::string guid(int n)
{
    char text[40];
    std::snprintf(text, sizeof text, "00000000-0000-4000-8000-%012X", n);
    return text;
}

// The DTM object as the gateway sees it. A monitor line is logged as
// "<colour><filter> <function> | <message>" (colour G, R, B or K; no function
// when empty), a status change as "status <n>".
class FakeHost final : public gateway::GatewayHost {
public:
    explicit FakeHost(EventLog log) : m_log(std::move(log)) {}
    void MonitorMsg(const std::string& functionName, const std::string& message, std::int32_t color,
                    std::int16_t filter) override
    {
        namespace c = support::color;
        const char* code = color == c::Green ? "G" : color == c::Red ? "R" : color == c::Blue ? "B" : "K";
        m_log->push_back(code + std::to_string(filter) + (functionName.empty() ? "" : " " + functionName) + " | " +
                         message);
    }
    std::int16_t warmstartDelay() const override { return delay; }
    std::array<std::string, 6> identityTexts() const override { return identity; }
    void setCommStatus(std::int32_t status) override { m_log->push_back("status " + std::to_string(status)); }
    std::shared_ptr<fdt::IFdtCommunicationEvents> selfAsCallback() override { return self; }

    std::int16_t delay = 3;
    std::array<std::string, 6> identity{"14002.32", "14000.32", "14016.32", "14015.32", "14014.32", "32516.28"};
    std::shared_ptr<fdt::IFdtCommunicationEvents> self = std::make_shared<fakes::FakeChild>();

private:
    EventLog m_log;
};

constexpr const char* kCritical = "R2 IFdtCommunication_TransactionRequest | Critical Error in "
                                  "IFdtCommunication_TransactionRequest";

inline Events operator+(Events first, const Events& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}
// The lines of the gateway's own warm-start broadcast and its request to the parent.
inline Events broadcastEvents(const std::string& invokeId)
{
    return {"B0 Request ZEB | InvokeID " + invokeId, "B0 | ObjNo.: 32768\tSubNo.: 0\tMsgType : 7\tCtrl.: 3",
            "parent TransactionRequest " + invokeId};
}

class GatewayTest : public ::testing::Test {
protected:
    explicit GatewayTest(const std::filesystem::path& componentFolder = componentDir())
        : m_environment(componentFolder), m_xmlHelp(componentFolder)
    {
        m_gateway = std::make_unique<gateway::HartGateway>(m_host, m_xmlHelp, platform::services().eventLoop);
        m_gateway->communicator().ZEBDriverInterface(m_parent);
    }

    gateway::HartGateway& gateway() { return *m_gateway; }
    gateway::clsCommunicator& communicator() { return m_gateway->communicator(); }

    // A child connected under "REF-1" with short address 0; records cleared.
    void connect()
    {
        ASSERT_TRUE(gateway().ConnectRequest(m_child, "connect-1", gateway::kHartProtocolId, hartConnectRequest("C")));
        gateway().OnConnectResponse("connect-1", zebConnectResponse("REF-1"));
        ASSERT_EQ(m_log->back(), "status 0");
        clearRecords();
    }
    void clearRecords() { m_log->clear(); m_parent->calls.clear(); m_child->calls.clear(); }
    // Expects the events since the last check, and forgets them; the peers keep their calls.
    void expectEvents(const Events& expected)
    {
        EXPECT_EQ(*m_log, expected);
        m_log->clear();
    }
    // The child's HART request under "REF-1".
    bool request(const std::string& invokeId, const std::string& command, const std::optional<std::string>& data)
    {
        return gateway().TransactionRequest(invokeId, hartRequest(command, data));
    }
    // The document of the last call the child or the parent received.
    std::string toChild() const { return m_child->calls.at(m_child->calls.size() - 1).document; }
    std::string toParent() const { return m_parent->calls.at(m_parent->calls.size() - 1).document; }

    TestEnvironment m_environment;
    xml::XMLHelp m_xmlHelp;
    EventLog m_log = std::make_shared<Events>();
    FakeHost m_host{m_log};
    std::shared_ptr<fakes::FakeParent> m_parent = std::make_shared<fakes::FakeParent>("parent", fakes::logTo(m_log));
    std::shared_ptr<fakes::FakeChild> m_child = std::make_shared<fakes::FakeChild>("child", fakes::logTo(m_log));
    std::unique_ptr<gateway::HartGateway> m_gateway;
};

} // namespace zeb2hart::test
