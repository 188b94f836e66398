// The documents the peers and the frame stand-in build must validate against
// the schemas the gateway checks them with, and read back attribute by attribute.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "PeerDocuments.h"
#include "fakes/TestEnvironment.h"

namespace zeb2hart::frame {
namespace {

class PeerDocumentsTest : public ::testing::Test {
protected:
    PeerDocuments documents{test::componentDir(), test::frameSchemaDir()};
};

struct Expected {
    std::string path;
    std::string attribute;
    std::string value;
};

struct BuiltCase {
    const char* name;
    std::function<std::string(const PeerDocuments&)> build;
    std::vector<Expected> expected;
};

TEST_F(PeerDocumentsTest, EveryBuiltDocumentValidatesAndReadsBack)
{
    const std::vector<BuiltCase> cases = {
        {"hart connect", [](const PeerDocuments& d) { return d.hartConnectRequest("LT-1", -2); },
         {{"FDT/ConnectRequest", "fdt:tag", "LT-1"}, {"FDT/ConnectRequest/ShortAddress", "shortAddress", "-2"}}},
        {"hart disconnect", [](const PeerDocuments& d) { return d.hartDisconnectRequest("R<&>\""); },
         {{"FDT/DisconnectRequest", "communicationReference", "R<&>\""}}},
        {"hart command", [](const PeerDocuments& d) { return d.hartTransactionRequest(128, "REF", "0A0B"); },
         {{"FDT/DataExchangeRequest", "commandNumber", "128"},
          {"FDT/DataExchangeRequest", "communicationReference", "REF"},
          {"FDT/DataExchangeRequest/fdt:CommunicationData", "byteArray", "0A0B"}}},
        {"hart command without data", [](const PeerDocuments& d) { return d.hartTransactionRequest(0, "", ""); },
         {{"FDT/DataExchangeRequest/fdt:CommunicationData", "byteArray", ""}}},
        {"zeb connect", [](const PeerDocuments& d) { return d.zebConnectResponse("ZREF", "TAG"); },
         {{"FDT/ConnectResponse", "CommunicationReference", "ZREF"}, {"FDT/ConnectResponse", "fdt:tag", "TAG"}}},
        {"zeb disconnect", [](const PeerDocuments& d) { return d.zebDisconnectResponse("ZREF"); },
         {{"FDT/DisconnectResponse", "CommunicationReference", "ZREF"}}},
        {"zeb data", [](const PeerDocuments& d) { return d.zebDataExchangeResponse("ZREF", 193, 65535, 255, 7, "0102"); },
         {{"FDT/DataExchangeResponse", "Status", "193"},
          {"FDT/DataExchangeResponse", "CommunicationReference", "ZREF"},
          {"FDT/DataExchangeResponse/CommunicationHeader", "ObjectNo", "65535"},
          {"FDT/DataExchangeResponse/CommunicationHeader", "SubNo", "255"},
          {"FDT/DataExchangeResponse/CommunicationHeader", "MessageType", "7"},
          {"FDT/DataExchangeResponse/CommunicationHeader", "NoOfBytes", "6"},
          {"FDT/DataExchangeResponse/CommunicationHeader", "CommunicationData", "0102"}}},
        {"zeb data without data", [](const PeerDocuments& d) { return d.zebDataExchangeResponse("Z", 0, 1, 2, 5, ""); },
         {{"FDT/DataExchangeResponse/CommunicationHeader", "NoOfBytes", "4"},
          {"FDT/DataExchangeResponse/CommunicationHeader", "CommunicationData", ""}}},
        {"zeb error", [](const PeerDocuments& d) { return d.zebCommError("Z", "T", "timeout", "True"); },
         {{"FDT/ZebCommError", "ZebActive", "True"},
          {"FDT/ZebCommError", "ZebcommError", "timeout"},
          {"FDT/ZebCommError", "CommunicationReference", "Z"},
          {"FDT/ZebCommError", "fdt:tag", "T"}}},
        {"device type", [](const PeerDocuments& d) { return d.deviceType("N", "81684E65-6385-4690-ACCF-49995B3B4E8B"); },
         {{"FDT/fdt:DtmDeviceType/fdt:VersionInformation", "name", "N"},
          {"FDT/fdt:DtmDeviceType/fdt:BusCategories/fdt:BusCategory", "busCategory",
           "81684E65-6385-4690-ACCF-49995B3B4E8B"}}},
        {"user info", [](const PeerDocuments& d) { return d.userInformation("observer"); },
         {{"FDT/FDTUserInformation", "userLevel", "observer"}}},
        {"function call", [](const PeerDocuments& d) { return d.functionCall("50"); },
         {{"FDT/FDTFunctionCall", "func:functionId", "50"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string document = c.build(documents);
        EXPECT_EQ(documents.problem(document), "") << document;
        for (const auto& e : c.expected) {
            SCOPED_TRACE(e.path + "@" + e.attribute);
            EXPECT_EQ(documents.attribute(document, e.path, e.attribute), std::optional<std::string>(e.value));
        }
    }
}

TEST_F(PeerDocumentsTest, ADocumentThatDoesNotValidateReadsAsNothing)
{
    // Status must be a byte in the ZEB schema.
    const std::string invalid = "<FDT xmlns=\"x-schema:ZEBCommunicationSchema.xml\"><DataExchangeResponse Status=\"300\"/></FDT>";
    EXPECT_NE(documents.problem(invalid), "");
    EXPECT_EQ(documents.attribute(invalid, "FDT/DataExchangeResponse", "Status"), std::nullopt);
    EXPECT_NE(documents.problem("not xml"), "");
    EXPECT_EQ(documents.attribute("not xml", "FDT", ""), std::nullopt);
}

TEST_F(PeerDocumentsTest, AnEmptyAttributeNameAsksForTheElementOnly)
{
    const std::string document = documents.hartTransactionRequest(1, "R", "");
    EXPECT_EQ(documents.attribute(document, "FDT/DataExchangeRequest", ""), std::optional<std::string>(""));
    EXPECT_EQ(documents.attribute(document, "FDT/DataExchangeResponse", ""), std::nullopt);
    EXPECT_EQ(documents.attribute(document, "FDT/DataExchangeRequest", "missing"), std::nullopt);
}

TEST_F(PeerDocumentsTest, FunctionsDocumentListsEachFunctionInOrder)
{
    std::ifstream in(test::componentDir() / "XMLData" / "DTMFunctions.xml", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const std::vector<DtmFunction> functions = documents.functions(text.str());
    ASSERT_EQ(functions.size(), 3u);
    const struct {
        const char* id;
        const char* name;
        const char* applicationId;
    } expected[] = {{"10", "$(fct_OfflineParameter)", "offlineParameterize"},
                    {"30", "$(fct_Monitor)", "diagnosis"},
                    {"50", "$(fct_About)", "about"}};
    for (std::size_t i = 0; i < functions.size(); ++i) {
        EXPECT_EQ(functions[i].id, expected[i].id);
        EXPECT_EQ(functions[i].name, expected[i].name);
        EXPECT_EQ(functions[i].applicationId, expected[i].applicationId);
        EXPECT_EQ(functions[i].userInterface, "ActiveX");
    }
    // What does not load or validate lists nothing.
    EXPECT_TRUE(documents.functions("").empty());
    EXPECT_TRUE(documents.functions("<FDT").empty());
    EXPECT_TRUE(documents.functions(documents.functionCall("30")).empty());
}

} // namespace
} // namespace zeb2hart::frame
