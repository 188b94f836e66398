#include <gtest/gtest.h>

#include "fdt/Errors.h"
#include "xml/XmlTestSupport.h"

namespace zeb2hart::xml::test {
namespace {

using dom::LoadResult;

constexpr const char* kZebNamespace = "x-schema:ZEBCommunicationSchema.xml";
constexpr const char* kHartNamespace = "x-schema:FDTHARTCommunicationSchema.xml";
constexpr const char* kFdtNamespace = "x-schema:FDTDataTypesSchema.xml";

std::string zebResponse(const std::string& responseAttributes, const std::string& headerAttributes)
{
    return std::string("<FDT xmlns=\"") + kZebNamespace + "\" xmlns:fdt=\"" + kFdtNamespace + "\">"
           + "<DataExchangeResponse " + responseAttributes + "><CommunicationHeader " + headerAttributes
           + "/></DataExchangeResponse></FDT>";
}

std::string deviceType(const std::string& name, const std::string& busCategory)
{
    return std::string(R"(<FDT xmlns="x-schema:DTMDeviceTypeSchema.xml" xmlns:fdt="x-schema:FDTDataTypesSchema.xml">)")
           + "<fdt:DtmDeviceType><fdt:VersionInformation name=\"" + name + "\"/><fdt:BusCategories>"
           + "<fdt:BusCategory busCategory=\"" + busCategory + "\"/></fdt:BusCategories></fdt:DtmDeviceType></FDT>";
}

std::string functionCall(const std::string& attributes)
{
    return R"(<FDT xmlns="x-schema:FDTFunctionCallSchema.xml" xmlns:func="x-schema:FDTFunctionCallSchema.xml"><FDTFunctionCall )"
           + attributes + "/></FDT>";
}

// The built document loads, validated, into a collection of the frame's and the component's schemas.
void expectValid(const std::string& text)
{
    static const std::shared_ptr<dom::SchemaCollection> collection = fullSchemaCollection();
    dom::XmlDocument document;
    document.setSchemas(collection);
    EXPECT_EQ(document.loadXml(text), LoadResult::Loaded) << document.parseError().reason << text;
    EXPECT_TRUE(collection->contains(dom::namespaceUri(document.documentElement())));
}

// The DTM's own version information, as the description documents carry it.
const Attributes kVersion = {{"name", "ZEB to HART Gateway"}, {"vendor", "ZEB2HART Gateway Project"},
                             {"version", "1.0.5"}, {"date", "2026-01-15"},
                             {"descriptor", "Gateway DTM from the ZEB device protocol to HART"}};
const Attributes kVersionWithoutDescriptor(kVersion.begin(), kVersion.end() - 1);

std::string reserialised(const fs::path& file)
{
    dom::XmlDocument document;
    EXPECT_EQ(document.load(file), LoadResult::Loaded);
    return document.xml();
}

// The same cases run with and without the schema collection.
class DocumentTest : public XmlFixture, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        if (GetParam())
            loadSchemas(help);
    }
};
INSTANTIATE_TEST_SUITE_P(Schemas, DocumentTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Validated" : "ParsedOnly"; });

// --- connect and disconnect ---------------------------------------------------

// Each case a document the helper builds, checked element by element; all validate unless told.
struct Element {
    std::string path;
    Attributes attributes;
};
struct Built {
    std::string name;
    std::string text;
    std::vector<Element> elements;
    std::vector<std::pair<std::string, std::vector<std::string>>> children = {};
    std::string rootNamespace = "";
    bool validates = true;
};

TEST_P(DocumentTest, BuiltDocumentsCarryTheirValuesAttributeByAttribute)
{
    const std::string hartResponse = "FDT/DataExchangeResponse";
    const std::string request = "FDT/DataExchangeRequest";
    const std::string header = "FDT/DataExchangeRequest/CommunicationHeader";
    const Attributes zeb = {{"CommunicationReference", "R"}, {"Control", "4"}};
    const auto connectResponse = [](const std::string& address) {
        return std::vector<Element>{{"FDT/ConnectResponse",
                                     {{"fdt:tag", "Child"}, {"preambleCount", "0"}, {"primaryMaster", "1"},
                                      {"communicationReference", "REF-1"}}},
                                    {"FDT/ConnectResponse/ShortAddress", {{"shortAddress", address}}}};
    };
    std::vector<Built> cases = {
        {"connect request", help.BuildHARTConnectRequest("Child-1"), {{"FDT/ConnectRequest", {{"fdt:tag", "Child-1"}}}},
         {}, kZebNamespace},
        {"connect request without tag", help.BuildHARTConnectRequest(""), {{"FDT/ConnectRequest", {{"fdt:tag", ""}}}},
         {}, kZebNamespace},
        {"connect response", help.BuildHARTConnectResponse("Child", "REF-1", 5), connectResponse("5"), {},
         kHartNamespace},
        {"connect response to address 0", help.BuildHARTConnectResponse("Child", "REF-1", 0), connectResponse("0"), {},
         kHartNamespace, false},
        {"connect response to address -3", help.BuildHARTConnectResponse("Child", "REF-1", -3), connectResponse("-3"),
         {}, kHartNamespace, false},
        {"disconnect response", help.BuildHARTDisconnectResponse("REF-2"),
         {{"FDT/DisconnectResponse", {{"communicationReference", "REF-2"}}}}},
        {"ZEB connect response", help.ZEBConnectResponseXML("REF-3"),
         {{"FDT/ConnectResponse", {{"CommunicationReference", "REF-3"}, {"fdt:tag", ""}}}}},
        // ZEB requests from a telegram: object (2 bytes), sub-number, control, length, data.
        {"telegram", help.ZEBDataExchangeXML(1, "0102030405AABBCCDDEE", "R"),
         {{request, zeb},
          {header, {{"MessageType", "1"}, {"ObjectType", "2"}, {"NoOfBytes", "9"}, {"SubNo", "3"}, {"ObjectNo", "258"},
                    {"CommunicationData", "AABBCCDDEE"}}}},
         {}, kZebNamespace},
        {"telegram without data", help.ZEBDataExchangeXML(7, "8000000300", "R"),
         {{request, {{"CommunicationReference", "R"}, {"Control", "3"}}},
          {header, {{"MessageType", "7"}, {"ObjectType", "2"}, {"NoOfBytes", "4"}, {"SubNo", "0"}, {"ObjectNo", "32768"}}}},
         {}, kZebNamespace},
        // Length 00: nothing after the tenth character is copied.
        {"telegram of length 00", help.ZEBDataExchangeXML(1, "0102030400FFFF", "R"),
         {{request, zeb},
          {header, {{"MessageType", "1"}, {"ObjectType", "2"}, {"NoOfBytes", "4"}, {"SubNo", "3"}, {"ObjectNo", "258"}}}},
         {}, kZebNamespace, false},
        // A length without data copies the nothing that follows.
        {"telegram with a length and no data", help.ZEBDataExchangeXML(2, "FFFF20FFFF", "R"),
         {{request, {{"CommunicationReference", "R"}, {"Control", "255"}}},
          {header, {{"MessageType", "2"}, {"ObjectType", "2"}, {"NoOfBytes", "259"}, {"SubNo", "32"},
                    {"ObjectNo", "65535"}, {"CommunicationData", ""}}}},
         {}, kZebNamespace, false},
        // The data are copied as they stand, whatever the length byte says.
        {"telegram with other data", help.ZEBDataExchangeXML(1, "0102030402ab", "R"),
         {{request, zeb},
          {header, {{"MessageType", "1"}, {"ObjectType", "2"}, {"NoOfBytes", "6"}, {"SubNo", "3"}, {"ObjectNo", "258"},
                    {"CommunicationData", "ab"}}}},
         {}, kZebNamespace, false},
        {"sequence entry", help.ZEBSeqDataExchangeXML(1, clsZEBSequence{"", 14002, 32, 6, 0}, "R"),
         {{request, {{"CommunicationReference", "R"}, {"Control", "64"}}},
          {header, {{"MessageType", "1"}, {"ObjectType", "2"}, {"NoOfBytes", "6"}, {"SubNo", "32"}, {"ObjectNo", "14002"}}}}},
        {"delayed data",
         help.GetXMLDocumentDelayedData("R", ComData{1, 3, 6, 2, 300, std::vector<std::uint8_t>{0x1A, 0x2B}},
                                        std::uint8_t{8}, "ReadDelayedResponse"),
         {{request, {{"CommunicationReference", "R"}, {"Control", "8"}, {"SpecialFunction", "ReadDelayedResponse"}}},
          {header, {{"MessageType", "1"}, {"ObjectType", "3"}, {"NoOfBytes", "6"}, {"SubNo", "2"}, {"ObjectNo", "300"},
                    {"CommunicationData", "1A2B"}}}}},
        {"delayed data in text with a file",
         help.GetXMLDocumentDelayedData("R", ComData{1, 3, 4, 2, 300, std::string("FFFF")}, std::uint8_t{9}, "Special",
                                        "file.bin"),
         {{request, {{"CommunicationReference", "R"}, {"Control", "9"}, {"FilePath", "file.bin"},
                     {"SpecialFunction", "Special"}}},
          {header, {{"MessageType", "1"}, {"ObjectType", "3"}, {"NoOfBytes", "4"}, {"SubNo", "2"}, {"ObjectNo", "300"}}}},
         {}, "", false},
        // HART responses.
        {"HART response with data", help.HARTTransactionResponseXML(3, "R", "0A0B0C", 0x40, 0),
         {{hartResponse, {{"commandNumber", "3"}, {"communicationReference", "R"}}},
          {hartResponse + "/fdt:CommunicationData", {{"byteArray", "0A0B0C"}}},
          {hartResponse + "/Status", {{"deviceStatus", "64"}}},
          {hartResponse + "/Status/CommandResponse", {{"value", "0"}}}},
         {{hartResponse, {"fdt:CommunicationData", "Status"}}}, kHartNamespace},
        {"HART response without data", help.HARTTransactionResponseXML(48, "R", "", 0, 5),
         {{hartResponse + "/Status/CommandResponse", {{"value", "5"}}}}, {{hartResponse, {"Status"}}}},
        // Command 129 always answers 0.
        {"command 129", help.HARTTransactionResponseXML(129, "R", "00", 0, 7),
         {{hartResponse + "/Status/CommandResponse", {{"value", "0"}}}}},
        {"command 128", help.HARTTransactionResponseXML(128, "R", "00", 0, 7),
         {{hartResponse + "/Status/CommandResponse", {{"value", "7"}}}}},
        {"undefined command 129", help.HARTErrorUndefinedXML(129, "R"),
         {{hartResponse + "/Status/CommandResponse", {{"value", "0"}}}}},
        {"undefined command", help.HARTErrorUndefinedXML(48, "R"),
         {{hartResponse, {{"commandNumber", "48"}, {"communicationReference", "R"}}},
          {hartResponse + "/Status", {{"deviceStatus", "0"}}},
          {hartResponse + "/Status/CommandResponse", {{"value", "1"}}}},
         {{hartResponse, {"Status"}}}},
        // Description documents.
        {"changed parameter", help.OnParameterChanged("PersistentWarmstartDelay", "7"),
         {{"FDT/ChangedParameter", {{"ParamName", "PersistentWarmstartDelay"}, {"NewValue", "7"}}}}},
        {"channel parameters", help.FdtBasicChannelParameter("GW1", "HARTChannel1"),
         {{"FDT/FDTChannelType/fdt:VersionInformation", kVersionWithoutDescriptor},
          {"FDT/FDTBasicChannel", {{"fdt:tag", "GW1"}, {"fdt:id", "HARTChannel1"}}}}},
        {"documentation without entries", help.GetDTMDocumentationDoc({}),
         {{"FDT/fdt:VersionInformation", kVersion},
          {"FDT/DocumentVariables", {{"fdt:name", "ZEB to HART Gateway"}}},
          {"FDT/DocumentVariables/GraphicReference", {{"path", (componentDir() / "Resources" / "device.gif").string()}}}},
         {{"FDT/DocumentVariables", {"GraphicReference"}}}},
    };
    // The HART communication error carries the FDT name of the ZEB error.
    for (const auto& [zebName, fdtName] : std::vector<std::pair<std::string, std::string>>{
             {"ChecksumError", "unknownError"}, {"StackOverflow", "unknownError"}, {"MemoryOverflow", "unknownError"},
             {"timeout", "timeout"}, {"stackoverflow", "stackoverflow"}, {"", ""}})
        cases.push_back({"communication error " + zebName, help.HARTErrorResponseXML(zebName, "Child"),
                         {{"FDT/fdt:CommunicationError", {{"communicationError", fdtName}, {"tag", "Child"}}}},
                         {}, "", zebName == "timeout"});
    for (const Built& c : cases) {
        SCOPED_TRACE(c.name);
        const Parsed doc(c.text);
        ASSERT_TRUE(doc.loaded()) << c.text;
        if (!c.rootNamespace.empty()) {
            EXPECT_EQ(dom::namespaceUri(doc.node("FDT")), c.rootNamespace);
        }
        for (const Element& element : c.elements)
            EXPECT_EQ(doc.attributes(element.path), element.attributes) << element.path;
        for (const auto& [path, names] : c.children)
            EXPECT_EQ(doc.children(path), names) << path;
        if (c.validates)
            expectValid(c.text);
    }
    EXPECT_EQ(dom::namespaceUri(Parsed(help.HARTTransactionResponseXML(3, "R", "0A0B0C", 0x40, 0))
                                         .node(hartResponse + "/fdt:CommunicationData")),
              kFdtNamespace);
    EXPECT_EQ(help.BuildHARTDisconnectResponse("REF-2"), help.XMLDisconnectResponse("REF-2"));
    EXPECT_TRUE(shown().empty());
}

TEST_P(DocumentTest, SupportedProtocolsFunctionsAndParametersAreTheTemplatesAsLoaded)
{
    const std::string text = help.GetSupportedProtocols();
    EXPECT_EQ(text, reserialised(componentDir() / "XMLData" / "ZEBGetSupportedProtocols.xml"));
    EXPECT_EQ(Parsed(text).attribute("FDT/Protocols/fdt:Protocol", "protocolId"), "036D1498-387B-11D4-86E1-00E0987270B9");
    expectValid(text);

    const std::string functions = help.GetDTMFunctionsDoc("");
    EXPECT_EQ(functions, reserialised(componentDir() / "XMLData" / "DTMFunctions.xml"));
    for (const char* tag : {"$(fct_OfflineParameter)", "$(fct_Monitor)", "$(fct_About)"})
        EXPECT_NE(functions.find(tag), std::string::npos) << tag;
    expectValid(functions);
    const std::string parameters = help.GetDTMParametersDoc("");
    EXPECT_EQ(parameters, reserialised(componentDir() / "XMLData" / "DTMParameters.xml"));
    expectValid(parameters);
}

TEST_F(TempFolderFixture, ConnectResponsesOverrideTemplateValuesAndTheHartOnesGuardEachElement)
{
    writeTemplate("ZEB2HARTConnectResponse.xml",
                  R"(<FDT xmlns="x-schema:FDTHARTCommunicationSchema.xml" xmlns:fdt="x-schema:FDTDataTypesSchema.xml">
                       <ConnectResponse primaryMaster="0" extra="x" preambleCount="9"/></FDT>)");
    Parsed doc(help.BuildHARTConnectResponse("T", "R", 5));
    EXPECT_EQ(doc.attributes("FDT/ConnectResponse"),
              (Attributes{{"primaryMaster", "1"}, {"extra", "x"}, {"preambleCount", "0"}, {"fdt:tag", "T"},
                          {"communicationReference", "R"}}));
    EXPECT_EQ(doc.node("FDT/ConnectResponse/ShortAddress"), nullptr);

    writeTemplate("ZEB2HARTConnectRequest.xml", R"(<FDT xmlns="x-schema:ZEBCommunicationSchema.xml"><Other/></FDT>)");
    EXPECT_EQ(Parsed(help.BuildHARTConnectRequest("T")).children("FDT"), std::vector<std::string>{"Other"});
    // The ZEB connect response does not guard its element.
    writeTemplate("ZEBConnectResponse.xml", R"(<FDT xmlns="x-schema:ZEBCommunicationSchema.xml"><Other/></FDT>)");
    EXPECT_THROW(help.ZEBConnectResponseXML("R"), fdt::NotFoundError);
    fs::remove(folder.path() / "XMLData" / "ZEBConnectResponse.xml");
    EXPECT_THROW(help.ZEBConnectResponseXML("R"), fdt::NotFoundError);
    EXPECT_TRUE(shown().empty());
}

// --- ZEB data-exchange requests -------------------------------------------------------

TEST_P(DocumentTest, AZebTelegramShorterThanFiveBytesIsAnError)
{
    for (const std::string telegram : {"", "01", "01020304", "0102030"})
        EXPECT_THROW(help.ZEBDataExchangeXML(1, telegram, "R"), fdt::Error) << telegram;
    EXPECT_THROW(help.ZEBDataExchangeXML(1, "01020304XX", "R"), fdt::TypeMismatchError);
}

TEST_F(XmlFixture, ADelayedDataRequestWithoutARecordShowsTheLoadError)
{
    EXPECT_EQ(help.GetXMLDocumentDelayedData("R"), "");
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].text.rfind("Your XML Document failed to load due the following error:\r\n\r\nError: \r\n0: \r\n", 0),
              0u)
        << shown()[0].text;
}

// --- ZEB data-exchange responses ------------------------------------------------------------

TEST_P(DocumentTest, ZebResponseBecomesATelegram)
{
    struct Case {
        std::string response;
        std::string header;
        std::string telegram;
    };
    const std::vector<Case> cases = {
        {R"(Status="0")", R"(ObjectNo="258" SubNo="3" NoOfBytes="6" CommunicationData="1A2B")", "01020300021A2B"},
        {R"(Status="255" CommunicationReference="R")", R"(ObjectNo="65535" SubNo="255" NoOfBytes="4" CommunicationData="")",
         "FFFFFFFF00"},
        {R"(Status="16")", R"(ObjectNo="70000" SubNo="0" NoOfBytes="259" CommunicationData="AB")", "11700010FFAB"},
        {R"(Status="1")", R"(ObjectNo="-1" SubNo="1" NoOfBytes="5" CommunicationData="0a")", "FFFF0101010a"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(help.ZEBToHARTCommunicationData(zebResponse(c.response, c.header)), c.telegram) << c.header;
    // Parts whose element is missing are empty.
    EXPECT_EQ(help.ZEBToHARTCommunicationData(std::string("<FDT xmlns=\"") + kZebNamespace
                                              + "\"><DataExchangeResponse Status=\"7\"/></FDT>"),
              "07");
    EXPECT_EQ(help.ZEBToHARTCommunicationData("not XML"), "");
    EXPECT_TRUE(shown().empty());
}

TEST_F(XmlFixture, ReadingAZebResponseFailsOnAbsentOrOutOfRangeValues)
{
    struct Case {
        std::string response;
        std::string header;
    };
    const std::vector<Case> overflow = {
        {R"(Status="0")", R"(ObjectNo="258" SubNo="3" NoOfBytes="3" CommunicationData="")"},
        {R"(Status="0")", R"(ObjectNo="258" SubNo="3" NoOfBytes="260" CommunicationData="")"},
        {R"(Status="256")", R"(ObjectNo="258" SubNo="3" NoOfBytes="4" CommunicationData="")"},
        {R"(Status="0")", R"(ObjectNo="258" SubNo="-1" NoOfBytes="4" CommunicationData="")"},
        {R"(Status="0")", R"(ObjectNo="2147483648" SubNo="3" NoOfBytes="4" CommunicationData="")"},
    };
    for (const Case& c : overflow)
        EXPECT_THROW(help.ZEBToHARTCommunicationData(zebResponse(c.response, c.header)), fdt::OverflowError) << c.header;
    const std::vector<Case> absent = {
        {"", R"(ObjectNo="258" SubNo="3" NoOfBytes="4" CommunicationData="")"},
        {R"(Status="0")", R"(SubNo="3" NoOfBytes="4" CommunicationData="")"},
        {R"(Status="0")", R"(ObjectNo="258" NoOfBytes="4" CommunicationData="")"},
        {R"(Status="0")", R"(ObjectNo="258" SubNo="3" CommunicationData="")"},
        {R"(Status="0")", R"(ObjectNo="258" SubNo="3" NoOfBytes="4")"},
    };
    for (const Case& c : absent)
        EXPECT_THROW(help.ZEBToHARTCommunicationData(zebResponse(c.response, c.header)), fdt::NotFoundError) << c.header;
    EXPECT_THROW(help.ZEBToHARTCommunicationData(zebResponse(R"(Status="x")", "")), fdt::TypeMismatchError);
    // The delayed response needs a status that reads as a byte.
    EXPECT_THROW(help.ZEBToHARTCommunicationDataDelayed(zebResponse("", R"(CommunicationData="00")")), fdt::NotFoundError);
    EXPECT_THROW(help.ZEBToHARTCommunicationDataDelayed(zebResponse(R"(Status="300")", R"(CommunicationData="00")")),
                 fdt::OverflowError);
    EXPECT_THROW(help.ZEBToHARTCommunicationDataDelayed(zebResponse(R"(Status="0")", "")), fdt::NotFoundError);
    EXPECT_THROW(help.ZEBToHARTCommunicationDataDelayed("not XML"), fdt::NotFoundError);
}

TEST_F(SchemaFixture, AZebResponseThatDoesNotValidateGivesNoTelegram)
{
    EXPECT_EQ(help.ZEBToHARTCommunicationData(
                  zebResponse(R"(Status="256")", R"(ObjectNo="258" SubNo="3" NoOfBytes="4" CommunicationData="")")),
              "");
    EXPECT_EQ(help.ZEBToHARTCommunicationData(
                  zebResponse(R"(Status="0")", R"(ObjectNo="258" SubNo="3" NoOfBytes="6" CommunicationData="XYZ")")),
              "");
}

TEST_P(DocumentTest, DelayedResponseDataAreTheDataAsTheyStand)
{
    EXPECT_EQ(help.ZEBToHARTCommunicationDataDelayed(
                  zebResponse(R"(Status="0")", R"(ObjectNo="1" SubNo="2" NoOfBytes="6" CommunicationData="00FF")")),
              "00FF");
    EXPECT_THROW(help.ZEBToHARTCommunicationDataDelayed(std::string("<FDT xmlns=\"") + kZebNamespace
                                                        + "\"><DataExchangeResponse Status=\"0\"/></FDT>"),
                 fdt::NotFoundError);
}

TEST_P(DocumentTest, AnErrorProtocolIsRecognisedByItsElement)
{
    const std::string error = std::string("<FDT xmlns=\"") + kZebNamespace + "\" xmlns:fdt=\"" + kFdtNamespace
                              + "\"><ZebCommError ZebActive=\"1\" ZebcommError=\"timeout\" CommunicationReference=\"R\""
                                " fdt:tag=\"T\"/></FDT>";
    EXPECT_TRUE(help.IsErrorProtocol(error));
    EXPECT_FALSE(help.IsErrorProtocol(zebResponse(R"(Status="0")", R"(ObjectNo="1" SubNo="2" NoOfBytes="4" CommunicationData="")")));
    EXPECT_FALSE(help.IsErrorProtocol("not XML"));
    EXPECT_FALSE(help.IsErrorProtocol(""));
}

// --- HART responses -------------------------------------------------------------------------------

TEST_F(TempFolderFixture, HartResponseTemplatesWithOtherShapes)
{
    // Without Status the data go last; a template's data element is emptied by the undefined answer.
    writeTemplate("ZEB2HARTDataExchangeResponse.xml",
                  R"(<FDT xmlns="x-schema:FDTHARTCommunicationSchema.xml" xmlns:fdt="x-schema:FDTDataTypesSchema.xml">
                       <DataExchangeResponse><Other/></DataExchangeResponse></FDT>)");
    Parsed withoutStatus(help.HARTTransactionResponseXML(1, "R", "AA", 1, 2));
    EXPECT_EQ(withoutStatus.children("FDT/DataExchangeResponse"), (std::vector<std::string>{"Other", "fdt:CommunicationData"}));

    writeTemplate("ZEB2HARTDataExchangeResponse.xml",
                  R"(<FDT xmlns="x-schema:FDTHARTCommunicationSchema.xml" xmlns:fdt="x-schema:FDTDataTypesSchema.xml">
                       <DataExchangeResponse commandNumber="0"><fdt:CommunicationData byteArray="FF"/>
                       <Status deviceStatus="9"><CommandResponse value="3"/></Status></DataExchangeResponse></FDT>)");
    Parsed undefined(help.HARTErrorUndefinedXML(2, "R"));
    EXPECT_EQ(undefined.attributes("FDT/DataExchangeResponse/fdt:CommunicationData"), (Attributes{{"byteArray", ""}}));
    EXPECT_EQ(undefined.attributes("FDT/DataExchangeResponse/Status"), (Attributes{{"deviceStatus", "9"}}));

    writeTemplate("ZEB2HARTDataExchangeResponse.xml", R"(<FDT xmlns="x-schema:FDTHARTCommunicationSchema.xml"><Other/></FDT>)");
    EXPECT_THROW(help.HARTTransactionResponseXML(1, "R", "AA", 1, 2), fdt::NotFoundError);
    EXPECT_EQ(Parsed(help.HARTTransactionResponseXML(1, "R", "", 1, 2)).children("FDT"), std::vector<std::string>{"Other"});
}

// --- description documents ------------------------------------------------------------------------------

TEST_P(DocumentTest, DeviceTypeCheckAcceptsTheOwnNameOrBusCategory)
{
    struct Case {
        std::string name;
        std::string busCategory;
        bool own;
    };
    const std::vector<Case> cases = {
        {"ZEB to HART Gateway", "036D1498-387B-11D4-86E1-00E0987270B9", true},
        {"Another Gateway", "81684E65-6385-4690-ACCF-49995B3B4E8B", true},
        {"ZEB to HART Gateway", "81684E65-6385-4690-ACCF-49995B3B4E8B", true},
        {"zeb to hart gateway", "81684e65-6385-4690-accf-49995b3b4e8b", false},
        {"Another Gateway", "036D1498-387B-11D4-86E1-00E0987270B9", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(help.CheckInitInformation(deviceType(c.name, c.busCategory)), c.own) << c.name << " " << c.busCategory;
    // A device type without its nodes fails the check.
    EXPECT_THROW(help.CheckInitInformation("not XML"), fdt::NotFoundError);
    const std::string noBus = std::string(R"(<FDT xmlns="x-schema:DTMDeviceTypeSchema.xml" xmlns:fdt="x-schema:FDTDataTypesSchema.xml">)")
                              + R"(<fdt:DtmDeviceType><fdt:VersionInformation name="ZEB to HART Gateway"/></fdt:DtmDeviceType></FDT>)";
    EXPECT_THROW(help.CheckInitInformation(noBus), fdt::NotFoundError);
}

TEST_P(DocumentTest, UserLevelAndFunctionIdentifiers)
{
    const std::string user = R"(<FDT xmlns="x-schema:FDTUserInformationSchema.xml"><FDTUserInformation userLevel="planningEngineer"/></FDT>)";
    EXPECT_EQ(help.GetUserLevel(user), "planningEngineer");
    EXPECT_THROW(help.GetUserLevel(R"(<FDT xmlns="x-schema:FDTUserInformationSchema.xml"/>)"), fdt::NotFoundError);

    EXPECT_EQ(help.GetProgId(functionCall(R"(func:functionId="30")")), "30");
    EXPECT_EQ(help.DocFunctionID(functionCall(R"(func:functionId="10")")), fdt::Variant("10"));
    const std::string withoutId = functionCall(R"(applicationId="x")");
    EXPECT_TRUE(help.DocFunctionID(withoutId).isNull());
    EXPECT_THROW(help.GetProgId(withoutId), fdt::NotFoundError);
    EXPECT_THROW(help.GetProgId("not XML"), fdt::NotFoundError);
    EXPECT_THROW(help.DocFunctionID("not XML"), fdt::NotFoundError);
    EXPECT_TRUE(shown().empty());
}

TEST_F(XmlFixture, InformationIsTheTemplateTextBeforeTheSchemasAndTheParsedDocumentAfterWithTheIconPath)
{
    std::string expected = readFile(componentDir() / "XMLData" / "DTMInformation.xml");
    const std::string icon = (componentDir() / "Resources" / "device.ico").string();
    const std::size_t at = expected.find("$(PathToDeviceIcon)");
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, 19, icon);
    EXPECT_EQ(help.GetDTMInformationDoc("ignored"), expected);

    // After the schemas it is the parsed document with the icon path.
    loadSchemas(help);
    const std::string text = help.GetDTMInformationDoc("ignored");
    Parsed doc(text);
    EXPECT_EQ(doc.attributes("FDT/DtmInfo/DtmDeviceTypes/fdt:DtmDeviceType/fdt:DeviceIcon"),
              (Attributes{{"path", (componentDir() / "Resources" / "device.ico").string()}}));
    EXPECT_EQ(doc.attributes("FDT/DtmInfo/fdt:VersionInformation"), kVersion);
    EXPECT_EQ(doc.attribute("FDT/DtmInfo/DtmDeviceTypes/fdt:DtmDeviceType/fdt:BusCategories/fdt:BusCategory", "busCategory"),
              "81684E65-6385-4690-ACCF-49995B3B4E8B");
    EXPECT_EQ(text.find("$(PathToDeviceIcon)"), std::string::npos);
    expectValid(text);
}

TEST_F(TempFolderFixture, ThePlaceholderIsReplacedOnlyInTheTextForm)
{
    std::string information = readFile(folder.path() / "XMLData" / "DTMInformation.xml");
    const std::string descriptor = "descriptor=\"Gateway DTM from the ZEB device protocol to HART\"";
    information.replace(information.find(descriptor), descriptor.size(), "descriptor=\"$(PathToDeviceIcon)|$(PathToDeviceIcon)\"");
    writeTemplate("DTMInformation.xml", information);
    const std::string icon = (folder.path() / "Resources" / "device.ico").string();

    EXPECT_EQ(Parsed(help.GetDTMInformationDoc("")).attribute("FDT/DtmInfo/fdt:VersionInformation", "descriptor"),
              icon + "|" + icon);
    loadSchemas(help, folder.path());
    Parsed parsed(help.GetDTMInformationDoc(""));
    EXPECT_EQ(parsed.attribute("FDT/DtmInfo/fdt:VersionInformation", "descriptor"), "$(PathToDeviceIcon)|$(PathToDeviceIcon)");
    EXPECT_EQ(parsed.attribute("FDT/DtmInfo/DtmDeviceTypes/fdt:DtmDeviceType/fdt:DeviceIcon", "path"), icon);

    // Without its template nothing is found; before the schemas it is a file error.
    fs::remove(folder.path() / "XMLData" / "DTMInformation.xml");
    EXPECT_THROW(XMLHelp(folder.path()).GetDTMInformationDoc(""), fdt::FileError);
    EXPECT_THROW(help.GetDTMInformationDoc(""), fdt::NotFoundError);
    EXPECT_TRUE(shown().empty());
}

TEST_P(DocumentTest, DocumentationEntriesAreAppendedInOrder)
{
    const std::vector<clsDataElement> entries = {
        {"Device type", "", "VRA520", ""}, {"Warm-start delay", "ignored", "5 [s]", "x"}, {"Third", "", "", ""}};
    const std::string text = help.GetDTMDocumentationDoc(entries);
    Parsed doc(text);
    const auto variables = dom::childElements(doc.node("FDT/DocumentVariables"), "DocumentVariable");
    ASSERT_EQ(variables.size(), 3u);
    for (std::size_t i = 0; i < variables.size(); ++i) {
        EXPECT_EQ(attributesOf(variables[i]), (Attributes{{"fdt:name", entries[i].name}, {"fdt:display", entries[i].display}}));
        EXPECT_EQ(dom::namespaceUri(variables[i]), "x-schema:DTMDocumentationSchema.xml");
    }
    expectValid(text);
}

TEST_F(TempFolderFixture, DocumentationNeedsACompleteOwnDeviceType)
{
    const std::string information = readFile(folder.path() / "XMLData" / "DTMInformation.xml");
    const std::vector<std::pair<std::string, std::string>> changes = {
        {"manufacturerId=\"255\"", "manufacturerId=\"70000\""},
        {"manufacturerId=\"255\"", "manufacturerId=\"many\""},
        {"manufacturerId=\"255\" ", ""},
        {"classificationId=\"Gateway\"", ""},
        {"descriptor=\"ZEB to HART gateway device type\"", ""},
    };
    for (const auto& [from, to] : changes) {
        SCOPED_TRACE(from + " -> " + to);
        std::string changed = information;
        changed.replace(changed.find(from), from.size(), to);
        writeTemplate("DTMInformation.xml", changed);
        EXPECT_THROW(help.GetDTMDocumentationDoc({}), fdt::Error);
    }
}

TEST_F(TempFolderFixture, DescriptionDocumentsTakeTheVersionWhateverTheirTemplateHolds)
{
    writeTemplate("DTMDocumentation.xml",
                  R"(<FDT xmlns="x-schema:DTMDocumentationSchema.xml" xmlns:fdt="x-schema:FDTDataTypesSchema.xml">
  <fdt:VersionInformation name="n"/><DocumentVariables><GraphicReference path=""/>
  <DocumentVariable fdt:name="Template" fdt:display="t"/></DocumentVariables></FDT>)");
    Parsed doc(help.GetDTMDocumentationDoc({{"A", "", "1", ""}, {"B", "", "2", ""}}));
    std::vector<std::string> names;
    for (xmlNode* v : dom::childElements(doc.node("FDT/DocumentVariables"), "DocumentVariable"))
        names.push_back(dom::attribute(v, "fdt:name").value_or("?"));
    EXPECT_EQ(names, (std::vector<std::string>{"Template", "A", "B"})); // appended after the template's own
    EXPECT_EQ(doc.attributes("FDT/fdt:VersionInformation"), kVersion);

    writeTemplate("FDTBasicChannelParameter.xml",
                  R"(<FDT xmlns="x-schema:FDTBasicChannelParameterSchema.xml" xmlns:fdt="x-schema:FDTDataTypesSchema.xml">
  <FDTChannelType><fdt:VersionInformation name="Other" vendor="V" version="9" date="1999-01-01" descriptor="kept"/></FDTChannelType>
  <FDTBasicChannel fdt:id="old"/></FDT>)");
    Parsed channel(help.FdtBasicChannelParameter("GW", "HARTChannel1"));
    Attributes version = kVersionWithoutDescriptor;
    version.emplace_back("descriptor", "kept");
    EXPECT_EQ(channel.attributes("FDT/FDTChannelType/fdt:VersionInformation"), version);
    EXPECT_EQ(channel.attributes("FDT/FDTBasicChannel"), (Attributes{{"fdt:id", "HARTChannel1"}, {"fdt:tag", "GW"}}));
}

} // namespace
} // namespace zeb2hart::xml::test
