// What the frame learns of the DTM: information, functions, the controls of
// its functions and the documentation.

#include <gtest/gtest.h>

#include <set>

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

using Variables = std::vector<std::pair<std::string, std::string>>;

// The name and display text of each DocumentVariable of a documentation.
Variables documentVariables(const Document& document)
{
    Variables variables;
    xmlNode* parent = document.node("FDT/DocumentVariables");
    EXPECT_NE(parent, nullptr);
    for (xmlNode* variable : parent ? dom::childElements(parent, "DocumentVariable") : std::vector<xmlNode*>{})
        variables.emplace_back(dom::attribute(variable, "fdt:name").value_or("<none>"),
                               dom::attribute(variable, "fdt:display").value_or("<none>"));
    return variables;
}

class InformationTest : public DtmFixture {
protected:
    Variables documentation(const std::string& call)
    {
        return documentVariables(validated(dtm->GetDocumentation(call)));
    }
    // The template's own variables, before those the DTM appends.
    std::size_t templateVariables() { return documentation(functionCall("30")).size(); }
};

TEST_F(InformationTest, ProgIdsOfTheThreeFunctions)
{
    ASSERT_TRUE(environment());
    openMonitor();
    const auto info = as<fdt::IDtmActiveXInformation>();
    const std::pair<const char*, const char*> cases[] = {
        {"10", "ZEB2HARTGateway.ctlOfflineParam"}, {"30", "ZEB2HARTGateway.ctlMonitor"},
        {"50", "ZEB2HARTGateway.ctlAbout"},        {"20", ""}, {"", ""}, {"010", ""}, {"30 ", ""},
    };
    for (const auto& [id, progId] : cases) {
        EXPECT_EQ(info->GetActiveXProgId(functionCall(id)), progId) << id;
        expectLines({ok("IDtmActiveXInformation_GetActiveXProgId()")});
    }
    // A function call without identifier fails.
    EXPECT_THROW(info->GetActiveXProgId("<FDT><FDTFunctionCall/></FDT>"), fdt::Error);
}

TEST_F(InformationTest, ClassIdentifiersOfTheControlsAsRegistered)
{
    openMonitor();
    const auto info = as<fdt::IDtmActiveXInformation>();
    const std::pair<const char*, const char*> cases[] = {
        {"10", core::kProgIdOfflineParam}, {"30", core::kProgIdMonitor}, {"50", core::kProgIdAbout}, {"20", nullptr}};
    std::set<std::string> identifiers;
    for (const auto& [id, progId] : cases) {
        SCOPED_TRACE(id);
        const std::string text = info->GetActiveXGuid(functionCall(id));
        expectLines({ok("IDtmActiveXInformation_GetActiveXGuid()"), ok("IDtmActiveXInformation_GetActiveXProgId()")});
        if (!progId) {
            EXPECT_EQ(text, "");
            continue;
        }
        const auto clsid = platform::ClassRegistry::instance().clsidOf(progId);
        ASSERT_TRUE(clsid.has_value());
        EXPECT_EQ(text, clsid->toString());
        ASSERT_EQ(text.size(), 38u);
        EXPECT_EQ(text.front(), '{');
        EXPECT_EQ(text.back(), '}');
        identifiers.insert(text);
    }
    EXPECT_EQ(identifiers.size(), 3u);
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
        SCOPED_TRACE(c.deviceList + " " + std::to_string(c.index));
        dtm->PersistentDeviceList = c.deviceList;
        dtm->PersistentDeviceTypeIndex = c.index;
        dtm->PersistentWarmstartDelay = 17;
        const auto variables = documentation(functionCall("10"));
        ASSERT_EQ(variables.size(), own + 2);
        EXPECT_EQ(variables[own], std::make_pair(std::string("Device type"), c.deviceType));
        EXPECT_EQ(variables[own + 1], std::make_pair(std::string("Warm-start delay"), std::string("17 [s]")));
    }
}

TEST_F(InformationTest, DocumentationFollowsTheLanguageAndTheDelay)
{
    const std::size_t own = templateVariables();
    dtm->PersistentWarmstartDelay = 0;
    ASSERT_TRUE(dtm->SetLanguage(1031));
    const auto variables = documentation(functionCall("10"));
    ASSERT_EQ(variables.size(), own + 2);
    EXPECT_EQ(variables[own].first, "Ger\xC3\xA4tetyp");
    EXPECT_EQ(variables[own + 1], std::make_pair(std::string("Warmstartverz\xC3\xB6gerung"), std::string("0 [s]")));
}

TEST_F(InformationTest, DocumentationOfOtherFunctionsHasNoEntries)
{
    const std::size_t own = templateVariables();
    for (const std::string& call : {functionCall("30"), functionCall("50"), functionCall("abc"), functionCall(""),
                                   std::string("<FDT><FDTFunctionCall/></FDT>")})
        EXPECT_EQ(documentation(call).size(), own) << call;
    // The number 10 written another way is still the offline parameter function.
    EXPECT_EQ(documentation(functionCall("10.0")).size(), own + 2);
}

TEST_F(InformationTest, WithoutDictionaryTextsAreEmptyAndTagsStay)
{
    TempComponentFolder folder;
    std::filesystem::remove(folder.path() / "XMLData" / "DTMDictionary.xml");
    TestEnvironment folderEnvironment(folder.path());
    const auto instance = core::DTMMain::create(folder.path());
    EXPECT_EQ(instance->StatusText(), "");
    EXPECT_EQ(instance->GetDictionaryText("msg_Disconnected"), "");
    EXPECT_FALSE(instance->SetLanguage(1031));
    EXPECT_TRUE(instance->PrivateDialogEnabled(true));
    EXPECT_NE(instance->GetFunctions("").find("$("), std::string::npos);
    // The documentation has empty labels.
    instance->PersistentWarmstartDelay = 3;
    const auto variables = documentVariables(Document(instance->GetDocumentation(functionCall("10"))));
    ASSERT_GE(variables.size(), 2u);
    EXPECT_EQ(variables[variables.size() - 2].first, "");
    EXPECT_EQ(variables.back(), std::make_pair(std::string(), std::string("3 [s]")));
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
}

TEST_F(InformationTest, DescriptionDocumentsValidateAgainstTheSchemas)
{
    // Before the environment the information is the template's text, its tags replaced.
    const std::string before = as<fdt::IDtmInformation>()->GetInformation();
    EXPECT_EQ(before.find("$(PathToDeviceIcon)"), std::string::npos);
    EXPECT_TRUE(Document(before).has("FDT/DtmInfo/fdt:VersionInformation"));

    ASSERT_TRUE(environment());
    validated(as<fdt::IDtmInformation>()->GetInformation())
        .expect("FDT/DtmInfo/DtmDeviceTypes/fdt:DtmDeviceType/fdt:DeviceIcon",
                {{"path", (componentDir() / "Resources" / "device.ico").string()}});
    validated(as<fdt::IDtm>()->GetFunctions(""));
    ASSERT_TRUE(as<fdt::IDtm>()->SetLanguage(7));
    validated(as<fdt::IDtm>()->GetFunctions(""));
    validated(as<fdt::IDtmDocumentation>()->GetDocumentation(functionCall("10")));
    validated(as<fdt::IDtmDocumentation>()->GetDocumentation(functionCall("30")));
    validated(as<fdt::IDtmParameter>()->GetParameters(""));
    validated(as<fdt::IFdtChannel>()->GetChannelParameters("", ""));
}

} // namespace
} // namespace zeb2hart::test
