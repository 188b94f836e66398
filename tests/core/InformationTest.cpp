// What the frame learns of the DTM: information, functions, the controls of
// its functions and the documentation.

#include <gtest/gtest.h>

#include "core/DtmFixture.h"
#include "core/Pages.h"
#include "fdt/Errors.h"
#include "platform/ClassRegistry.h"

namespace zeb2hart::test {
namespace {

std::string functionCall(const std::string& functionId)
{
    return R"(<FDT xmlns="x-schema:FDTFunctionCallSchema.xml" xmlns:func="x-schema:FDTFunctionCallSchema.xml">)"
           R"(<FDTFunctionCall func:functionId=")" +
           functionId + R"("/></FDT>)";
}

class InformationTest : public DtmFixture {
protected:
    // The DocumentVariable elements the DTM appended after the template's own.
    std::vector<std::pair<std::string, std::string>> documentVariables(const std::string& text)
    {
        const auto document = parse(text, true);
        std::vector<std::pair<std::string, std::string>> variables;
        xmlNode* parent = document.selectSingleNode("FDT/DocumentVariables");
        EXPECT_NE(parent, nullptr);
        if (!parent)
            return variables;
        for (xmlNode* variable : platform::childElements(parent, "DocumentVariable"))
            variables.emplace_back(platform::attribute(variable, "fdt:name").value_or("<none>"),
                                   platform::attribute(variable, "fdt:display").value_or("<none>"));
        return variables;
    }

    std::size_t templateVariables()
    {
        return documentVariables(dtm->GetDocumentation(functionCall("30"))).size();
    }
};

TEST_F(InformationTest, ProgIdsOfTheThreeFunctions)
{
    ASSERT_TRUE(environment());
    openMonitor();
    const auto info = as<fdt::IDtmActiveXInformation>();
    const std::pair<const char*, const char*> cases[] = {
        {"10", "ZEB2HARTGateway.ctlOfflineParam"},
        {"30", "ZEB2HARTGateway.ctlMonitor"},
        {"50", "ZEB2HARTGateway.ctlAbout"},
        {"20", ""},
        {"", ""},
        {"010", ""},
        {"30 ", ""},
    };
    for (const auto& [id, progId] : cases) {
        EXPECT_EQ(info->GetActiveXProgId(functionCall(id)), progId) << id;
        expectLines({ok("IDtmActiveXInformation_GetActiveXProgId()")});
    }
}

TEST_F(InformationTest, ClassIdentifiersOfTheControlsAsRegistered)
{
    openMonitor();
    const auto info = as<fdt::IDtmActiveXInformation>();
    const std::pair<const char*, const char*> cases[] = {
        {"10", core::kProgIdOfflineParam}, {"30", core::kProgIdMonitor}, {"50", core::kProgIdAbout}};
    std::vector<std::string> identifiers;
    for (const auto& [id, progId] : cases) {
        const auto clsid = platform::ClassRegistry::instance().clsidOf(progId);
        ASSERT_TRUE(clsid.has_value()) << progId;
        const std::string text = info->GetActiveXGuid(functionCall(id));
        EXPECT_EQ(text, clsid->toString());
        ASSERT_EQ(text.size(), 38u);
        EXPECT_EQ(text.front(), '{');
        EXPECT_EQ(text.back(), '}');
        identifiers.push_back(text);
        expectLines({ok("IDtmActiveXInformation_GetActiveXGuid()"), ok("IDtmActiveXInformation_GetActiveXProgId()")});
    }
    EXPECT_NE(identifiers[0], identifiers[1]);
    EXPECT_NE(identifiers[1], identifiers[2]);
    EXPECT_EQ(info->GetActiveXGuid(functionCall("20")), "");
    expectLines({ok("IDtmActiveXInformation_GetActiveXGuid()"), ok("IDtmActiveXInformation_GetActiveXProgId()")});
}

TEST_F(InformationTest, ComponentClassesAreRegisteredOnceAndKeepTheirIdentifiers)
{
    auto& registry = platform::ClassRegistry::instance();
    const auto before = registry.clsidOf(core::kProgIdAbout);
    ASSERT_TRUE(before.has_value());
    core::registerComponentClasses();
    EXPECT_EQ(registry.clsidOf(core::kProgIdAbout), before);
    const auto dtmClass = registry.clsidOf(core::kProgIdDtm);
    ASSERT_TRUE(dtmClass.has_value());
    const auto created = registry.create(*dtmClass);
    ASSERT_NE(created, nullptr);
    EXPECT_NE(fdt::query<fdt::IDtm>(created), nullptr);
    EXPECT_NE(fdt::query<fdt::IFdtChannel>(created), nullptr);
}

TEST_F(InformationTest, AFunctionCallWithoutIdentifierFailsForTheProgId)
{
    EXPECT_THROW(as<fdt::IDtmActiveXInformation>()->GetActiveXProgId("<FDT><FDTFunctionCall/></FDT>"), fdt::Error);
}

TEST_F(InformationTest, DocumentationOfTheOfflineParameterFunction)
{
    ASSERT_TRUE(environment());
    const std::size_t own = templateVariables();
    struct Case {
        std::string deviceList;
        std::int16_t index;
        std::string deviceType;
    };
    const Case cases[] = {
        {"A,B,C", 0, "A"}, {"A,B,C", 1, "B"},  {"A,B,C", 2, "C"},  {"A,B,C", 3, ""},      {"A,B,C", 30, ""},
        {"", 0, ""},       {"VRA520", 0, "VRA520"}, {" A , B ,C", 1, " B "}, {"A,,C", 1, ""}, {"A,B,", 2, ""},
        {"A,B,C", -1, ""},
    };
    for (const Case& c : cases) {
        dtm->PersistentDeviceList = c.deviceList;
        dtm->PersistentDeviceTypeIndex = c.index;
        dtm->PersistentWarmstartDelay = 17;
        const auto variables = documentVariables(as<fdt::IDtmDocumentation>()->GetDocumentation(functionCall("10")));
        ASSERT_EQ(variables.size(), own + 2) << c.deviceList << " " << c.index;
        EXPECT_EQ(variables[own], std::make_pair(std::string("Device type"), c.deviceType))
            << c.deviceList << " " << c.index;
        EXPECT_EQ(variables[own + 1], std::make_pair(std::string("Warm-start delay"), std::string("17 [s]")));
    }
}

TEST_F(InformationTest, DocumentationFollowsTheLanguageAndTheDelay)
{
    const std::size_t own = templateVariables();
    dtm->PersistentWarmstartDelay = 0;
    ASSERT_TRUE(dtm->SetLanguage(1031));
    const auto variables = documentVariables(dtm->GetDocumentation(functionCall("10")));
    ASSERT_EQ(variables.size(), own + 2);
    EXPECT_EQ(variables[own].first, "Ger\xC3\xA4tetyp");
    EXPECT_EQ(variables[own + 1], std::make_pair(std::string("Warmstartverz\xC3\xB6gerung"), std::string("0 [s]")));
}

TEST_F(InformationTest, DocumentationOfOtherFunctionsHasNoEntries)
{
    const std::size_t own = templateVariables();
    for (const std::string& call : {functionCall("30"), functionCall("50"), functionCall("abc"), functionCall(""),
                                   std::string("<FDT><FDTFunctionCall/></FDT>")})
        EXPECT_EQ(documentVariables(dtm->GetDocumentation(call)).size(), own) << call;
    // The number 10 written another way is still the offline parameter function.
    EXPECT_EQ(documentVariables(dtm->GetDocumentation(functionCall("10.0"))).size(), own + 2);
}

TEST_F(InformationTest, DocumentationWithoutDictionaryHasEmptyLabels)
{
    TempComponentFolder folder;
    std::filesystem::remove(folder.path() / "XMLData" / "DTMDictionary.xml");
    TestEnvironment folderEnvironment(folder.path());
    const auto instance = core::DTMMain::create(folder.path());
    instance->PersistentWarmstartDelay = 3;
    const auto document = parse(instance->GetDocumentation(functionCall("10")));
    xmlNode* parent = document.selectSingleNode("FDT/DocumentVariables");
    ASSERT_NE(parent, nullptr);
    const auto variables = platform::childElements(parent, "DocumentVariable");
    ASSERT_GE(variables.size(), 2u);
    EXPECT_EQ(platform::attribute(variables[variables.size() - 2], "fdt:name"), "");
    EXPECT_EQ(platform::attribute(variables.back(), "fdt:name"), "");
    EXPECT_EQ(platform::attribute(variables.back(), "fdt:display"), "3 [s]");
}

TEST_F(InformationTest, FunctionsAreTranslatedIntoTheSelectedLanguage)
{
    openMonitor();
    const auto idtm = as<fdt::IDtm>();
    const std::string english = idtm->GetFunctions("");
    expectLines({ok("IDtm_GetFunctions()")});
    EXPECT_EQ(english.find("$("), std::string::npos) << english;
    EXPECT_NE(english.find("Communication monitor"), std::string::npos) << english;
    for (const char* state : {"online", "offline", "anything"})
        EXPECT_EQ(idtm->GetFunctions(state), english) << state;

    ASSERT_TRUE(idtm->SetLanguage(7));
    const std::string german = idtm->GetFunctions("");
    EXPECT_NE(german.find("Kommunikationsmonitor"), std::string::npos) << german;
    EXPECT_EQ(german.find("$("), std::string::npos);
    ASSERT_TRUE(environment());
    parse(idtm->GetFunctions(""), true);
}

TEST_F(InformationTest, FunctionsKeepTheirTagsWithoutDictionary)
{
    TempComponentFolder folder;
    std::filesystem::remove(folder.path() / "XMLData" / "DTMDictionary.xml");
    TestEnvironment folderEnvironment(folder.path());
    const auto instance = core::DTMMain::create(folder.path());
    EXPECT_NE(instance->GetFunctions("").find("$("), std::string::npos);
}

TEST_F(InformationTest, DescriptionDocumentsValidateAgainstTheSchemas)
{
    ASSERT_TRUE(environment());
    const auto information = parse(as<fdt::IDtmInformation>()->GetInformation(), true);
    EXPECT_EQ(attributeAt(information, "FDT/DtmInfo/DtmDeviceTypes/fdt:DtmDeviceType/fdt:DeviceIcon", "path"),
              (componentDir() / "Resources" / "device.ico").string());
    parse(as<fdt::IDtm>()->GetFunctions(""), true);
    parse(as<fdt::IDtmDocumentation>()->GetDocumentation(functionCall("10")), true);
    parse(as<fdt::IDtmDocumentation>()->GetDocumentation(functionCall("30")), true);
    parse(as<fdt::IDtmParameter>()->GetParameters(""), true);
    parse(as<fdt::IFdtChannel>()->GetChannelParameters("", ""), true);
}

TEST_F(InformationTest, InformationBeforeTheEnvironmentIsTheTemplateText)
{
    const std::string text = as<fdt::IDtmInformation>()->GetInformation();
    EXPECT_EQ(text.find("$(PathToDeviceIcon)"), std::string::npos);
    const auto document = parse(text);
    EXPECT_NE(document.selectSingleNode("FDT/DtmInfo/fdt:VersionInformation"), nullptr);
}

} // namespace
} // namespace zeb2hart::test
