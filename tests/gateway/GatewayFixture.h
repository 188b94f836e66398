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

class GatewayTest : public ::testing::Test {
protected:
    explicit GatewayTest(const std::filesystem::path& componentFolder = zeb2hart::test::componentDir())
        : m_environment(componentFolder), m_xmlHelp(componentFolder)
    {
        m_gateway = std::make_unique<HartGateway>(m_host, m_xmlHelp, platform::services().eventLoop);
        m_gatewayPointer = m_gateway.get();
        m_host.self = std::make_shared<GatewayCallback>(m_gatewayPointer);
        m_gateway->communicator().ZEBDriverInterface(m_parent);
    }

    HartGateway& gateway() { return *m_gateway; }
    platform::ManualEventLoop& loop() { return m_environment.loop(); }

    // A child connected under "REF-1" with short address 0; records cleared.
    void connect()
    {
        ASSERT_TRUE(gateway().ConnectRequest(m_child, "connect-1", kHartProtocolId, hartConnectRequest("Child", "0")));
        gateway().OnConnectResponse("connect-1", zebConnectResponse("REF-1", "Parent"));
        ASSERT_EQ(m_host.statuses, std::vector<std::int32_t>{0});
        clearRecords();
    }
    void clearRecords()
    {
        m_host.lines.clear();
        m_host.statuses.clear();
        m_parent->calls.clear();
        m_child->calls.clear();
    }
    // The lines written since the last clear, for comparison as a whole.
    const std::vector<MonitorLine>& lines() const { return m_host.lines; }

    zeb2hart::test::TestEnvironment m_environment;
    xml::XMLHelp m_xmlHelp;
    FakeHost m_host;
    std::shared_ptr<RecordingParent> m_parent = std::make_shared<RecordingParent>();
    std::shared_ptr<RecordingChild> m_child = std::make_shared<RecordingChild>();
    std::unique_ptr<HartGateway> m_gateway;
    HartGateway* m_gatewayPointer = nullptr;
};

} // namespace zeb2hart::gateway::test
