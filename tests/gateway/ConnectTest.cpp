#include <gtest/gtest.h>

#include "fdt/Errors.h"
#include "gateway/GatewayFixture.h"

namespace zeb2hart::gateway::test {
namespace {

const std::string kConnect = "G2 IFdtCommunication.ConnectRequest() | ";
const std::string kOnConnect = "G2 IFdtCommunicationEvents_OnConnectResponse() | ";
const std::string kOnConnectCritical = "R2 IFdtCommunicationEvents_OnConnectResponse() | Critical Error";
const std::string kOnDisconnect = "G2 IFdtCommunicationEvents_OnDisconnectResponse() | ";
const std::string kOnDisconnectCritical = "R2 IFdtCommunicationEvents_OnDisconnectResponse() | Critical Error";
const std::string kDisconnect = "G2 IFdtCommunication_DisconnectRequest | ";
const std::string kDisconnectCritical =
    "R2 IFdtCommunication_DisconnectRequest | Critical Error in IFdtCommunication_DisconnectRequest";

using ConnectTest = GatewayTest;

TEST_F(ConnectTest, ConnectRequestGoesToTheParentWithTheChildsTagAndInvokeId)
{
    EXPECT_TRUE(gateway().ConnectRequest(m_child, "child-invoke", kHartProtocolId, hartConnectRequest("Tag 7", "5")));
    EXPECT_EQ(m_parent->calls.at(0).protocolId, "81684E65-6385-4690-ACCF-49995B3B4E8B");
    EXPECT_EQ(m_parent->calls[0].callback, m_host.self);
    Document(toParent()).expect("FDT/ConnectRequest", {{"fdt:tag", "Tag 7"}});
    EXPECT_EQ(gateway().communicator().CallbackInterface(), m_child);
    EXPECT_EQ(gateway().communicator().shortAddress(), 5);
    // Connected only when the parent answers.
    expectEvents({kConnect, "parent ConnectRequest child-invoke"});
}

TEST_F(ConnectTest, RefusalsInTheirOrder)
{
    struct Case { bool childAlreadyConnected, nullCallback; std::string protocolId, message; };
    const std::string already = "CallbackInterface Pointer in Communicator class already set";
    const std::string nothing = "Transfered CallbackInterface Pointer is Nothing";
    const std::string wrong = "Transfered Protocol Id is wrong";
    const Case cases[] = {
        {true, false, kHartProtocolId, already},  {true, true, "wrong", already},
        {false, true, "wrong", nothing},          {false, true, kHartProtocolId, nothing},
        {false, false, "036d1498-387b-11d4-86e1-00e0987270b9", wrong},
        {false, false, "{036D1498-387B-11D4-86E1-00E0987270B9}", wrong},
        {false, false, kZebProtocolId, wrong},    {false, false, "", wrong},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message + " / " + c.protocolId);
        const auto recorded = std::make_shared<RecordingChild>();
        gateway().communicator().CallbackInterface(c.childAlreadyConnected ? recorded : nullptr);
        EXPECT_FALSE(gateway().ConnectRequest(c.nullCallback ? nullptr : m_child, "i", c.protocolId,
                                              hartConnectRequest("T", "1")));
        expectEvents({"R2 IFdtCommunication.ConnectRequest() | " + c.message});
        EXPECT_EQ(gateway().communicator().CallbackInterface(), c.childAlreadyConnected ? recorded : nullptr);
    }
}

TEST_F(ConnectTest, ParentRefusalLeavesNoChildAndAllowsANewConnect)
{
    m_parent->connectResult = false;
    EXPECT_FALSE(gateway().ConnectRequest(m_child, "i1", kHartProtocolId, hartConnectRequest("T", "1")));
    expectEvents({kConnect, "parent ConnectRequest i1"});
    EXPECT_FALSE(gateway().communicator().CallbackInterface());

    m_parent->connectResult = true;
    EXPECT_TRUE(gateway().ConnectRequest(m_child, "i2", kHartProtocolId, hartConnectRequest("T", "1")));
    EXPECT_EQ(gateway().communicator().CallbackInterface(), m_child);
    expectEvents({kConnect, "parent ConnectRequest i2"});
}

TEST_F(ConnectTest, CriticalErrors)
{
    const std::string critical = "R2 IFdtCommunication.ConnectRequest() | Critical Error in "
                                 "IFdtCommunication.ConnectRequest";
    struct Case { std::string document; bool withParent; };
    const Case cases[] = {
        {hartConnectRequest("T", "five"), true},  // short address not a number
        {hartConnectRequest("T", "40000"), true}, // short address too large
        {"not a document", true},                 // no short address at all
        {hartConnectRequest("T", "1"), false},    // no parent: the child stays
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document);
        gateway().communicator().CallbackInterface(nullptr);
        gateway().communicator().ZEBDriverInterface(c.withParent ? m_parent : nullptr);
        EXPECT_FALSE(gateway().ConnectRequest(m_child, "i", kHartProtocolId, c.document));
        EXPECT_EQ(gateway().communicator().CallbackInterface(), c.withParent ? nullptr : m_child);
        expectEvents(c.withParent ? Events{critical} : Events{kConnect, critical});
    }
}

TEST_F(ConnectTest, ConnectResponseIsPassedToTheChild)
{
    ASSERT_TRUE(gateway().ConnectRequest(m_child, "c1", kHartProtocolId, hartConnectRequest("T", "5")));
    clearRecords();
    gateway().OnConnectResponse("parent-invoke", zebConnectResponse("REF-77", "ParentTag"));
    expectEvents({"child OnConnectResponse parent-invoke", kOnConnect, "status 0"});
    const Document answer(toChild());
    answer.expect("FDT/ConnectResponse", {{"fdt:tag", "ParentTag"}, {"preambleCount", "0"}, {"primaryMaster", "1"},
                                          {"communicationReference", "REF-77"}});
    answer.expect("FDT/ConnectResponse/ShortAddress", {{"shortAddress", "5"}});
    EXPECT_EQ(gateway().communicator().communicationReference(), "REF-77");
}

TEST_F(ConnectTest, ConnectResponseFailuresLeaveTheStatus)
{
    gateway().OnConnectResponse("p", zebConnectResponse("REF-1", "P")); // no child
    expectEvents({"R2 IFdtCommunicationEvents_OnConnectResponse() | OnConnectResponse() received but ZEB-DTM "
                  "Pointer invalid"});
    EXPECT_EQ(gateway().communicator().communicationReference(), "");

    ASSERT_TRUE(gateway().ConnectRequest(m_child, "c1", kHartProtocolId, hartConnectRequest("T", "5")));
    clearRecords();
    gateway().OnConnectResponse("p", "<FDT><ConnectResponse/></FDT>"); // no CommunicationReference
    expectEvents({kOnConnectCritical});
    m_child->fail = true;
    gateway().OnConnectResponse("p", zebConnectResponse("REF-2", "P"));
    expectEvents({"child OnConnectResponse p", kOnConnectCritical});
    EXPECT_EQ(gateway().communicator().CallbackInterface(), m_child);
}

TEST_F(ConnectTest, DisconnectSendsTheBroadcastThenPassesTheChildsRequestOn)
{
    connect();
    const std::string childRequest = hartDisconnectRequest("REF-1");
    EXPECT_TRUE(gateway().DisconnectRequest("disc-1", childRequest));
    EXPECT_EQ(gateway().ZebInvokeId(), guid(1));
    expectBroadcast(m_parent->calls.at(0).document, "REF-1");
    EXPECT_EQ(toParent(), childRequest);
    // Nothing changes until the parent answers.
    EXPECT_EQ(gateway().communicator().CallbackInterface(), m_child);
    expectEvents(broadcastEvents(guid(1)) + Events{kDisconnect, "parent DisconnectRequest disc-1"});
}

TEST_F(ConnectTest, DisconnectFailures)
{
    struct Case { const char* name; bool connected, withParent, parentAnswer, parentThrows; Events after; };
    const Case cases[] = {
        {"parent refuses", true, true, false, false, {kDisconnect, "parent DisconnectRequest d"}},
        {"no child: the broadcast still goes out", false, true, true, false, {}},
        {"no parent", true, false, true, false, {kDisconnect, kDisconnectCritical}},
        {"parent fails", true, true, true, true, {kDisconnect, "parent DisconnectRequest d", kDisconnectCritical}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        gateway().communicator().CallbackInterface(nullptr);
        gateway().communicator().ZEBDriverInterface(m_parent);
        if (c.connected)
            connect();
        gateway().communicator().ZEBDriverInterface(c.withParent ? m_parent : nullptr);
        m_parent->disconnectResult = c.parentAnswer;
        m_parent->throwOnDisconnect = c.parentThrows;
        EXPECT_FALSE(gateway().DisconnectRequest("d", hartDisconnectRequest("REF-1")));
        Events expected = broadcastEvents(gateway().ZebInvokeId());
        if (!c.withParent)
            expected.pop_back();
        expectEvents(expected + c.after);
    }
}

TEST_F(ConnectTest, DisconnectResponseClosesTheConnection)
{
    connect();
    gateway().OnDisconnectResponse("parent-disc", zebDisconnectResponse("REF-1"));
    expectEvents({"child OnDisconnectResponse parent-disc", kOnDisconnect, "status 1"});
    Document(toChild()).expect("FDT/DisconnectResponse", {{"communicationReference", "REF-1"}});
    EXPECT_FALSE(gateway().communicator().CallbackInterface());
    // The reference and short address stay until the next connect.
    EXPECT_EQ(gateway().communicator().communicationReference(), "REF-1");
    // A new connect is accepted now.
    EXPECT_TRUE(gateway().ConnectRequest(m_child, "c2", kHartProtocolId, hartConnectRequest("T", "2")));
}

TEST_F(ConnectTest, DisconnectResponseFailures)
{
    gateway().OnDisconnectResponse("p", zebDisconnectResponse("REF-1")); // no child
    expectEvents({kOnDisconnectCritical});
    connect();
    m_child->fail = true;
    gateway().OnDisconnectResponse("p", zebDisconnectResponse("REF-1"));
    expectEvents({"child OnDisconnectResponse p", kOnDisconnectCritical});
    EXPECT_EQ(gateway().communicator().CallbackInterface(), m_child);
    m_child->fail = false;
    gateway().OnDisconnectResponse("p", "<FDT><DisconnectResponse/></FDT>"); // no reference
    expectEvents({kOnDisconnectCritical});
}

TEST_F(ConnectTest, FullConnectDisconnectRoundTrip)
{
    ASSERT_TRUE(gateway().ConnectRequest(m_child, "c", kHartProtocolId, hartConnectRequest("T", "3")));
    gateway().OnConnectResponse("c", zebConnectResponse("REF-9", "P"));
    ASSERT_TRUE(gateway().DisconnectRequest("d", hartDisconnectRequest("REF-9")));
    gateway().OnDisconnectResponse("d", zebDisconnectResponse("REF-9"));
    expectEvents(Events{kConnect, "parent ConnectRequest c", "child OnConnectResponse c", kOnConnect, "status 0"} +
                 broadcastEvents(guid(1)) +
                 Events{kDisconnect, "parent DisconnectRequest d", "child OnDisconnectResponse d", kOnDisconnect,
                        "status 1"});
}

TEST_F(ConnectTest, AbortIsPassedToTheChild)
{
    gateway().OnAbort("REF-1");
    expectEvents({"R2 IFdtCommunicationEvents_OnAbort() | OnAbort() received but ZEB-DTM Pointer invalid"});
    connect();
    gateway().OnAbort("REF-1");
    expectEvents({"child OnAbort REF-1", "B2 IFdtCommunicationEvents_OnAbort() | OnAbort() received"});
    EXPECT_EQ(gateway().communicator().CallbackInterface(), m_child);
    // The child's failure reaches the parent.
    m_child->fail = true;
    EXPECT_THROW(gateway().OnAbort("REF-1"), fdt::Error);
    expectEvents({"child OnAbort REF-1"});
}

TEST_F(ConnectTest, OperationsWithoutEffectAndTheSupportedProtocols)
{
    connect();
    gateway().Abort("x");
    EXPECT_FALSE(gateway().SequenceBegin("x"));
    EXPECT_FALSE(gateway().SequenceStart("x"));
    EXPECT_FALSE(gateway().SequenceEnd("x"));
    expectEvents({});

    const std::string protocols = gateway().GetSupportedProtocols();
    EXPECT_EQ(protocols, m_xmlHelp.GetSupportedProtocols());
    EXPECT_NE(protocols.find("036D1498-387B-11D4-86E1-00E0987270B9"), std::string::npos) << protocols;
    expectEvents({"G2 IFdtCommunication_GetSupportedProtocols() | Successful"});
}

// A component folder whose request template is missing: building the broadcast fails.
class BrokenTemplateTest : public GatewayTest {
protected:
    static std::filesystem::path brokenFolder()
    {
        static zeb2hart::test::TempComponentFolder folder;
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
    loop().advance(std::chrono::milliseconds(1000));
    EXPECT_EQ(gateway().timeoutTimer().Interval(), 0);
    expectEvents({});
}

} // namespace
} // namespace zeb2hart::gateway::test
