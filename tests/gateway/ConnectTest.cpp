#include <gtest/gtest.h>

#include "fdt/Errors.h"
#include "gateway/GatewayFixture.h"

namespace zeb2hart::gateway::test {
namespace {

constexpr const char* kConnect = "IFdtCommunication.ConnectRequest()";
constexpr const char* kOnConnect = "IFdtCommunicationEvents_OnConnectResponse()";
constexpr const char* kOnDisconnect = "IFdtCommunicationEvents_OnDisconnectResponse()";
constexpr const char* kOnAbort = "IFdtCommunicationEvents_OnAbort()";
constexpr const char* kDisconnect = "IFdtCommunication_DisconnectRequest";

using ConnectTest = GatewayTest;

TEST_F(ConnectTest, ConnectRequestGoesToTheParentWithTheChildsTagAndInvokeId)
{
    EXPECT_TRUE(gateway().ConnectRequest(m_child, "child-invoke", kHartProtocolId, hartConnectRequest("Tag 7", "5")));

    EXPECT_EQ(lines(), (std::vector<MonitorLine>{green(kConnect)}));
    ASSERT_EQ(m_parent->calls.size(), 1u);
    const PeerCall& call = m_parent->calls[0];
    EXPECT_EQ(call.operation, "ConnectRequest");
    EXPECT_EQ(call.invokeId, "child-invoke");
    EXPECT_EQ(call.protocolId, "81684E65-6385-4690-ACCF-49995B3B4E8B");
    EXPECT_EQ(call.callback, m_host.self);
    const Document request(call.document);
    ASSERT_TRUE(request.loaded()) << call.document;
    EXPECT_EQ(request.attr("FDT/ConnectRequest", "fdt:tag"), "Tag 7");

    EXPECT_EQ(gateway().communicator().CallbackInterface(), m_child);
    EXPECT_EQ(gateway().communicator().shortAddress(), 5);
    EXPECT_TRUE(m_host.statuses.empty()); // connected only when the parent answers
    EXPECT_TRUE(m_child->calls.empty());
}

TEST_F(ConnectTest, RefusalsInTheirOrder)
{
    struct Case {
        bool childAlreadyConnected;
        bool nullCallback;
        std::string protocolId;
        std::string message;
    };
    const std::vector<Case> cases = {
        {true, false, kHartProtocolId, "CallbackInterface Pointer in Communicator class already set"},
        {true, true, "wrong", "CallbackInterface Pointer in Communicator class already set"},
        {false, true, "wrong", "Transfered CallbackInterface Pointer is Nothing"},
        {false, true, kHartProtocolId, "Transfered CallbackInterface Pointer is Nothing"},
        {false, false, "036d1498-387b-11d4-86e1-00e0987270b9", "Transfered Protocol Id is wrong"},
        {false, false, "{036D1498-387B-11D4-86E1-00E0987270B9}", "Transfered Protocol Id is wrong"},
        {false, false, kZebProtocolId, "Transfered Protocol Id is wrong"},
        {false, false, "", "Transfered Protocol Id is wrong"},
    };
    for (const auto& c : cases) {
        const auto recorded = std::make_shared<RecordingChild>();
        gateway().communicator().CallbackInterface(c.childAlreadyConnected ? recorded : nullptr);
        clearRecords();
        EXPECT_FALSE(gateway().ConnectRequest(c.nullCallback ? nullptr : m_child, "i", c.protocolId,
                                              hartConnectRequest("T", "1")));
        EXPECT_EQ(lines(), (std::vector<MonitorLine>{red(kConnect, c.message)})) << c.message;
        EXPECT_TRUE(m_parent->calls.empty());
        EXPECT_EQ(gateway().communicator().CallbackInterface(), c.childAlreadyConnected ? recorded : nullptr);
    }
}

TEST_F(ConnectTest, ParentRefusalLeavesNoChildAndAllowsANewConnect)
{
    m_parent->connectResult = false;
    EXPECT_FALSE(gateway().ConnectRequest(m_child, "i1", kHartProtocolId, hartConnectRequest("T", "1")));
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{green(kConnect)}));
    EXPECT_FALSE(gateway().communicator().CallbackInterface());

    m_parent->connectResult = true;
    EXPECT_TRUE(gateway().ConnectRequest(m_child, "i2", kHartProtocolId, hartConnectRequest("T", "1")));
    EXPECT_EQ(gateway().communicator().CallbackInterface(), m_child);
    EXPECT_EQ(m_parent->calls.size(), 2u);
}

TEST_F(ConnectTest, CriticalErrors)
{
    const MonitorLine critical = red(kConnect, "Critical Error in IFdtCommunication.ConnectRequest");
    struct Case {
        std::string document;
        bool withParent;
        bool callbackStays;
    };
    const std::vector<Case> cases = {
        {hartConnectRequest("T", "five"), true, false},   // short address not a number
        {hartConnectRequest("T", "40000"), true, false},  // short address too large
        {"not a document", true, false},                  // no short address at all
        {hartConnectRequest("T", "1"), false, true},      // no parent
    };
    for (const auto& c : cases) {
        gateway().communicator().CallbackInterface(nullptr);
        gateway().communicator().ZEBDriverInterface(c.withParent ? m_parent : nullptr);
        clearRecords();
        EXPECT_FALSE(gateway().ConnectRequest(m_child, "i", kHartProtocolId, c.document));
        EXPECT_TRUE(m_parent->calls.empty());
        EXPECT_EQ(gateway().communicator().CallbackInterface(), c.callbackStays ? m_child : nullptr) << c.document;
        const std::vector<MonitorLine> expected =
            c.callbackStays ? std::vector<MonitorLine>{green(kConnect), critical} : std::vector<MonitorLine>{critical};
        EXPECT_EQ(lines(), expected) << c.document;
    }
}

TEST_F(ConnectTest, ConnectResponseIsPassedToTheChild)
{
    ASSERT_TRUE(gateway().ConnectRequest(m_child, "c1", kHartProtocolId, hartConnectRequest("T", "5")));
    clearRecords();

    gateway().OnConnectResponse("parent-invoke", zebConnectResponse("REF-77", "ParentTag"));

    ASSERT_EQ(m_child->calls.size(), 1u);
    EXPECT_EQ(m_child->calls[0].operation, "OnConnectResponse");
    EXPECT_EQ(m_child->calls[0].invokeId, "parent-invoke");
    const Document answer(m_child->calls[0].document);
    ASSERT_TRUE(answer.loaded()) << m_child->calls[0].document;
    EXPECT_EQ(answer.attr("FDT/ConnectResponse", "fdt:tag"), "ParentTag");
    EXPECT_EQ(answer.attr("FDT/ConnectResponse", "preambleCount"), "0");
    EXPECT_EQ(answer.attr("FDT/ConnectResponse", "primaryMaster"), "1");
    EXPECT_EQ(answer.attr("FDT/ConnectResponse", "communicationReference"), "REF-77");
    EXPECT_EQ(answer.attr("FDT/ConnectResponse/ShortAddress", "shortAddress"), "5");

    EXPECT_EQ(gateway().communicator().communicationReference(), "REF-77");
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{green(kOnConnect)}));
    EXPECT_EQ(m_host.statuses, std::vector<std::int32_t>{0});
}

TEST_F(ConnectTest, ConnectResponseWithoutChild)
{
    gateway().OnConnectResponse("p", zebConnectResponse("REF-1", "P"));
    EXPECT_EQ(lines(),
              (std::vector<MonitorLine>{red(kOnConnect, "OnConnectResponse() received but ZEB-DTM Pointer invalid")}));
    EXPECT_TRUE(m_host.statuses.empty());
    EXPECT_EQ(gateway().communicator().communicationReference(), "");
}

TEST_F(ConnectTest, ConnectResponseFailuresLeaveTheStatus)
{
    ASSERT_TRUE(gateway().ConnectRequest(m_child, "c1", kHartProtocolId, hartConnectRequest("T", "5")));
    clearRecords();
    // No CommunicationReference attribute.
    gateway().OnConnectResponse("p", "<FDT><ConnectResponse/></FDT>");
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{red(kOnConnect, "Critical Error")}));
    EXPECT_TRUE(m_child->calls.empty());

    clearRecords();
    m_child->fail = true;
    gateway().OnConnectResponse("p", zebConnectResponse("REF-2", "P"));
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{red(kOnConnect, "Critical Error")}));
    EXPECT_TRUE(m_host.statuses.empty());
    EXPECT_EQ(gateway().communicator().CallbackInterface(), m_child);
}

TEST_F(ConnectTest, DisconnectSendsTheBroadcastThenPassesTheChildsRequestOn)
{
    connect();
    const std::string childRequest = hartDisconnectRequest("REF-1");
    EXPECT_TRUE(gateway().DisconnectRequest("disc-1", childRequest));

    EXPECT_EQ(gateway().ZebInvokeId(), guid(1));
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{
                           blue("Request ZEB", "InvokeID " + guid(1)),
                           blue("", "ObjNo.: 32768\tSubNo.: 0\tMsgType : 7\tCtrl.: 3"),
                           green(kDisconnect),
                       }));
    ASSERT_EQ(m_parent->calls.size(), 2u);
    EXPECT_EQ(m_parent->calls[0].operation, "TransactionRequest");
    EXPECT_EQ(m_parent->calls[0].invokeId, guid(1));
    const Document broadcast(m_parent->calls[0].document);
    ASSERT_TRUE(broadcast.loaded());
    EXPECT_EQ(broadcast.attr("FDT/DataExchangeRequest", "CommunicationReference"), "REF-1");
    EXPECT_EQ(broadcast.attr("FDT/DataExchangeRequest", "Control"), "3");
    EXPECT_EQ(broadcast.attr("FDT/DataExchangeRequest/CommunicationHeader", "MessageType"), "7");
    EXPECT_EQ(broadcast.attr("FDT/DataExchangeRequest/CommunicationHeader", "ObjectType"), "2");
    EXPECT_EQ(broadcast.attr("FDT/DataExchangeRequest/CommunicationHeader", "NoOfBytes"), "4");
    EXPECT_EQ(broadcast.attr("FDT/DataExchangeRequest/CommunicationHeader", "SubNo"), "0");
    EXPECT_EQ(broadcast.attr("FDT/DataExchangeRequest/CommunicationHeader", "ObjectNo"), "32768");
    // The telegram has no data bytes.
    EXPECT_EQ(broadcast.attr("FDT/DataExchangeRequest/CommunicationHeader", "CommunicationData").value_or(""), "");

    EXPECT_EQ(m_parent->calls[1].operation, "DisconnectRequest");
    EXPECT_EQ(m_parent->calls[1].invokeId, "disc-1");
    EXPECT_EQ(m_parent->calls[1].document, childRequest);
    // Nothing changes until the parent answers.
    EXPECT_EQ(gateway().communicator().CallbackInterface(), m_child);
    EXPECT_TRUE(m_host.statuses.empty());
}

TEST_F(ConnectTest, DisconnectResultIsTheParents)
{
    connect();
    m_parent->disconnectResult = false;
    EXPECT_FALSE(gateway().DisconnectRequest("d", hartDisconnectRequest("REF-1")));
    EXPECT_EQ(m_parent->calls.size(), 2u);
}

TEST_F(ConnectTest, DisconnectWithoutChildStillSendsTheBroadcast)
{
    EXPECT_FALSE(gateway().DisconnectRequest("d", hartDisconnectRequest("")));
    ASSERT_EQ(m_parent->calls.size(), 1u);
    EXPECT_EQ(m_parent->calls[0].operation, "TransactionRequest");
    EXPECT_EQ(m_parent->calls[0].invokeId, guid(1));
    EXPECT_EQ(lines().size(), 2u);
}

TEST_F(ConnectTest, DisconnectWithoutParent)
{
    connect();
    gateway().communicator().ZEBDriverInterface(nullptr);
    EXPECT_FALSE(gateway().DisconnectRequest("d", hartDisconnectRequest("REF-1")));
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{
                           blue("Request ZEB", "InvokeID " + guid(1)),
                           blue("", "ObjNo.: 32768\tSubNo.: 0\tMsgType : 7\tCtrl.: 3"),
                           green(kDisconnect),
                           red(kDisconnect, "Critical Error in IFdtCommunication_DisconnectRequest"),
                       }));
}

TEST_F(ConnectTest, DisconnectParentFailureIsACriticalError)
{
    connect();
    m_parent->throwOnDisconnect = true;
    EXPECT_FALSE(gateway().DisconnectRequest("d", hartDisconnectRequest("REF-1")));
    EXPECT_EQ(lines().back(), red(kDisconnect, "Critical Error in IFdtCommunication_DisconnectRequest"));
}

TEST_F(ConnectTest, DisconnectResponseClosesTheConnection)
{
    connect();
    gateway().OnDisconnectResponse("parent-disc", zebDisconnectResponse("REF-1"));
    ASSERT_EQ(m_child->calls.size(), 1u);
    EXPECT_EQ(m_child->calls[0].operation, "OnDisconnectResponse");
    EXPECT_EQ(m_child->calls[0].invokeId, "parent-disc");
    const Document answer(m_child->calls[0].document);
    ASSERT_TRUE(answer.loaded());
    EXPECT_EQ(answer.attr("FDT/DisconnectResponse", "communicationReference"), "REF-1");
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{green(kOnDisconnect)}));
    EXPECT_EQ(m_host.statuses, std::vector<std::int32_t>{1});
    EXPECT_FALSE(gateway().communicator().CallbackInterface());
    // The reference and short address stay until the next connect.
    EXPECT_EQ(gateway().communicator().communicationReference(), "REF-1");

    // A new connect is accepted now.
    clearRecords();
    EXPECT_TRUE(gateway().ConnectRequest(m_child, "c2", kHartProtocolId, hartConnectRequest("T", "2")));
}

TEST_F(ConnectTest, DisconnectResponseFailures)
{
    gateway().OnDisconnectResponse("p", zebDisconnectResponse("REF-1")); // no child
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{red(kOnDisconnect, "Critical Error")}));
    EXPECT_TRUE(m_host.statuses.empty());

    connect();
    m_child->fail = true;
    gateway().OnDisconnectResponse("p", zebDisconnectResponse("REF-1"));
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{red(kOnDisconnect, "Critical Error")}));
    EXPECT_TRUE(m_host.statuses.empty());
    EXPECT_EQ(gateway().communicator().CallbackInterface(), m_child);

    clearRecords();
    m_child->fail = false;
    gateway().OnDisconnectResponse("p", "<FDT><DisconnectResponse/></FDT>"); // no reference
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{red(kOnDisconnect, "Critical Error")}));
    EXPECT_TRUE(m_child->calls.empty());
}

TEST_F(ConnectTest, FullConnectDisconnectRoundTrip)
{
    ASSERT_TRUE(gateway().ConnectRequest(m_child, "c", kHartProtocolId, hartConnectRequest("T", "3")));
    gateway().OnConnectResponse("c", zebConnectResponse("REF-9", "P"));
    ASSERT_TRUE(gateway().DisconnectRequest("d", hartDisconnectRequest("REF-9")));
    gateway().OnDisconnectResponse("d", zebDisconnectResponse("REF-9"));
    EXPECT_EQ(m_host.statuses, (std::vector<std::int32_t>{0, 1}));
    std::vector<std::string> childCalls;
    for (const auto& call : m_child->calls)
        childCalls.push_back(call.operation + " " + call.invokeId);
    EXPECT_EQ(childCalls, (std::vector<std::string>{"OnConnectResponse c", "OnDisconnectResponse d"}));
    std::vector<std::string> parentCalls;
    for (const auto& call : m_parent->calls)
        parentCalls.push_back(call.operation + " " + call.invokeId);
    EXPECT_EQ(parentCalls,
              (std::vector<std::string>{"ConnectRequest c", "TransactionRequest " + guid(1), "DisconnectRequest d"}));
}

TEST_F(ConnectTest, AbortIsPassedToTheChild)
{
    connect();
    gateway().OnAbort("REF-1");
    ASSERT_EQ(m_child->calls.size(), 1u);
    EXPECT_EQ(m_child->calls[0].operation, "OnAbort");
    EXPECT_EQ(m_child->calls[0].invokeId, "REF-1");
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{blue(kOnAbort, "OnAbort() received", 2)}));
    EXPECT_EQ(gateway().communicator().CallbackInterface(), m_child);
    EXPECT_TRUE(m_host.statuses.empty());
}

TEST_F(ConnectTest, AbortWithoutChild)
{
    gateway().OnAbort("REF-1");
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{red(kOnAbort, "OnAbort() received but ZEB-DTM Pointer invalid")}));
    EXPECT_TRUE(m_child->calls.empty());
}

TEST_F(ConnectTest, AbortFailureOfTheChildReachesTheParent)
{
    connect();
    m_child->fail = true;
    EXPECT_THROW(gateway().OnAbort("REF-1"), fdt::Error);
    EXPECT_TRUE(lines().empty());
}

TEST_F(ConnectTest, OperationsWithoutEffect)
{
    connect();
    gateway().Abort("x");
    EXPECT_FALSE(gateway().SequenceBegin("x"));
    EXPECT_FALSE(gateway().SequenceStart("x"));
    EXPECT_FALSE(gateway().SequenceEnd("x"));
    EXPECT_TRUE(lines().empty());
    EXPECT_TRUE(m_parent->calls.empty());
    EXPECT_TRUE(m_child->calls.empty());
}

TEST_F(ConnectTest, SupportedProtocolsComeFromTheTemplate)
{
    const std::string protocols = gateway().GetSupportedProtocols();
    EXPECT_EQ(protocols, m_xmlHelp.GetSupportedProtocols());
    EXPECT_NE(protocols.find("036D1498-387B-11D4-86E1-00E0987270B9"), std::string::npos) << protocols;
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{green("IFdtCommunication_GetSupportedProtocols()", "Successful")}));
}

// A component folder whose request template is missing: building the broadcast fails.
class BrokenTemplateTest : public GatewayTest {
protected:
    static std::filesystem::path brokenFolder(zeb2hart::test::TempComponentFolder& folder)
    {
        std::filesystem::remove(folder.path() / "XMLData" / "ZEB2HARTDataExchangeRequest.xml");
        return folder.path();
    }
    BrokenTemplateTest() : GatewayTest(brokenFolder(s_folder())) {}
    static zeb2hart::test::TempComponentFolder& s_folder()
    {
        static zeb2hart::test::TempComponentFolder folder;
        return folder;
    }
};

TEST_F(BrokenTemplateTest, DisconnectBroadcastFailureReachesTheCaller)
{
    connect();
    EXPECT_THROW(gateway().DisconnectRequest("d", hartDisconnectRequest("REF-1")), std::exception);
    EXPECT_TRUE(m_parent->calls.empty());
}

TEST_F(BrokenTemplateTest, TimeoutBroadcastFailureEndsTheHandler)
{
    connect();
    gateway().timeoutTimer().Interval(1000);
    EXPECT_THROW(gateway().TimeoutTimer_TimerEvent(), std::exception);
    EXPECT_EQ(gateway().timeoutTimer().Interval(), 0);

    // Through the timer the failure ends quietly: nothing is sent, the timer is idle.
    gateway().timeoutTimer().Interval(1000);
    loop().advance(std::chrono::milliseconds(1000));
    EXPECT_TRUE(m_parent->calls.empty());
    EXPECT_EQ(gateway().timeoutTimer().Interval(), 0);
}

} // namespace
} // namespace zeb2hart::gateway::test
