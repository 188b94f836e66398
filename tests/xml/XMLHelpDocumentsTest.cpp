#include <gtest/gtest.h>

#include <functional>

#include "fakes/FdtDocuments.h"
#include "fdt/Errors.h"
#include "gateway/HartGateway.h"
#include "xml/XmlTestSupport.h"

namespace zeb2hart::xml::test {
namespace {

const std::string kHart(zeb2hart::test::kHartRoot);
const std::string kZeb(zeb2hart::test::kZebRoot);

std::string zebResponse(const std::string& responseAttributes, const std::string& headerAttributes)
{
    return kZeb + "<DataExchangeResponse " + responseAttributes + "><CommunicationHeader " + headerAttributes +
           "/></DataExchangeResponse></FDT>";
}

// A field as the cases state it: "-" without its element, "!" + element@attribute
// for an element without the attribute (an error where it is used), else the text.
void describe(const Field& field, std::vector<std::string>& out)
{
    if (!field.elementFound) {
        EXPECT_EQ(field.text(), "");
        out.push_back("-");
    } else if (!field.attributeFound) {
        EXPECT_THROW(field.text(), fdt::NotFoundError);
        EXPECT_EQ(field.textOrEmpty(), "");
        out.push_back("!" + std::string(field.element) + "@" + std::string(field.attribute));
    } else {
        EXPECT_EQ(field.text(), field.value);
        out.push_back(field.value);
    }
}
template <class... Fields>
std::vector<std::string> fields(const Fields&... all)
{
    std::vector<std::string> out;
    (describe(all, out), ...);
    return out;
}

using Reader = std::function<std::vector<std::string>(XMLHelp&, const std::string&)>;
const Reader connectRequest = [](XMLHelp& h, const std::string& d) {
    const HartConnectRequest r = h.ReadHartConnectRequest(d);
    return fields(r.tag, r.shortAddress);
};
const Reader transactionRequest = [](XMLHelp& h, const std::string& d) {
    const HartTransactionRequest r = h.ReadHartTransactionRequest(d);
    return fields(r.commandNumber, r.communicationReference, r.data);
};
const Reader zebResponseRecord = [](XMLHelp& h, const std::string& d) {
    const auto r = std::get<ZebTransactionResponse>(h.ReadZebAnswer(d));
    return fields(r.status, r.communicationReference, r.objectNo, r.subNo, r.noOfBytes, r.messageType,
                  r.communicationData);
};
const Reader zebErrorRecord = [](XMLHelp& h, const std::string& d) {
    const auto r = std::get<ZebErrorAnswer>(h.ReadZebAnswer(d));
    return fields(r.zebActive, r.zebCommError, r.communicationReference, r.tag);
};

TEST_F(XmlFixture, PeerDocumentsAreReadIntoTheirRecordsFieldByField)
{
    struct Case {
        Reader read;
        std::string document;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {connectRequest, kHart + R"(<ConnectRequest fdt:tag="Child"><ShortAddress shortAddress="5"/></ConnectRequest></FDT>)",
         {"Child", "5"}},
        {connectRequest, kHart + "<ConnectRequest><ShortAddress/></ConnectRequest></FDT>",
         {"!ConnectRequest@fdt:tag", "!ShortAddress@shortAddress"}},
        {[](XMLHelp& h, const std::string& d) {
             const ZebConnectResponse r = h.ReadZebConnectResponse(d);
             return fields(r.communicationReference, r.tag, h.ReadZebDisconnectResponse(d).communicationReference);
         },
         kZeb + R"(<ConnectResponse CommunicationReference="R" fdt:tag="P"/><DisconnectResponse/></FDT>)",
         {"R", "P", "!DisconnectResponse@CommunicationReference"}},
        {transactionRequest,
         kHart + R"(<DataExchangeRequest commandNumber="128" communicationReference="R"><fdt:CommunicationData byteArray="0102"/></DataExchangeRequest></FDT>)",
         {"128", "R", "0102"}},
        {transactionRequest, kHart + R"(<DataExchangeRequest communicationReference=""/></FDT>)",
         {"!DataExchangeRequest@commandNumber", "", "-"}},
        {zebResponseRecord,
         zebResponse(R"(Status="0" CommunicationReference="R")",
                     R"(MessageType="5" ObjectType="2" NoOfBytes="6" SubNo="3" ObjectNo="258" CommunicationData="1A2B")"),
         {"0", "R", "258", "3", "6", "5", "1A2B"}},
        // Each path finds its first match in document order, also in another branch.
        {zebResponseRecord,
         kZeb + R"(<DataExchangeResponse Status="1"/><DataExchangeResponse Status="2"><CommunicationHeader ObjectNo="7"/></DataExchangeResponse></FDT>)",
         {"1", "!DataExchangeResponse@CommunicationReference", "7", "!CommunicationHeader@SubNo",
          "!CommunicationHeader@NoOfBytes", "!CommunicationHeader@MessageType", "!CommunicationHeader@CommunicationData"}},
        {zebResponseRecord, "not XML", {"-", "-", "-", "-", "-", "-", "-"}},
        {zebErrorRecord,
         kZeb + R"(<ZebCommError ZebActive="True" ZebcommError="timeout" CommunicationReference="R" fdt:tag="T"/></FDT>)",
         {"True", "timeout", "R", "T"}},
        {zebErrorRecord, zebResponse(R"(Status="0")", "").insert(kZeb.size(), "<ZebCommError/>"),
         {"!ZebCommError@ZebActive", "!ZebCommError@ZebcommError", "!ZebCommError@CommunicationReference",
          "!ZebCommError@fdt:tag"}},
        // The documents built here, read back.
        {[](XMLHelp& h, const std::string& d) {
             const ZebTransactionRequest r = h.ReadZebTransactionRequest(h.ZEBDataExchangeXML(5, d, "R"));
             return fields(r.control, r.objectNo, r.subNo, r.messageType, r.communicationData);
         },
         "0102030400", {"4", "258", "3", "5", "!CommunicationHeader@CommunicationData"}},
        {[](XMLHelp& h, const std::string& d) {
             return fields(h.ReadHartTransactionResponse(h.HARTTransactionResponseXML(3, "R", d, 0, 0)).data,
                           h.ReadHartTransactionResponse(h.HARTTransactionResponseXML(3, "R", "", 0, 0)).data);
         },
         "0A0B", {"0A0B", "-"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.document);
        EXPECT_EQ(c.read(help, c.document), c.expected);
    }
    EXPECT_STREQ(Field::missing("ShortAddress", "shortAddress").what(),
                 "The element ShortAddress has no attribute shortAddress");
    EXPECT_TRUE(shown().empty());
}

TEST_F(SchemaFixture, ADocumentThatDoesNotValidateReadsAsHavingNoElements)
{
    const std::string request = kHart + R"(<ConnectRequest fdt:tag="Child"><ShortAddress shortAddress="many"/></ConnectRequest></FDT>)";
    EXPECT_EQ(connectRequest(help, request), (std::vector<std::string>{"-", "-"}));
    XMLHelp parsedOnly(componentDir());
    EXPECT_EQ(connectRequest(parsedOnly, request), (std::vector<std::string>{"Child", "many"}));
    EXPECT_EQ(parsedOnly.GetAttributeFromXML(request, "FDT/ConnectRequest/ShortAddress", "shortAddress"), "many");
    EXPECT_EQ(parsedOnly.GetAttributeFromXML(request, "FDT/DisconnectRequest", "fdt:tag"), "");
    EXPECT_THROW(parsedOnly.GetAttributeFromXML(request, "FDT/ConnectRequest", "tag"), fdt::NotFoundError);
}

// What throws, as the cases name it; otherwise the result.
std::string outcome(const std::function<std::string()>& run)
{
    try {
        return run();
    } catch (const fdt::OverflowError&) {
        return "<overflow>";
    } catch (const fdt::NotFoundError&) {
        return "<not found>";
    } catch (const fdt::TypeMismatchError&) {
        return "<type mismatch>";
    }
}

TEST_F(XmlFixture, AZebResponseBecomesATelegramOrDelayedData)
{
    struct Case {
        std::string response;
        std::string header;
        std::string telegram;
        std::string delayed;
    };
    const std::string data = R"(SubNo="3" NoOfBytes="6" CommunicationData="1A2B")";
    const std::vector<Case> cases = {
        {R"(Status="0")", R"(ObjectNo="258" )" + data, "01020300021A2B", "1A2B"},
        {R"(Status="255")", R"(ObjectNo="65535" SubNo="255" NoOfBytes="4" CommunicationData="")", "FFFFFFFF00", ""},
        {R"(Status="16")", R"(ObjectNo="70000" SubNo="0" NoOfBytes="259" CommunicationData="AB")", "11700010FFAB", "AB"},
        {R"(Status="1")", R"(ObjectNo="-1" SubNo="1" NoOfBytes="5" CommunicationData="0a")", "FFFF0101010a", "0a"},
        {R"(Status="0")", R"(ObjectNo="258" SubNo="3" NoOfBytes="3" CommunicationData="")", "<overflow>", ""},
        {R"(Status="0")", R"(ObjectNo="2147483648" )" + data, "<overflow>", "1A2B"},
        {R"(Status="0")", R"(ObjectNo="258" SubNo="-1" NoOfBytes="4" CommunicationData="")", "<overflow>", ""},
        {R"(Status="256")", R"(ObjectNo="258" )" + data, "<overflow>", "<overflow>"},
        {R"(Status="x")", R"(ObjectNo="258" )" + data, "<type mismatch>", "<type mismatch>"},
        {"", R"(ObjectNo="258" )" + data, "<not found>", "<not found>"},
        {R"(Status="0")", R"(ObjectNo="258" SubNo="3" NoOfBytes="4")", "<not found>", "<not found>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.response + " " + c.header);
        const std::string text = zebResponse(c.response, c.header);
        EXPECT_EQ(outcome([&] { return help.ZEBToHARTCommunicationData(text); }), c.telegram);
        EXPECT_EQ(outcome([&] { return help.ZEBToHARTCommunicationDataDelayed(text); }), c.delayed);
    }
    // Without the header the telegram has the status alone; the delayed data need it.
    const std::string statusOnly = kZeb + R"(<DataExchangeResponse Status="7"/></FDT>)";
    EXPECT_EQ(help.ZEBToHARTCommunicationData(statusOnly), "07");
    EXPECT_EQ(outcome([&] { return help.ZEBToHARTCommunicationDataDelayed(statusOnly); }), "<not found>");
    EXPECT_EQ(help.ZEBToHARTCommunicationData("not XML"), "");
    EXPECT_EQ(outcome([&] { return help.ZEBToHARTCommunicationDataDelayed("not XML"); }), "<not found>");
    EXPECT_TRUE(help.IsErrorProtocol(kZeb + "<ZebCommError/></FDT>"));
    EXPECT_FALSE(help.IsErrorProtocol(zebResponse(R"(Status="0")", "")));
}

// --- built documents -----------------------------------------------------------------

TEST_F(XmlFixture, BuiltDocumentsCarryTheirValuesAttributeByAttribute)
{
    const std::string request = "FDT/DataExchangeRequest";
    const std::string header = request + "/CommunicationHeader";
    const std::string response = "FDT/DataExchangeResponse";
    struct Case {
        std::string text;
        std::vector<std::pair<std::string, Attributes>> elements;
    };
    const std::vector<Case> cases = {
        // A ZEB telegram: object (2 bytes), sub-number, control, length, data copied as they stand.
        {help.ZEBDataExchangeXML(1, "0102030405AABBCCDDEE", "R"),
         {{request, {{"CommunicationReference", "R"}, {"Control", "4"}}},
          {header, {{"MessageType", "1"}, {"ObjectType", "2"}, {"NoOfBytes", "9"}, {"SubNo", "3"}, {"ObjectNo", "258"},
                    {"CommunicationData", "AABBCCDDEE"}}}}},
        {help.ZEBDataExchangeXML(1, "0102030400FFFF", "R"),
         {{header, {{"MessageType", "1"}, {"ObjectType", "2"}, {"NoOfBytes", "4"}, {"SubNo", "3"}, {"ObjectNo", "258"}}}}},
        {help.ZEBDataExchangeXML(2, "FFFF20FFFF", "R"),
         {{header, {{"MessageType", "2"}, {"ObjectType", "2"}, {"NoOfBytes", "259"}, {"SubNo", "32"},
                    {"ObjectNo", "65535"}, {"CommunicationData", ""}}}}},
        {help.ZEBDataExchangeXML(1, "0102030402ab", "R"), {}},
        {help.GetXMLDocumentDelayedData("R", ComData{1, 3, 6, 2, 300, std::vector<std::uint8_t>{0x1A, 0x2B}},
                                        std::uint8_t{9}, "Special", "file.bin"),
         {{request, {{"CommunicationReference", "R"}, {"Control", "9"}, {"FilePath", "file.bin"},
                     {"SpecialFunction", "Special"}}},
          {header, {{"MessageType", "1"}, {"ObjectType", "3"}, {"NoOfBytes", "6"}, {"SubNo", "2"}, {"ObjectNo", "300"},
                    {"CommunicationData", "1A2B"}}}}},
        {help.HARTTransactionResponseXML(3, "R", "0A0B0C", 0x40, 0), {{response + "/Status", {{"deviceStatus", "64"}}}}},
        {help.HARTTransactionResponseXML(129, "R", "", 0, 7), {{response + "/Status/CommandResponse", {{"value", "0"}}}}},
        {help.HARTErrorUndefinedXML(48, "R"), {{response + "/Status/CommandResponse", {{"value", "1"}}}}},
        {help.HARTErrorUndefinedXML(129, "R"), {{response + "/Status/CommandResponse", {{"value", "0"}}}}},
        {help.BuildHARTConnectResponse("Child", "R", -3), {{"FDT/ConnectResponse/ShortAddress", {{"shortAddress", "-3"}}}}},
        {help.ZEBConnectResponseXML("REF-3"), {{"FDT/ConnectResponse", {{"CommunicationReference", "REF-3"}, {"fdt:tag", ""}}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Parsed doc(c.text);
        ASSERT_TRUE(doc.loaded());
        for (const auto& [path, attributes] : c.elements)
            EXPECT_EQ(doc.attributes(path), attributes) << path;
    }
    EXPECT_EQ(Parsed(cases[3].text).attribute(header, "CommunicationData"), "ab");
    // The data go before Status, in the FDT data-type namespace; without data there is no element.
    const Parsed withData(cases[5].text);
    EXPECT_EQ(withData.children(response), (std::vector<std::string>{"fdt:CommunicationData", "Status"}));
    EXPECT_EQ(dom::namespaceUri(withData.node(response + "/fdt:CommunicationData")), "x-schema:FDTDataTypesSchema.xml");
    EXPECT_EQ(Parsed(cases[6].text).children(response), std::vector<std::string>{"Status"});
    EXPECT_EQ(help.BuildHARTDisconnectResponse("REF-2"), help.XMLDisconnectResponse("REF-2"));
    for (const std::string telegram : {"", "01020304", "0102030"})
        EXPECT_THROW(help.ZEBDataExchangeXML(1, telegram, "R"), fdt::NotFoundError) << telegram;
    EXPECT_EQ(Parsed(help.GetSupportedProtocols()).attribute("FDT/Protocols/fdt:Protocol", "protocolId"),
              gateway::kHartProtocolId);
    EXPECT_TRUE(shown().empty());
}

TEST_F(TempFolderFixture, TemplatesOfOtherShapesKeepTheirAttributesAndGuardTheirElements)
{
    // Attributes are set in place or after the template's own.
    writeTemplate("ZEB2HARTConnectResponse.xml", kHart + R"(<ConnectResponse primaryMaster="0" extra="x" preambleCount="9"/></FDT>)");
    const Parsed connect(help.BuildHARTConnectResponse("T", "R", 5));
    EXPECT_EQ(connect.attributes("FDT/ConnectResponse"), (Attributes{{"primaryMaster", "1"}, {"extra", "x"},
                                                                      {"preambleCount", "0"}, {"fdt:tag", "T"},
                                                                      {"communicationReference", "R"}}));
    EXPECT_EQ(connect.node("FDT/ConnectResponse/ShortAddress"), nullptr);
    writeTemplate("ZEBConnectResponse.xml", kZeb + "<Other/></FDT>");
    EXPECT_THROW(help.ZEBConnectResponseXML("R"), fdt::NotFoundError);

    // Without Status the data go last; a template's data element is emptied by the undefined answer.
    writeTemplate("ZEB2HARTDataExchangeResponse.xml", kHart + "<DataExchangeResponse><Other/></DataExchangeResponse></FDT>");
    EXPECT_EQ(Parsed(help.HARTTransactionResponseXML(1, "R", "AA", 1, 2)).children("FDT/DataExchangeResponse"),
              (std::vector<std::string>{"Other", "fdt:CommunicationData"}));
    writeTemplate("ZEB2HARTDataExchangeResponse.xml",
                  kHart + R"(<DataExchangeResponse commandNumber="0"><fdt:CommunicationData byteArray="FF"/>
                       <Status deviceStatus="9"><CommandResponse value="3"/></Status></DataExchangeResponse></FDT>)");
    const Parsed undefined(help.HARTErrorUndefinedXML(2, "R"));
    EXPECT_EQ(undefined.attributes("FDT/DataExchangeResponse/fdt:CommunicationData"), (Attributes{{"byteArray", ""}}));
    EXPECT_EQ(undefined.attributes("FDT/DataExchangeResponse/Status"), (Attributes{{"deviceStatus", "9"}}));
    writeTemplate("ZEB2HARTDataExchangeResponse.xml", kHart + "<Other/></FDT>");
    EXPECT_THROW(help.HARTTransactionResponseXML(1, "R", "AA", 1, 2), fdt::NotFoundError);
    EXPECT_EQ(Parsed(help.HARTTransactionResponseXML(1, "R", "", 1, 2)).children("FDT"), std::vector<std::string>{"Other"});
    EXPECT_TRUE(shown().empty());
}

} // namespace
} // namespace zeb2hart::xml::test
