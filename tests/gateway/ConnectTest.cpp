// Connect, disconnect and abort where the peers misbehave: odd documents,
// failing or missing peers, and a component folder without its templates.
#include <gtest/gtest.h>

#include "fdt/Errors.h"
#include "gateway/GatewayFixture.h"

namespace zeb2hart::test {
namespace {

const std::string kOnConnectCritical = "R2 IFdtCommunicationEvents_OnConnectResponse() | Critical Error";
const std::string kOnDisconnectCritical = "R2 IFdtCommunicationEvents_OnDisconnectResponse() | Critical Error";
const std::string kDisconnect = "G2 IFdtCommunication_DisconnectRequest | ";
const std::string kDisconnectCritical =
    "R2 IFdtCommunication_DisconnectRequest | Critical Error in IFdtCommunication_DisconnectRequest";

using ConnectTest = GatewayTest;

TEST_F(ConnectTest, ConnectCriticalErrors)
{
    const std::string critical = "R2 IFdtCommunication.ConnectRequest() | Critical Error in "
                                 "IFdtCommunication.ConnectRequest";
    struct Case { std::string document; bool withParent; };
    const Case cases[] = {
        {hartConnectRequest("T", "40000"), true}, // short address too large for 16 bits
        {"not a document", true},                 // no short address at all
        {hartConnectRequest("T", "1"), false},    // no parent: the child stays
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document);
        communicator().CallbackInterface(nullptr);
        communicator().ZEBDriverInterface(c.withParent ? m_parent : nullptr);
        EXPECT_FALSE(gateway().ConnectRequest(m_child, "i", gateway::kHartProtocolId, c.document));
        EXPECT_EQ(communicator().CallbackInterface(), c.withParent ? nullptr : m_child);
        expectEvents(c.withParent ? Events{critical} : Events{"G2 IFdtCommunication.ConnectRequest() | ", critical});
    }
}

TEST_F(ConnectTest, ParentAnswersWithoutReferenceAreCriticalErrors)
{
    connect();
    gateway().OnConnectResponse("p", "<FDT><ConnectResponse/></FDT>");
    gateway().OnDisconnectResponse("p", "<FDT><DisconnectResponse/></FDT>");
    expectEvents({kOnConnectCritical, kOnDisconnectCritical});
    EXPECT_EQ(communicator().CallbackInterface(), m_child);
    EXPECT_EQ(communicator().communicationReference(), "REF-1");
}

TEST_F(ConnectTest, ChildFailuresEndTheHandlerOrReachTheParent)
{
    connect();
    m_child->faults.failAll();
    gateway().OnConnectResponse("p", zebConnectResponse("REF-2"));
    gateway().OnDisconnectResponse("p", zebDisconnectResponse("REF-2"));
    expectEvents({"child OnConnectResponse p", kOnConnectCritical, "child OnDisconnectResponse p",
                  kOnDisconnectCritical});
    EXPECT_EQ(communicator().CallbackInterface(), m_child);
    EXPECT_THROW(gateway().OnAbort("REF-2"), fdt::Error);
    expectEvents({"child OnAbort REF-2"});
}

TEST_F(ConnectTest, DisconnectFailures)
{
    struct Case { const char* name; bool withParent, parentAnswer, parentThrows; Events after; };
    const Case cases[] = {
        {"parent refuses", true, false, false, {kDisconnect, "parent DisconnectRequest d"}},
        {"no parent", false, true, false, {kDisconnect, kDisconnectCritical}},
        {"parent fails", true, true, true, {kDisconnect, "parent DisconnectRequest d", kDisconnectCritical}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        communicator().CallbackInterface(nullptr);
        communicator().ZEBDriverInterface(m_parent);
        connect();
        communicator().ZEBDriverInterface(c.withParent ? m_parent : nullptr);
        m_parent->answers.disconnectRequest = c.parentAnswer;
        m_parent->faults = fakes::PeerFaults();
        if (c.parentThrows)
            m_parent->faults.failOn("DisconnectRequest");
        EXPECT_FALSE(gateway().DisconnectRequest("d", hartDisconnectRequest("REF-1")));
        Events expected = broadcastEvents(gateway().ZebInvokeId());
        if (!c.withParent)
            expected.pop_back();
        expectEvents(expected + c.after);
        EXPECT_EQ(communicator().CallbackInterface(), m_child);
    }
}

// A component folder whose request template is missing: building the broadcast fails.
class BrokenTemplateTest : public GatewayTest {
protected:
    static std::filesystem::path brokenFolder()
    {
        static TempComponentFolder folder;
        std::filesystem::remove(folder.path() / "XMLData" / "ZEB2HARTDataExchangeRequest.xml");
        return folder.path();
    }
    BrokenTemplateTest() : GatewayTest(brokenFolder()) { connect(); }
};

TEST_F(BrokenTemplateTest, BroadcastFailureReachesTheCallerOrEndsTheTimerHandler)
{
    EXPECT_THROW(gateway().DisconnectRequest("d", hartDisconnectRequest("REF-1")), std::exception);
    gateway().timeoutTimer().Interval(1000);
    EXPECT_THROW(gateway().TimeoutTimer_TimerEvent(), std::exception);
    EXPECT_EQ(gateway().timeoutTimer().Interval(), 0);

    // Through the timer the failure ends quietly: nothing is sent, the timer is idle.
    gateway().timeoutTimer().Interval(1000);
    m_environment.loop().advance(std::chrono::milliseconds(1000));
    EXPECT_EQ(gateway().timeoutTimer().Interval(), 0);
    expectEvents({});
    EXPECT_TRUE(m_parent->calls.empty());
}

} // namespace
} // namespace zeb2hart::test
