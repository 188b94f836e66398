#include <gtest/gtest.h>

#include "gateway/GatewayFixture.h"

namespace zeb2hart::gateway::test {
namespace {

// The gateway with the schema cache filled as DTMMain fills it (the frame's schemas,
// then the component's own): every document in either direction is validated on
// load, so a document that does not fit its schema reads as empty.
class ValidatedTest : public GatewayTest {
protected:
    ValidatedTest()
    {
        m_xmlHelp.InitXMLSchemaCache(zeb2hart::test::frameSchemaDir().string());
        m_xmlHelp.InitXMLSchemaCache((zeb2hart::test::componentDir() / "XMLSchemas").string());
        connect();
    }
    // Read through the validating pipeline: "" when the document is not valid.
    std::string valid(const std::string& document, const std::string& path, const std::string& name)
    {
        return m_xmlHelp.GetAttributeFromXML(document, path, name);
    }
};

TEST_F(ValidatedTest, ConnectAnswerIsValid)
{
    ASSERT_EQ(m_child->calls.size(), 0u);
    gateway().communicator().CallbackInterface(nullptr);
    ASSERT_TRUE(gateway().ConnectRequest(m_child, "c", kHartProtocolId, hartConnectRequest("Child", "7")));
    EXPECT_EQ(valid(m_parent->calls.back().document, "FDT/ConnectRequest", "fdt:tag"), "Child");
    gateway().OnConnectResponse("c", zebConnectResponse("REF-V", "Parent"));
    ASSERT_EQ(m_child->calls.size(), 1u);
    EXPECT_EQ(valid(m_child->calls[0].document, "FDT/ConnectResponse", "communicationReference"), "REF-V");
    EXPECT_EQ(valid(m_child->calls[0].document, "FDT/ConnectResponse/ShortAddress", "shortAddress"), "7");
}

TEST_F(ValidatedTest, TelegramRoundTrip)
{
    ASSERT_TRUE(gateway().TransactionRequest("t", hartRequest("128", "REF-1", "36B2210002ABCD")));
    ASSERT_EQ(m_parent->calls.size(), 1u);
    const std::string& request = m_parent->calls[0].document;
    EXPECT_EQ(valid(request, "FDT/DataExchangeRequest/CommunicationHeader", "ObjectNo"), "14002");
    EXPECT_EQ(valid(request, "FDT/DataExchangeRequest/CommunicationHeader", "CommunicationData"), "ABCD");

    ZebAnswer zeb;
    zeb.status = "130";
    zeb.objectNo = "14002";
    zeb.subNo = "33";
    zeb.noOfBytes = "6";
    zeb.data = "1A2B";
    gateway().OnTransactionResponse("t", zebResponse(zeb));
    ASSERT_EQ(m_child->calls.size(), 1u);
    const std::string& answer = m_child->calls[0].document;
    EXPECT_EQ(valid(answer, "FDT/DataExchangeResponse/fdt:CommunicationData", "byteArray"), "36B22182021A2B");
    EXPECT_EQ(valid(answer, "FDT/DataExchangeResponse/Status/CommandResponse", "value"), "16");
}

TEST_F(ValidatedTest, IdentitySequence)
{
    ASSERT_TRUE(gateway().TransactionRequest("t0", hartRequest("0", "REF-1", std::nullopt)));
    ASSERT_EQ(m_parent->calls.size(), 6u);
    EXPECT_EQ(valid(m_parent->calls[5].document, "FDT/DataExchangeRequest/CommunicationHeader", "ObjectNo"), "32516");
    const std::vector<std::string> data = {"11", "22", "33", "44", "55", "ABCDEF"};
    for (std::int16_t i = 6; i >= 1; --i) {
        const auto read = gateway().communicator().ZEBSeqElem(i);
        gateway().OnTransactionResponse(read.invokeId,
                                        identityAnswer(read.ObjectNumber, data[static_cast<std::size_t>(i - 1)]));
    }
    ASSERT_EQ(m_child->calls.size(), 1u);
    EXPECT_EQ(m_child->calls[0].invokeId, "t0");
    EXPECT_EQ(valid(m_child->calls[0].document, "FDT/DataExchangeResponse/fdt:CommunicationData", "byteArray"),
              "FE1122050533445500EFCDAB");
}

TEST_F(ValidatedTest, ErrorAnswersAreValid)
{
    ASSERT_TRUE(gateway().TransactionRequest("t", hartRequest("131", "REF-1", std::nullopt)));
    EXPECT_EQ(valid(m_parent->calls[0].document, "FDT/DataExchangeRequest", "SpecialFunction"), "ReadDelayedResponse");
    gateway().OnTransactionResponse("t", zebError("False", "StackOverflow", "REF-1", "ParentTag"));
    ASSERT_EQ(m_child->calls.size(), 1u);
    EXPECT_EQ(valid(m_child->calls[0].document, "FDT/fdt:CommunicationError", "communicationError"), "unknownError");

    ASSERT_TRUE(gateway().TransactionRequest("u", hartRequest("128", "REF-1", "36B2210000")));
    gateway().OnTransactionResponse("u", zebError("True", "timeout", "REF-1"));
    ASSERT_EQ(m_child->calls.size(), 2u);
    EXPECT_EQ(valid(m_child->calls[1].document, "FDT/DataExchangeResponse/Status/CommandResponse", "value"), "1");
}

TEST_F(ValidatedTest, InvalidChildRequestReadsAsEmptyAndFails)
{
    // commandNumber must be an unsigned 16-bit number: the request does not validate.
    EXPECT_FALSE(gateway().TransactionRequest("t", hartRequest("-1", "REF-1", std::nullopt)));
    EXPECT_EQ(lines().back(),
              red("IFdtCommunication_TransactionRequest", "Critical Error in IFdtCommunication_TransactionRequest"));
    EXPECT_TRUE(m_child->calls.empty());
}

} // namespace
} // namespace zeb2hart::gateway::test
