#include <gtest/gtest.h>

#include "fdt/Errors.h"
#include "support/Trace.h"
#include "xml/XmlTestSupport.h"

namespace zeb2hart::xml::test {
namespace {

TEST_F(TempFolderFixture, SchemaFilesAreChosenByNameAndAMissingFolderIsAnError)
{
    const fs::path schemas = folder.path() / "schemas";
    for (const std::string name : {"schema.XmL", "Zed.xml", "xml"})
        writeFile(schemas / name, R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" targetNamespace="x-schema:)" +
                                      name + R"("><xs:element name="FDT"/></xs:schema>)");
    writeFile(schemas / "readme.txt", "not a schema");
    writeFile(schemas / "ml", "too short a name");
    fs::create_directories(schemas / "folder.xml");
    help.InitXMLSchemaCache(schemas.string() + "/");
    EXPECT_EQ(help.Cache().namespaces(),
              (std::vector<std::string>{"x-schema:schema.XmL", "x-schema:xml", "x-schema:Zed.xml"}));
    EXPECT_EQ(help.GetXMLSchemas(schemas.string())->namespaces(), help.Cache().namespaces());
    // A missing folder is an error, and the collection keeps what it held.
    EXPECT_THROW(help.InitXMLSchemaCache((folder.path() / "NoSuchFolder").string()), fdt::FileError);
    EXPECT_THROW(help.GetXMLSchemas((folder.path() / "NoSuchFolder").string()), fdt::FileError);
    EXPECT_EQ(help.Cache().size(), 3u);
    EXPECT_TRUE(shown().empty());
}

TEST(XMLHelpValueToText, WritesEachKindOfValue)
{
    const double fourteen0509 = (14 * 3600 + 5 * 60 + 9) / 86400.0;
    const std::vector<std::pair<fdt::Variant, std::string>> cases = {
        {fdt::Variant(), ""},
        {true, "1"},
        {std::uint8_t{255}, "255"},
        {std::int32_t{-2147483647 - 1}, "-2147483648"},
        {2.5, "2.5"},
        {1.0 / 3.0, "0.333333333333333"},
        {1.0f / 3.0f, "0.3333333"},
        {1e20, "1E+20"},
        {fdt::Date{38053.0}, "2004-03-07"},
        {fdt::Date{38053.0 + fourteen0509}, "2004-03-07 14:05:09"},
        {fdt::Date{-1.5}, "1899-12-29 12:00:00"},
        {fdt::Date{2.0 + 0.999999999}, "1900-01-02 00:00:00"},
        {std::string("text $(x)"), "text $(x)"},
        {std::vector<std::uint8_t>{0x0A, 0xFF}, "0AFF"},
        {std::vector<std::int16_t>{1, -1}, "0001FFFF"},
        {std::vector<std::int32_t>{10}, "0000000A"},
        {fdt::VariantArray{std::uint8_t{1}, std::int16_t{2}, std::int32_t{3}, std::string("x"), 1.5, true},
         "01000200000003"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(XMLHelp::ValueToText(value), text) << text;
}

TEST_F(TempFolderFixture, OnlyAFailingParserCallIsALoadErrorAndTemplatesAreFoundWhateverTheirLetterCase)
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
                               "Source Text: \r\n\r\nDocument URL: " + blocked.string());
    // The delayed data request traps failures of the whole build.
    EXPECT_EQ(help.GetXMLDocumentDelayedData("R", std::nullopt, std::int16_t{8}), "");
    EXPECT_EQ(shown().size(), 2u);
    // A missing, malformed or invalid template loads empty, without a box.
    fs::remove(folder.path() / "XMLData" / "ZEB2HARTDisconnectResponse.xml");
    writeTemplate("ZEB2HARTConnectResponse.xml", "<FDT><ConnectResponse>");
    writeTemplate("ZEB2HARTCommunicationError.xml", R"(<FDT xmlns="x-schema:FDTHARTCommunicationSchema.xml"><Nonsense/></FDT>)");
    loadSchemas(help, folder.path());
    EXPECT_EQ(help.BuildHARTDisconnectResponse("R"), "");
    EXPECT_EQ(help.BuildHARTConnectResponse("T", "R", 1), "");
    EXPECT_EQ(help.HARTErrorResponseXML("timeout", "T"), "");
    EXPECT_EQ(shown().size(), 2u);

    const std::string information = readFile(folder.path() / "XMLData" / "DTMInformation.xml");
    fs::remove(folder.path() / "XMLData" / "DTMInformation.xml");
    writeTemplate("DtmInformation.xml", information);
    EXPECT_TRUE(fs::equivalent(help.templatePath("DTMInformation.xml"), folder.path() / "XMLData" / "DtmInformation.xml"));
    EXPECT_EQ(help.templatePath("Missing.xml"), folder.path() / "XMLData" / "Missing.xml");
    EXPECT_NE(help.FdtBasicChannelParameter("GW", "HARTChannel1"), "");
}

// --- description documents ------------------------------------------------------------------

TEST_F(XmlFixture, DocumentsOfTheFrameAreReadOrRefused)
{
    EXPECT_THROW(help.CheckInitInformation("not XML"), fdt::NotFoundError);
    EXPECT_EQ(help.GetUserLevel(R"(<FDT><FDTUserInformation userLevel="planningEngineer"/></FDT>)"), "planningEngineer");
    EXPECT_THROW(help.GetUserLevel("<FDT/>"), fdt::NotFoundError);
    const std::string call = R"(<FDT xmlns:func="x-schema:FDTFunctionCallSchema.xml"><FDTFunctionCall func:functionId="30"/></FDT>)";
    const std::string withoutId = R"(<FDT><FDTFunctionCall applicationId="x"/></FDT>)";
    EXPECT_EQ(help.GetProgId(call), "30");
    EXPECT_TRUE(help.DocFunctionID(withoutId).isNull());
    EXPECT_THROW(help.GetProgId(withoutId), fdt::NotFoundError);
    EXPECT_THROW(help.DocFunctionID("not XML"), fdt::NotFoundError);
}

TEST_F(TempFolderFixture, DescriptionDocumentsTakeTheOwnVersionAndIconAndAppendEntriesInOrder)
{
    // Before the schemas the information is the template's text with the icon path put in.
    std::string information = readFile(folder.path() / "XMLData" / "DTMInformation.xml");
    const std::string descriptor = "descriptor=\"Gateway DTM from the ZEB device protocol to HART\"";
    information.replace(information.find(descriptor), descriptor.size(), "descriptor=\"$(PathToDeviceIcon)|$(PathToDeviceIcon)\"");
    writeTemplate("DTMInformation.xml", information);
    const std::string icon = (folder.path() / "Resources" / "device.ico").string();
    const std::string version = "FDT/DtmInfo/fdt:VersionInformation";
    EXPECT_EQ(Parsed(help.GetDTMInformationDoc("")).attribute(version, "descriptor"), icon + "|" + icon);
    loadSchemas(help, folder.path());
    const Parsed parsed(help.GetDTMInformationDoc(""));
    EXPECT_EQ(parsed.attribute(version, "descriptor"), "$(PathToDeviceIcon)|$(PathToDeviceIcon)");
    EXPECT_EQ(parsed.attribute("FDT/DtmInfo/DtmDeviceTypes/fdt:DtmDeviceType/fdt:DeviceIcon", "path"), icon);

    writeTemplate("DTMDocumentation.xml", R"(<FDT xmlns="x-schema:DTMDocumentationSchema.xml" xmlns:fdt="x-schema:FDTDataTypesSchema.xml">
  <fdt:VersionInformation name="n"/><DocumentVariables><GraphicReference path=""/>
  <DocumentVariable fdt:name="Template" fdt:display="t"/></DocumentVariables></FDT>)");
    const Parsed doc(help.GetDTMDocumentationDoc({{"A", "", "1", ""}, {"B", "x", "2", "y"}}));
    std::vector<Attributes> variables;
    for (xmlNode* v : dom::childElements(doc.node("FDT/DocumentVariables"), "DocumentVariable")) {
        variables.push_back(attributesOf(v));
        EXPECT_EQ(dom::namespaceUri(v), "x-schema:DTMDocumentationSchema.xml");
    }
    EXPECT_EQ(variables, (std::vector<Attributes>{{{"fdt:name", "Template"}, {"fdt:display", "t"}},
                                                  {{"fdt:name", "A"}, {"fdt:display", "1"}}, {{"fdt:name", "B"}, {"fdt:display", "2"}}}));
    EXPECT_EQ(doc.attribute("FDT/fdt:VersionInformation", "descriptor"), "$(PathToDeviceIcon)|$(PathToDeviceIcon)");

    fs::remove(folder.path() / "XMLData" / "DTMInformation.xml");
    EXPECT_THROW(XMLHelp(folder.path()).GetDTMInformationDoc(""), fdt::FileError);
    EXPECT_THROW(help.GetDTMInformationDoc(""), fdt::NotFoundError);
}

} // namespace
} // namespace zeb2hart::xml::test
