#include <gtest/gtest.h>

#include <optional>

#include "fdt/Errors.h"
#include "support/Trace.h"
#include "xml/XmlTestSupport.h"

namespace zeb2hart::xml::test {
namespace {

using dom::LoadResult;
using dom::XmlDocument;

const std::string kValidSchema = R"(<?xml version="1.0"?>
<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" targetNamespace="x-schema:NAME" elementFormDefault="qualified">
  <xs:element name="FDT"><xs:complexType/></xs:element>
</xs:schema>)";

std::string validSchema(const std::string& name)
{
    std::string text = kValidSchema;
    text.replace(text.find("NAME"), 4, name);
    return text;
}

// --- schema collection ---------------------------------------------------------

TEST_F(XmlFixture, TheCollectionHoldsTheFramesAndTheComponentsSchemas)
{
    // GetXMLSchemas leaves the instance's collection alone.
    EXPECT_EQ(help.GetXMLSchemas(frameSchemaDir().string())->size(), 12u);
    EXPECT_TRUE(help.Cache().isEmpty());
    loadSchemas(help);
    const std::vector<std::string> expected = {
        "x-schema:DTMDeviceTypeSchema.xml",         "x-schema:DTMDocumentationSchema.xml",
        "x-schema:DTMFunctionsSchema.xml",          "x-schema:DTMInformationSchema.xml",
        "x-schema:DTMParameterSchema.xml",          "x-schema:DTMProtocolsSchema.xml",
        "x-schema:FDTBasicChannelParameterSchema.xml", "x-schema:FDTChangedParameterSchema.xml",
        "x-schema:FDTDataTypesSchema.xml",          "x-schema:FDTFunctionCallSchema.xml",
        "x-schema:FDTHARTCommunicationSchema.xml",  "x-schema:FDTUserInformationSchema.xml",
        "x-schema:ZEBCommunicationSchema.xml",
    };
    EXPECT_EQ(help.Cache().namespaces(), expected);
    EXPECT_TRUE(shown().empty());
}

TEST_F(XmlFixture, ADocumentLackingARequiredNodeDoesNotValidate)
{
    auto collection = fullSchemaCollection();
    struct Case {
        const char* templateName;
        std::string remove; // text cut out of the template
    };
    const std::vector<Case> cases = {
        {"ZEB2HARTDataExchangeResponse.xml", "<CommandResponse value=\"0\"/>"},
        {"ZEB2HARTDataExchangeResponse.xml", "commandNumber=\"0\""},
        {"ZEB2HARTDataExchangeRequest.xml",
         "<CommunicationHeader MessageType=\"0\" ObjectType=\"2\" NoOfBytes=\"4\" SubNo=\"0\" ObjectNo=\"0\"/>"},
        {"ZEBConnectResponse.xml", "CommunicationReference=\"\""},
        {"ZEB2HARTCommunicationError.xml", "communicationError=\"unknownError\""},
        {"DTMDocumentation.xml", "<GraphicReference path=\"\"/>"},
        {"DTMOnParameterChanged.xml", "NewValue=\"\""},
        {"FDTBasicChannelParameter.xml", "<FDTBasicChannel"},
        {"DTMInformation.xml", "<fdt:BusCategory busCategory=\"81684E65-6385-4690-ACCF-49995B3B4E8B\" name=\"ZEB\"/>"},
        {"ZEBGetSupportedProtocols.xml", "<fdt:Protocol protocolId=\"036D1498-387B-11D4-86E1-00E0987270B9\" name=\"HART\"/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.templateName) + " without " + c.remove);
        std::string text = readFile(componentDir() / "XMLData" / c.templateName);
        const std::size_t at = text.find(c.remove);
        ASSERT_NE(at, std::string::npos);
        text.erase(at, c.remove.size());
        if (c.remove == "<FDTBasicChannel") // drop the whole element
            text.erase(at, text.find("</FDTBasicChannel>", at) + 18 - at);
        XmlDocument document;
        document.setSchemas(collection);
        EXPECT_EQ(document.loadXml(text), LoadResult::NotLoaded);
        EXPECT_TRUE(document.isEmpty());
    }
}

TEST_F(XmlFixture, TheSchemaFolderWorksWithOrWithoutATrailingSeparatorAndAMissingOneIsAnError)
{
    XMLHelp without(componentDir());
    XMLHelp with(componentDir());
    without.InitXMLSchemaCache(frameSchemaDir().string());
    with.InitXMLSchemaCache(frameSchemaDir().string() + "/");
    EXPECT_EQ(without.Cache().namespaces(), with.Cache().namespaces());
    EXPECT_EQ(without.Cache().size(), 12u);

    // A missing schema folder is an error, and the collection keeps what it held.
    help.InitXMLSchemaCache((componentDir() / "XMLSchemas").string());
    EXPECT_THROW(help.InitXMLSchemaCache((componentDir() / "NoSuchFolder").string()), fdt::FileError);
    EXPECT_THROW(help.GetXMLSchemas((componentDir() / "NoSuchFolder").string()), fdt::FileError);
    EXPECT_EQ(help.Cache().namespaces(), std::vector<std::string>{"x-schema:ZEBCommunicationSchema.xml"});
}

TEST_F(TempFolderFixture, SchemaFilesAreChosenByNameAndABadOneIsTracedAndSkipped)
{
    folder.write("Resources/DTM.ini", "[TimeCritical]\r\nTrace=ExternalFile\r\n");
    support::ResetTraceMode();
    const fs::path schemas = folder.path() / "schemas";
    writeFile(schemas / "schema.XmL", validSchema("schema.XmL"));
    writeFile(schemas / "Bad.xml", "<xs:schema this is broken");
    writeFile(schemas / "readme.txt", "not a schema");
    writeFile(schemas / "Zed.xml", validSchema("Zed.xml"));
    fs::create_directories(schemas / "folder.xml");

    help.InitXMLSchemaCache(schemas.string());
    support::ResetTraceMode();

    EXPECT_EQ(help.Cache().namespaces(), (std::vector<std::string>{"x-schema:schema.XmL", "x-schema:Zed.xml"}));
    const std::string trace = readFile(folder.path() / "TraceInfoFile.txt");
    const std::size_t at = trace.find("ZEBAdapter: Cannot add the file Bad.xml to schema\r\n");
    ASSERT_NE(at, std::string::npos) << trace;
    EXPECT_NE(trace.find(": DOMHelp::GetXMLSchemas\r\n", at), std::string::npos) << trace;
    EXPECT_EQ(trace.find("Cannot add the file", trace.find("Cannot add the file") + 1), std::string::npos)
        << "one entry only";
    EXPECT_EQ(trace.find("readme"), std::string::npos);
    EXPECT_TRUE(shown().empty());
}

// --- GetAttributeFromXML, GetNextElement -------------------------------------------

TEST_F(XmlFixture, GetAttributeFromXMLReadsOneAttributeOrNothing)
{
    const std::string request = R"(<FDT xmlns="x-schema:FDTHARTCommunicationSchema.xml" xmlns:fdt="x-schema:FDTDataTypesSchema.xml">
  <ConnectRequest fdt:tag="Child"><ShortAddress shortAddress="5"/></ConnectRequest></FDT>)";
    EXPECT_EQ(help.GetAttributeFromXML(request, "FDT/ConnectRequest", "fdt:tag"), "Child");
    EXPECT_EQ(help.GetAttributeFromXML(request, "FDT/ConnectRequest/ShortAddress", "shortAddress"), "5");
    EXPECT_EQ(help.GetAttributeFromXML(request, "FDT/DisconnectRequest", "fdt:tag"), "");
    EXPECT_EQ(help.GetAttributeFromXML("this is not XML", "FDT/ConnectRequest", "fdt:tag"), "");
    EXPECT_EQ(help.GetAttributeFromXML("", "FDT/ConnectRequest", "fdt:tag"), "");
    EXPECT_THROW(help.GetAttributeFromXML(request, "FDT/ConnectRequest", "tag"), fdt::NotFoundError);
    EXPECT_THROW(help.GetAttributeFromXML(request, "FDT/ConnectRequest", "shortAddress"), fdt::NotFoundError);
    EXPECT_TRUE(shown().empty());
}

TEST_F(SchemaFixture, FindAttributeFromXMLAnswersNothingWhereGetAttributeFromXMLFails)
{
    const std::string request = "<FDT xmlns=\"x-schema:ZEBCommunicationSchema.xml\"><DataExchangeRequest Control=\"0\">"
                                "<CommunicationHeader ObjectNo=\"258\"/></DataExchangeRequest></FDT>";
    struct Case {
        std::string text;
        const char* path;
        const char* attribute;
        std::optional<std::string> found;
    };
    const std::vector<Case> cases = {
        {request, "FDT/DataExchangeRequest/CommunicationHeader", "ObjectNo", "258"},
        {request, "FDT/DataExchangeRequest/CommunicationHeader", "CommunicationData", std::nullopt},
        {request, "FDT/DataExchangeRequest/Missing", "ObjectNo", ""},
        {"not XML", "FDT/DataExchangeRequest", "Control", ""},
        {"<FDT xmlns=\"x-schema:ZEBCommunicationSchema.xml\"><Nonsense/></FDT>", "FDT/Nonsense", "a", ""},
        // Not valid, no such schema, or a namespace no schema checks.
        {R"(<FDT xmlns="x-schema:FDTHARTCommunicationSchema.xml" xmlns:fdt="x-schema:FDTDataTypesSchema.xml">
  <ConnectRequest fdt:tag="Child"><ShortAddress shortAddress="many"/></ConnectRequest></FDT>)",
         "FDT/ConnectRequest", "fdt:tag", ""},
        {R"(<FDT xmlns="x-schema:Unknown.xml"><ConnectRequest tag="Child"/></FDT>)", "FDT/ConnectRequest", "tag", ""},
        {R"(<FDT xmlns="urn:foreign"><ConnectRequest tag="Child"/></FDT>)", "FDT/ConnectRequest", "tag", "Child"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " " + c.path + " " + c.attribute);
        EXPECT_EQ(help.FindAttributeFromXML(c.text, c.path, c.attribute), c.found);
        if (c.found) {
            EXPECT_EQ(help.GetAttributeFromXML(c.text, c.path, c.attribute), *c.found);
        } else {
            EXPECT_THROW(help.GetAttributeFromXML(c.text, c.path, c.attribute), fdt::NotFoundError);
        }
    }
    EXPECT_TRUE(shown().empty());
}

TEST_F(XmlFixture, GetNextElementSkipsTextAndComments)
{
    XmlDocument document;
    ASSERT_EQ(document.loadXml("<r><a/>text<!-- note --><?pi?><b/><c/></r>"), LoadResult::Loaded);
    XMLHelp::Node a = document.selectSingleNode("r/a");
    XMLHelp::Node b = XMLHelp::GetNextElement(a);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(dom::qualifiedName(b), "b");
    EXPECT_EQ(dom::qualifiedName(XMLHelp::GetNextElement(b)), "c");
    EXPECT_EQ(XMLHelp::GetNextElement(XMLHelp::GetNextElement(b)), nullptr);
    EXPECT_EQ(dom::qualifiedName(XMLHelp::GetNextElement(a)), "b") << "the argument is not changed";
    EXPECT_THROW(XMLHelp::GetNextElement(nullptr), fdt::NullObjectError);
}

// --- node helpers --------------------------------------------------------------------

TEST_F(XmlFixture, SetAndAddAttributKeepThePlaceOfAnAttributeAndAddOthersLast)
{
    XmlDocument document;
    ASSERT_EQ(document.loadXml(R"(<FDT xmlns="x-schema:A.xml" xmlns:fdt="x-schema:F.xml"><E a="1" fdt:tag="t" b="2"/></FDT>)"),
              LoadResult::Loaded);
    XMLHelp::Node e = document.selectSingleNode("FDT/E");
    XMLHelp::setAttribut("fdt:tag", "T", e);
    XMLHelp::setAttribut("a", std::int16_t{-7}, e);
    XMLHelp::setAttribut("c", true, e);
    XMLHelp::setAttribut("fdt:id", "ID", e);
    XMLHelp::setAttribut("x:y", "literal", e, std::string("x-schema:X.xml"));
    Parsed result(document.xml());
    ASSERT_TRUE(result.loaded()) << document.xml();
    EXPECT_EQ(result.attributes("FDT/E"),
              (Attributes{{"a", "-7"}, {"fdt:tag", "T"}, {"b", "2"}, {"c", "1"}, {"fdt:id", "ID"}, {"x:y", "literal"}}));
    EXPECT_EQ(dom::findAttribute(result.node("FDT/E"), "fdt:id")->ns->href,
              dom::findAttribute(result.node("FDT/E"), "fdt:tag")->ns->href);
    EXPECT_THROW(XMLHelp::setAttribut("a", 1, nullptr), fdt::NullObjectError);

    // addAttribut replaces an attribute of the same name.
    ASSERT_EQ(document.loadXml(R"(<FDT xmlns:fdt="x-schema:F.xml"><E fdt:display="old" z="0"/></FDT>)"), LoadResult::Loaded);
    e = document.selectSingleNode("FDT/E");
    XMLHelp::addAttribut("fdt:display", "new", e);
    XMLHelp::addAttribut("n", std::uint8_t{200}, e);
    EXPECT_EQ(Parsed(document.xml()).attributes("FDT/E"), (Attributes{{"fdt:display", "new"}, {"z", "0"}, {"n", "200"}}));
}

TEST_F(XmlFixture, AddNodeAppendsAnElementInTheParentsOrTheGivenNamespace)
{
    XmlDocument document;
    ASSERT_EQ(document.loadXml(R"(<FDT xmlns="x-schema:D.xml" xmlns:fdt="x-schema:F.xml"><V><Old/></V></FDT>)"),
              LoadResult::Loaded);
    XMLHelp::Node v = document.selectSingleNode("FDT/V");
    XMLHelp::Node first = XMLHelp::addNode("DocumentVariable", v);
    XMLHelp::addNode("fdt:Other", v, std::string("x-schema:F.xml"));
    XMLHelp::addNode("Foreign", v, std::string("urn:foreign"));
    EXPECT_EQ(dom::namespaceUri(first), "x-schema:D.xml");
    Parsed result(document.xml());
    ASSERT_TRUE(result.loaded());
    EXPECT_EQ(result.children("FDT/V"), (std::vector<std::string>{"Old", "DocumentVariable", "fdt:Other", "Foreign"}));
    EXPECT_EQ(dom::namespaceUri(result.node("FDT/V/DocumentVariable")), "x-schema:D.xml");
    EXPECT_EQ(dom::namespaceUri(result.node("FDT/V/fdt:Other")), "x-schema:F.xml");
    EXPECT_EQ(dom::namespaceUri(result.node("FDT/V/Foreign")), "urn:foreign");
    EXPECT_EQ(document.xml().find("xmlns=\"x-schema:D.xml\"", document.xml().find("DocumentVariable")), std::string::npos)
        << "no redundant declaration";
    EXPECT_THROW(XMLHelp::addNode("X", nullptr), fdt::NullObjectError);
}

TEST(XMLHelpValueToText, WritesEachKindOfValue)
{
    const double fourteen0509 = (14 * 3600 + 5 * 60 + 9) / 86400.0;
    struct Case {
        fdt::Variant value;
        std::string text;
    };
    const std::vector<Case> cases = {
        {fdt::Variant(), ""},
        {fdt::Null{}, ""},
        {true, "1"},
        {false, "0"},
        {std::uint8_t{255}, "255"},
        {std::int16_t{-32768}, "-32768"},
        {std::int32_t{65535}, "65535"},
        {std::int32_t{-2147483647 - 1}, "-2147483648"},
        {2.5, "2.5"},
        {2.5f, "2.5"},
        {-0.125, "-0.125"},
        {0.1, "0.1"},
        {1.0 / 3.0, "0.333333333333333"},
        {1.0f / 3.0f, "0.3333333"},
        {1e20, "1E+20"},
        {100.0, "100"},
        {fdt::Date{38053.0}, "2004-03-07"},
        {fdt::Date{38053.0 + fourteen0509}, "2004-03-07 14:05:09"},
        {fdt::Date{0.0}, "1899-12-30"},
        {fdt::Date{-1.5}, "1899-12-29 12:00:00"},
        {fdt::Date{2.0 + 0.999999999}, "1900-01-02 00:00:00"},
        {std::string("text $(x)"), "text $(x)"},
        {std::vector<std::uint8_t>{0x0A, 0xFF}, "0AFF"},
        {std::vector<std::int16_t>{1, -1}, "0001FFFF"},
        {std::vector<std::int32_t>{10}, "0000000A"},
        {fdt::VariantArray{std::uint8_t{1}, std::int16_t{2}, std::int32_t{3}, std::string("x"), 1.5, true},
         "01000200000003"},
        {fdt::VariantArray{}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(XMLHelp::ValueToText(c.value), c.text) << c.text;
}

// --- load errors -------------------------------------------------------------------------

TEST_F(TempFolderFixture, AParserCallOrBuildThatFailsShowsTheLoadErrorAndGivesAnEmptyResult)
{
    // A template that exists but cannot be read.
    const fs::path blocked = folder.path() / "XMLData" / "ZEB2HARTConnectRequest.xml";
    fs::remove(blocked);
    fs::create_directories(blocked);
    EXPECT_EQ(help.BuildHARTConnectRequest("Tag"), "");
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].icon, platform::MessageBox::Icon::Exclamation);
    EXPECT_EQ(shown()[0].text, "Your XML Document failed to load due the following error:\r\n\r\n"
                               "Error: \r\n90004: The file cannot be read.\n\r\n"
                               "Line: 0\r\nLine Position: 0\r\nPosition In File: 0\r\n\r\n"
                               "Source Text: \r\n\r\nDocument URL: "
                                   + blocked.string());
    // The delayed data request traps failures of the whole build.
    fs::remove(folder.path() / "XMLData" / "ZEB2HARTDataExchangeRequest.xml");
    EXPECT_EQ(help.GetXMLDocumentDelayedData("R", ComData{0, 0, 4, 0, 0, {}}, std::int16_t{8}, "ReadDelayedResponse"), "");
    ASSERT_EQ(shown().size(), 2u);
    EXPECT_NE(shown()[1].text.find("Error: \r\n90003: The system cannot locate the object specified.\n\r\n"),
              std::string::npos)
        << shown()[1].text;
    EXPECT_NE(shown()[1].text.find("ZEB2HARTDataExchangeRequest.xml"), std::string::npos);
}

TEST_F(TempFolderFixture, AMissingMalformedOrInvalidTemplateIsNoLoadError)
{
    fs::remove(folder.path() / "XMLData" / "ZEB2HARTDisconnectResponse.xml");
    writeTemplate("ZEB2HARTConnectResponse.xml", "<FDT><ConnectResponse>");
    writeTemplate("ZEB2HARTCommunicationError.xml",
                  R"(<FDT xmlns="x-schema:FDTHARTCommunicationSchema.xml"><Nonsense/></FDT>)");
    loadSchemas(help, folder.path());
    EXPECT_EQ(help.BuildHARTDisconnectResponse("R"), "");
    EXPECT_EQ(help.BuildHARTConnectResponse("T", "R", 1), "");
    EXPECT_EQ(help.HARTErrorResponseXML("timeout", "T"), "");
    EXPECT_EQ(help.IsErrorProtocol("<FDT"), false);
    EXPECT_TRUE(shown().empty());
}

TEST_F(TempFolderFixture, TemplateNamesAreFoundWhateverTheirLetterCase)
{
    const std::string information = readFile(folder.path() / "XMLData" / "DTMInformation.xml");
    fs::remove(folder.path() / "XMLData" / "DTMInformation.xml");
    writeTemplate("DtmInformation.xml", information);
    EXPECT_EQ(help.templatePath("DTMInformation.xml"), folder.path() / "XMLData" / "DtmInformation.xml");
    EXPECT_EQ(help.templatePath("DtmInformation.xml"), folder.path() / "XMLData" / "DtmInformation.xml");
    EXPECT_EQ(help.templatePath("Missing.xml"), folder.path() / "XMLData" / "Missing.xml");
    EXPECT_NE(help.FdtBasicChannelParameter("GW", "HARTChannel1"), "");
    EXPECT_NE(help.GetDTMDocumentationDoc({}), "");
}

} // namespace
} // namespace zeb2hart::xml::test
