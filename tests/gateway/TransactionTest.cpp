// The child's HART requests where they go wrong: malformed requests, refused
// or failing identity sequences, and requests that the schemas refuse.
#include <gtest/gtest.h>

#include "gateway/GatewayFixture.h"

namespace zeb2hart::test {
namespace {

std::string requestLine(const std::string& command, const std::string& invokeId)
{
    return "K1 Request HART 'Command #" + command + "' | InvokeID " + invokeId;
}

class TransactionTest : public GatewayTest {
protected:
    TransactionTest() { connect(); }
};

TEST_F(TransactionTest, MalformedRequests)
{
    struct Case { std::string command; std::optional<std::string> data; Events before; };
    const Case cases[] = {
        {"abc", "01", {}},   // command number not a number
        {"", "01", {}},      // no command number
        {"40000", "01", {}}, // does not fit 16 bits
        {"59", "0G", {}},    // data not hexadecimal
        {"128", std::nullopt, {requestLine("128", "t")}}, // too few bytes for a telegram
        // Two to four bytes are no ZEB telegram: building the request fails before the parent is asked.
        {"128", "01020304", {requestLine("128", "t"), "K1 | ZEB Protocol : 01020304"}},
        {"129", "800000", {requestLine("129", "t")}}, // fewer than four bytes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command + " " + c.data.value_or("(no data)"));
        EXPECT_FALSE(request("t", c.command, c.data));
        expectEvents(c.before + Events{kCritical});
    }
    // A request that is no document at all reads no command number.
    EXPECT_FALSE(gateway().TransactionRequest("t", "garbage"));
    expectEvents({kCritical});
    EXPECT_TRUE(m_parent->calls.empty());
    // The child failing on a simulated answer.
    m_child->faults.failAll();
    EXPECT_FALSE(request("t", "1", std::nullopt));
    EXPECT_EQ(m_log->back(), kCritical);
}

TEST_F(TransactionTest, RefusedIdentityReadsStayPending)
{
    m_parent->answerNext("TransactionRequest", {true, false, true, true, true, true});
    EXPECT_TRUE(request("t0", "0", std::nullopt));
    ASSERT_EQ(m_log->size(), 1u + 5 * 4 + 2);
    EXPECT_EQ(m_log->at(2), "G2 IFdtCommunication_TransactionRequest() | ZEB Collection Item Successful");
    EXPECT_EQ(m_log->at(6), "R2 IFdtCommunication_TransactionRequest() | ZEB Collection Item denied");
    EXPECT_EQ(m_log->at(8), "G2 IFdtCommunication_TransactionRequest() | ZEB Collection Item Successful");
    EXPECT_EQ(communicator().ZEBSeqColCount(), 6);
}

TEST_F(TransactionTest, EveryPendingReadIsSentAgainHoweverManyThereAre)
{
    // 43 refused sequences leave 258 reads pending: more than a byte counts.
    m_parent->answers.transactionRequest = false;
    for (int i = 0; i < 43; ++i)
        EXPECT_TRUE(request("t" + std::to_string(i), "0", std::nullopt));
    m_parent->answers.transactionRequest = true;
    m_parent->calls.clear();
    EXPECT_TRUE(request("t", "0", std::nullopt));
    EXPECT_EQ(m_parent->calls.size(), 43u * 6 + 6);
}

TEST_F(TransactionTest, IdentitySequenceFailures)
{
    // An identity text that cannot be read: nothing is sent.
    m_host.identity[0] = ".5";
    EXPECT_FALSE(request("t0", "0", std::nullopt));
    expectEvents({requestLine("0", "t0"), kCritical});

    // No parent: fails at the first read.
    m_host.identity[0] = "";
    communicator().ZEBDriverInterface(nullptr);
    EXPECT_FALSE(request("t0", "0", std::nullopt));
    expectEvents({requestLine("0", "t0"), kCritical});
}

// The gateway with the schema cache filled as DTMMain fills it (the frame's schemas,
// then the component's own): every document is validated on load, and one that
// does not fit reads as empty.
class ValidatedTest : public GatewayTest {
protected:
    ValidatedTest()
    {
        m_xmlHelp.InitXMLSchemaCache(frameSchemaDir().string());
        m_xmlHelp.InitXMLSchemaCache((componentDir() / "XMLSchemas").string());
        connect();
    }
};

TEST_F(ValidatedTest, InvalidChildRequestReadsAsEmptyAndFails)
{
    EXPECT_TRUE(request("t", "128", "36B2210000"));
    clearRecords();
    // commandNumber must be an unsigned 16-bit number: the request does not validate.
    EXPECT_FALSE(request("t", "-1", std::nullopt));
    expectEvents({kCritical});
}

} // namespace
} // namespace zeb2hart::test
