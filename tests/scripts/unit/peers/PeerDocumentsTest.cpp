// The documents the peers and the frame stand-in build: each validates against
// the schemas the gateway checks it with (what the gateway reads from them is
// checked by the frame scripts); text is escaped; what does not validate reads
// as nothing.

#include <gtest/gtest.h>

#include "fakes/TestEnvironment.h"
#include "gateway/HartGateway.h"
#include "peers/PeerDocuments.h"

namespace zeb2hart::frame {
namespace {

class PeerDocumentsTest : public ::testing::Test {
protected:
    PeerDocuments d{test::componentDir(), test::frameSchemaDir()};
};

TEST_F(PeerDocumentsTest, EveryBuiltDocumentValidates)
{
    const std::vector<std::string> built = {
        d.hartConnectRequest("LT-1", -2), d.hartDisconnectRequest("R"), d.hartTransactionRequest(128, "REF", "0A0B"),
        d.hartTransactionRequest(0, "", ""), d.zebConnectResponse("ZREF", "TAG"), d.zebDisconnectResponse("ZREF"),
        d.zebDataExchangeResponse("ZREF", 193, 65535, 255, 7, "0102"), d.zebDataExchangeResponse("Z", 0, 1, 2, 5, ""),
        d.zebCommError("Z", "T", "timeout", "True"), d.deviceType("N", gateway::kZebProtocolId),
        d.userInformation("observer"), d.functionCall("50")};
    for (const auto& document : built)
        EXPECT_EQ(d.problem(document), "") << document;
    EXPECT_EQ(d.attribute(d.zebDataExchangeResponse("Z", 0, 1, 2, 5, "0102"), "FDT/DataExchangeResponse/CommunicationHeader",
                          "NoOfBytes"),
              std::optional<std::string>("6"));
}

TEST_F(PeerDocumentsTest, TextIsEscapedAndReadsBack)
{
    const std::string document = d.hartDisconnectRequest("R<&>\"");
    EXPECT_EQ(d.attribute(document, "FDT/DisconnectRequest", "communicationReference"), std::optional<std::string>("R<&>\""));
}

TEST_F(PeerDocumentsTest, WhatDoesNotValidateReadsAsNothing)
{
    // Status must be a byte in the ZEB schema.
    const std::string invalid = "<FDT xmlns=\"x-schema:ZEBCommunicationSchema.xml\"><DataExchangeResponse Status=\"300\"/></FDT>";
    EXPECT_NE(d.problem(invalid), "");
    EXPECT_EQ(d.attribute(invalid, "FDT/DataExchangeResponse", "Status"), std::nullopt);
    EXPECT_NE(d.problem("not xml"), "");
    EXPECT_EQ(d.attribute("not xml", "FDT", ""), std::nullopt);
    // An empty attribute name asks for the element only.
    const std::string document = d.hartTransactionRequest(1, "R", "");
    EXPECT_EQ(d.attribute(document, "FDT/DataExchangeRequest", ""), std::optional<std::string>(""));
    EXPECT_EQ(d.attribute(document, "FDT/DataExchangeResponse", ""), std::nullopt);
    EXPECT_EQ(d.attribute(document, "FDT/DataExchangeRequest", "missing"), std::nullopt);
}

TEST_F(PeerDocumentsTest, AFunctionsDocumentThatDoesNotLoadOrValidateListsNothing)
{
    // The frame window's tests read the component's functions document.
    EXPECT_TRUE(d.functions("").empty());
    EXPECT_TRUE(d.functions("<FDT").empty());
    EXPECT_TRUE(d.functions(d.functionCall("30")).empty());
}

} // namespace
} // namespace zeb2hart::frame
