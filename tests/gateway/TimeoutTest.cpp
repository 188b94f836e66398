#include <gtest/gtest.h>

#include <chrono>

#include "gateway/GatewayFixture.h"

namespace zeb2hart::gateway::test {
namespace {

using namespace std::chrono_literals;

class TimeoutTest : public GatewayTest {
protected:
    TimeoutTest() { connect(); }
    void tunnel(const std::string& invokeId)
    {
        ASSERT_TRUE(gateway().TransactionRequest(invokeId, hartRequest("128", "REF-1", "36B2210000")));
    }
    std::vector<MonitorLine> broadcastLines(const std::string& invokeId)
    {
        return {blue("Request ZEB", "InvokeID " + invokeId),
                blue("", "ObjNo.: 32768\tSubNo.: 0\tMsgType : 7\tCtrl.: 3")};
    }
};

TEST_F(TimeoutTest, ExpirySendsOneBroadcastUnderANewInvokeId)
{
    m_host.delay = 3;
    tunnel("t128");
    clearRecords();

    loop().advance(2999ms);
    EXPECT_TRUE(m_parent->calls.empty());
    loop().advance(1ms);

    EXPECT_EQ(lines(), broadcastLines(guid(1)));
    ASSERT_EQ(m_parent->calls.size(), 1u);
    EXPECT_EQ(m_parent->calls[0].operation, "TransactionRequest");
    EXPECT_EQ(m_parent->calls[0].invokeId, guid(1));
    EXPECT_EQ(gateway().ZebInvokeId(), guid(1));
    const Document request(m_parent->calls[0].document);
    ASSERT_TRUE(request.loaded());
    EXPECT_EQ(request.attr("FDT/DataExchangeRequest", "CommunicationReference"), "REF-1");
    EXPECT_EQ(request.attr("FDT/DataExchangeRequest", "Control"), "3");
    EXPECT_EQ(request.attr("FDT/DataExchangeRequest/CommunicationHeader", "MessageType"), "7");
    EXPECT_EQ(request.attr("FDT/DataExchangeRequest/CommunicationHeader", "ObjectNo"), "32768");
    EXPECT_EQ(request.attr("FDT/DataExchangeRequest/CommunicationHeader", "SubNo"), "0");
    EXPECT_EQ(request.attr("FDT/DataExchangeRequest/CommunicationHeader", "NoOfBytes"), "4");
    EXPECT_EQ(gateway().timeoutTimer().Interval(), 0);
    EXPECT_TRUE(m_child->calls.empty());

    // Idle until armed again.
    loop().advance(1h);
    EXPECT_EQ(m_parent->calls.size(), 1u);
}

TEST_F(TimeoutTest, RearmingRestartsTheDelay)
{
    tunnel("first");
    loop().advance(2000ms);
    tunnel("second");
    clearRecords();
    loop().advance(2999ms); // 1 s after the first arming's end
    EXPECT_TRUE(m_parent->calls.empty());
    loop().advance(1ms);
    ASSERT_EQ(m_parent->calls.size(), 1u);
    EXPECT_EQ(m_parent->calls[0].invokeId, guid(1));
    loop().advance(10s);
    EXPECT_EQ(m_parent->calls.size(), 1u);
}

TEST_F(TimeoutTest, EveryExpiryHasItsOwnInvokeId)
{
    tunnel("a");
    loop().advance(3s);
    ASSERT_TRUE(gateway().TransactionRequest("b", hartRequest("131", "REF-1", std::nullopt)));
    clearRecords();
    loop().advance(3s);
    ASSERT_EQ(m_parent->calls.size(), 1u);
    EXPECT_EQ(m_parent->calls[0].invokeId, guid(2));
    EXPECT_EQ(gateway().ZebInvokeId(), guid(2));
}

TEST_F(TimeoutTest, ExpiryWithoutParentOnlyWritesTheLines)
{
    tunnel("t");
    gateway().communicator().ZEBDriverInterface(nullptr);
    clearRecords();
    loop().advance(3s);
    EXPECT_EQ(lines(), broadcastLines(guid(1)));
    EXPECT_TRUE(m_parent->calls.empty());
    EXPECT_EQ(gateway().timeoutTimer().Interval(), 0);
}

TEST_F(TimeoutTest, AnswerToTheTimeoutBroadcastIsOnlyShown)
{
    tunnel("t");
    loop().advance(3s);
    clearRecords();
    ZebAnswer zeb;
    zeb.objectNo = "32768";
    gateway().OnTransactionResponse(guid(1), zebResponse(zeb));
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{green("IFdtCommunicationEvents_OnTransactionResponse()"),
                                                 blue("Warmstart actuated", "InvokeId " + guid(1) + "\r\n")}));
    EXPECT_TRUE(m_child->calls.empty());

    // The child's own answer still reaches it afterwards.
    gateway().OnTransactionResponse("t", zebResponse(ZebAnswer{}));
    ASSERT_EQ(m_child->calls.size(), 1u);
    EXPECT_EQ(m_child->calls[0].invokeId, "t");
}

TEST_F(TimeoutTest, BroadcastUsesTheCurrentReference)
{
    tunnel("t");
    gateway().communicator().communicationReference("REF-NEW");
    loop().advance(3s);
    ASSERT_EQ(m_parent->transactions().size(), 2u);
    const Document request(m_parent->transactions()[1].document);
    EXPECT_EQ(request.attr("FDT/DataExchangeRequest", "CommunicationReference"), "REF-NEW");
}

} // namespace
} // namespace zeb2hart::gateway::test
