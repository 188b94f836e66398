// DTMMain driven as a frame drives it, where the frame scripts cannot reach: the schema cache,
// failing or vanished pages, failures, destruction, the monitor's column in characters, controls
// the scripts' pages lack, the device type taken from the list, a component without dictionary.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <ranges>
#include <set>
#include <string>
#include <vector>

#include "core/ComponentData.h"
#include "core/DTMMain.h"
#include "fakes/ComponentFiles.h"
#include "fakes/DocumentCheck.h"
#include "FakeFrame.h"
#include "fakes/FakePages.h"
#include "fakes/FdtDocuments.h"
#include "FakePeers.h"
#include "fdt/Errors.h"
#include "platform/Paths.h"
#include "xml/ProtocolIds.h"

namespace zeb2hart::test {
namespace {

using Captions = std::vector<std::pair<FakeControl*, std::string>>;
using Variables = std::vector<std::pair<std::string, std::string>>;

std::string functionCall(const std::string& functionId)
{
    return R"(<FDT xmlns="x-schema:FDTFunctionCallSchema.xml" xmlns:func="x-schema:FDTFunctionCallSchema.xml">)"
           R"(<FDTFunctionCall func:functionId=")" + functionId + R"("/></FDT>)";
}

class DtmTest : public ::testing::Test {
protected:
    DtmTest() { frame->answers->xmlSchemaPath = frameSchemaDir().string(); }

    TestEnvironment env;
    std::shared_ptr<core::DTMMain> dtm = core::DTMMain::create();
    std::shared_ptr<fakes::FakeFrame> frame = std::make_shared<fakes::FakeFrame>();
    RecordingPage::Log pageLog = std::make_shared<std::vector<std::string>>();
    std::shared_ptr<RecordingMonitorPage> monitor = std::make_shared<RecordingMonitorPage>("monitor", pageLog);
    std::shared_ptr<RecordingPage> about = std::make_shared<RecordingPage>("about", pageLog);
};

TEST_F(DtmTest, EnvironmentNeedsTheContainerAndFillsTheSchemaCacheFrameFirst)
{
    EXPECT_THROW(dtm->Environment("GW1", std::make_shared<fakes::FrameWithoutContainer>()), fdt::TypeMismatchError);
    const auto withoutEvents = std::make_shared<fakes::FrameWithoutEvents>();
    EXPECT_FALSE(dtm->Environment("GW1", withoutEvents));
    EXPECT_TRUE(withoutEvents->containerCalls.empty());
    ASSERT_TRUE(dtm->Environment("GW1", frame));
    // Of the namespaces of only one folder, the frame's (0) or the own (1), the frame's come first.
    std::set<std::string> frames, own;
    for (const auto& entry : std::filesystem::directory_iterator(frameSchemaDir()))
        frames.insert("x-schema:" + entry.path().filename().string());
    for (const auto& entry : std::filesystem::directory_iterator(componentDir() / "XMLSchemas"))
        own.insert("x-schema:" + entry.path().filename().string());
    std::vector<int> origin;
    for (const auto& ns : dtm->XMLHelpPointer().Cache().namespaces())
        if (frames.contains(ns) != own.contains(ns))
            origin.push_back(own.contains(ns) ? 1 : 0);
    EXPECT_TRUE(std::ranges::is_sorted(origin));
    EXPECT_TRUE(std::ranges::count(origin, 0) > 0 && std::ranges::count(origin, 1) > 0);
    for (const auto& ns : own)
        EXPECT_TRUE(dtm->XMLHelpPointer().Cache().contains(ns)) << ns;
}

TEST_F(DtmTest, FailuresReachTheCaller)
{
    EXPECT_THROW(dtm->Config("<FDT/>"), fdt::Error);
    EXPECT_THROW(dtm->Config("not a document"), fdt::Error);
    EXPECT_THROW(dtm->InitNew("<FDT/>"), fdt::Error);
    EXPECT_THROW(dtm->GetActiveXProgId("<FDT><FDTFunctionCall/></FDT>"), fdt::Error);
    EXPECT_THROW(dtm->PersistentParamChanged("PersistentWarmstartDelay", "1"), fdt::NullObjectError);
    EXPECT_THROW(dtm->CommStatus(fdt::Variant("connected")), fdt::TypeMismatchError);
    EXPECT_THROW(dtm->CommStatus(fdt::Variant(3.0e10)), fdt::OverflowError);
    EXPECT_EQ(dtm->CommStatus(), fdt::Variant(std::int32_t{1}));
    frame->answers->xmlSchemaPath = (componentDir() / "NoSuchFolder").string();
    EXPECT_THROW(dtm->Environment("GW1", frame), fdt::FileError);
}

TEST_F(DtmTest, SetLanguageUpdatesEveryPageThatIsLeft)
{
    // A failing page does not stop the others; a released or vanished page is skipped.
    const auto failing = std::make_shared<FailingPage>();
    dtm->CtlMonitorPointer(failing);
    dtm->CtlOfflineParamPointer(monitor);
    dtm->CtlAboutPointer(about);
    EXPECT_TRUE(dtm->SetLanguage(7));
    EXPECT_EQ(*pageLog, (std::vector<std::string>{"monitor", "about"}));
    dtm->CtlOfflineParamPointer(nullptr);
    about.reset();
    EXPECT_TRUE(dtm->SetLanguage(9));
    EXPECT_EQ(failing->attempts, 2);
    EXPECT_EQ(pageLog->size(), 2u);
}

TEST_F(DtmTest, LastOutsideReferenceDestroysTheObjectAndItsTimer)
{
    std::weak_ptr<core::DTMMain> alive = dtm;
    ASSERT_TRUE(dtm->Environment("GW1", frame));
    dtm->CtlMonitorPointer(monitor);
    const auto channels = dtm->GetChannels();
    ASSERT_EQ(channels->Item("HARTChannel1"), fdt::ObjectPtr(dtm));
    EXPECT_THROW(channels->Item(0), fdt::NotFoundError);
    dtm->gateway().timeoutTimer().Interval(1000);
    dtm->gateway().timeoutTimer().Enabled(true);
    ASSERT_EQ(env.loop().pendingTimers(), 1u);
    // Neither the registered pages nor the channel list keep it alive.
    dtm.reset();
    EXPECT_TRUE(alive.expired());
    EXPECT_EQ(channels->Item(1), nullptr);
    EXPECT_EQ(env.loop().pendingTimers(), 0u);
}

TEST_F(DtmTest, NameColumnCountsCharactersNotBytes)
{
    dtm->PersistentFDTInterfaceFilter = true;
    dtm->CtlMonitorPointer(monitor);
    const std::string a49(49, 'a');
    for (const auto& [name, column] : Variables{{a49 + "\xC3\xA4", a49 + "\xC3\xA4"}, // exactly 50 characters
                                                {a49 + "\xC3\xA4\xC3\xB6", a49 + "\xC3\xA4"},
                                                {"\xC3\x9C" "ber", "\xC3\x9C" "ber" + std::string(46, ' ')}}) {
        dtm->MonitorMsg(name, "msg", 0, 2);
        ASSERT_FALSE(monitor->lines.empty());
        EXPECT_EQ(monitor->lines.back().first, column + "- msg");
    }
    EXPECT_EQ(monitor->lines.size(), 3u);
}

TEST_F(DtmTest, TranslateControlsSetsCaptionsFromTheDictionary)
{
    FakeControl clear("btnClear"), unknown("lblUnknown"), panel("MonitorBack", std::nullopt, false), unnamed(""),
        unreadable("chkFDTInterface"), arrayMember("btnClear", 0); // ctlMonitor_btnClear_0 has no entry
    unreadable.nameFails = true;
    dtm->TranslateControls("ctlMonitor_", {&clear, nullptr, &unknown, &panel, &unnamed, &unreadable, &arrayMember});
    const std::string design = "design caption";
    for (const auto& [control, caption] : Captions{{&clear, "Clear"}, {&unknown, ""}, {&panel, design},
                                                   {&unnamed, design}, {&unreadable, design}, {&arrayMember, ""}})
        EXPECT_EQ(control->caption, caption);

    // An array member's index is appended to its name.
    TempComponentFolder folder;
    folder.write("XMLData/DTMDictionary.xml", R"(<Dictionary><Language localeId="0009" isDefault="1">
<Category name="keys"><page_lbl_0 text="zero"/><page_lbl_12 text="twelve"/><page_lbl text="plain"/></Category>
</Language></Dictionary>)");
    TestEnvironment folderEnvironment(folder.path());
    FakeControl zero("lbl", 0), twelve("lbl", 12), plain("lbl"), three("lbl", 3);
    core::DTMMain::create(folder.path())->TranslateControls("page_", {&zero, &twelve, &plain, &three});
    for (const auto& [control, caption] :
         Captions{{&zero, "zero"}, {&twelve, "twelve"}, {&plain, "plain"}, {&three, ""}})
        EXPECT_EQ(control->caption, caption);
}

// The name and display text of each DocumentVariable of the documentation of `functionId`.
Variables documentation(core::DTMMain& dtm, const std::string& functionId)
{
    Variables variables;
    const Document document(dtm.GetDocumentation(functionCall(functionId)));
    for (xmlNode* variable : dom::childElements(document.node("FDT/DocumentVariables"), "DocumentVariable"))
        variables.emplace_back(dom::attribute(variable, "fdt:name").value_or("<none>"),
                               dom::attribute(variable, "fdt:display").value_or("<none>"));
    return variables;
}

// The functions a frame may start, each "functionId userInterface", from the function list.
std::vector<std::string> listedFunctions(core::DTMMain& dtm)
{
    std::vector<std::string> listed;
    const Document document(dtm.GetFunctions(""));
    for (xmlNode* function : dom::childElements(document.node("FDT/DtmFunctions/StandardFunctions"), "Function"))
        listed.push_back(dom::attribute(function, "functionId").value_or("<none>") + " " +
                         dom::attribute(function, "userInterface").value_or("<none>"));
    return listed;
}

TEST_F(DtmTest, AHostWithoutPagesIsOfferedNoPageFunction)
{
    ASSERT_TRUE(dtm->Environment("GW1", frame));
    const std::vector<std::string> pages{"10 ActiveX", "30 ActiveX", "50 ActiveX"};
    EXPECT_EQ(listedFunctions(*dtm), pages);
    EXPECT_EQ(dtm->GetActiveXProgId(functionCall("30")), core::kProgIdMonitor);
    dtm->offerPages(false);
    EXPECT_EQ(listedFunctions(*dtm), std::vector<std::string>{});
    for (const char* id : {"10", "30", "50"})
        EXPECT_EQ(dtm->GetActiveXProgId(functionCall(id)), "") << id;
    dtm->offerPages(true);
    EXPECT_EQ(listedFunctions(*dtm), pages);
}

TEST_F(DtmTest, TheDocumentedDeviceTypeIsTheNameAtTheIndex)
{
    // Only the function 10, however written, documents the device type and the delay.
    for (const char* id : {"", "010", "30 ", "abc"})
        EXPECT_EQ(dtm->GetActiveXProgId(functionCall(id)), "") << id;
    EXPECT_EQ(documentation(*dtm, "10.0"), documentation(*dtm, "10"));
    for (const char* id : {"", "abc", "50"})
        EXPECT_EQ(documentation(*dtm, id), documentation(*dtm, "30")) << id;
    // The list's edge cases are DeviceListTest's; here the name at the index, and none beyond.
    const std::tuple<std::string, std::int16_t, std::string> cases[] = {
        {"A, B ,C", 1, " B "}, {"A,B,C", 3, ""}, {"A,B,C", -1, ""}};
    const Variables own = documentation(*dtm, "30");
    dtm->PersistentWarmstartDelay = 17;
    for (const auto& [list, index, deviceType] : cases) {
        dtm->PersistentDeviceList = list;
        dtm->PersistentDeviceTypeIndex = index;
        Variables expected = own;
        expected.insert(expected.end(), {{"Device type", deviceType}, {"Warm-start delay", "17 [s]"}});
        EXPECT_EQ(documentation(*dtm, "10"), expected) << list << " " << index;
    }
}

// The one split of the device list, which the offline page, DTMMain and the frame window use.
TEST(DeviceListTest, SplitsAtEachCommaKeepingBlanksAndEmptyNamesButNoTrailingOne)
{
    using Names = std::vector<std::string>;
    const std::pair<std::string, Names> lists[] = {
        {"", {}},        {",", {""}},           {"A", {"A"}},       {"A,,B", {"A", "", "B"}},
        {",A", {"", "A"}}, {"A, B,", {"A", " B"}}, {"A,B,,", {"A", "B", ""}}, {" A ", {" A "}}};
    for (const auto& [list, names] : lists) {
        EXPECT_EQ(core::splitDeviceList(list), names) << '"' << list << '"';
        for (int index = -1; index <= static_cast<int>(names.size()); ++index) {
            const bool inside = index >= 0 && index < static_cast<int>(names.size());
            EXPECT_EQ(core::deviceAt(list, index),
                      inside ? std::optional(names[static_cast<std::size_t>(index)]) : std::nullopt)
                << '"' << list << "\" " << index;
        }
    }
}

// Component and frame folders named with letters beyond ASCII: the settings,
// templates, schemas and dictionary are found there, and the trace is written there.
TEST(DtmInANonAsciiFolder, FindsItsFilesAndWritesItsTrace)
{
    TempComponentFolder folder("Ger\xC3\xA4t");
    const auto frameSchemas = folder.root() / platform::pathFromUtf8("Rahmen-\xC3\xA4\xC3\xB6\xC3\xBC");
    std::filesystem::copy(frameSchemaDir(), frameSchemas);
    folder.write("Resources/DTM.ini", iniWith(folder.path(), "TimeCritical", "Trace", "ExternalFile"));
    support::ResetTraceMode();
    TestEnvironment env(folder.path());
    const auto dtm = core::DTMMain::create(folder.path());
    const auto frame = std::make_shared<fakes::FakeFrame>();
    frame->answers->xmlSchemaPath = platform::utf8Of(frameSchemas);
    ASSERT_TRUE(dtm->Environment("GW1", frame));
    EXPECT_TRUE(dtm->XMLHelpPointer().Cache().contains("x-schema:FDTHARTCommunicationSchema.xml")); // the frame's
    EXPECT_TRUE(dtm->XMLHelpPointer().Cache().contains("x-schema:ZEBCommunicationSchema.xml"));     // the own
    dtm->InitNewProperties();
    EXPECT_EQ(dtm->PersistentDeviceList, "VRA520,VRA510,VRA540");
    EXPECT_EQ(dtm->PersistentManufacturerIDCode, "14002.32");
    EXPECT_NE(dtm->GetInformation(), "");
    EXPECT_EQ(dtm->GetFunctions("").find("$("), std::string::npos); // every text tag translated
    const auto parent = std::make_shared<fakes::FakeParent>();
    const auto child = std::make_shared<fakes::FakeChild>();
    ASSERT_TRUE(dtm->SetCommunication(parent));
    EXPECT_TRUE(dtm->ConnectRequest(child, "connect-1", xml::kHartProtocolId,
                                    hartDocument(R"(<ConnectRequest fdt:tag="C"><ShortAddress shortAddress="0"/></ConnectRequest>)")));
    ASSERT_EQ(parent->calls.size(), 1u);
    EXPECT_NE(parent->calls[0].document.find("ConnectRequest"), std::string::npos);
    EXPECT_NE(dtm->GetParameters(""), "");
    EXPECT_EQ(traceEntries(folder.path()), (std::vector<std::string>{"IDtmParameter_GetParameters: entry"}));
    support::ResetTraceMode();
}

TEST(DtmWithoutDictionaryTest, TextsAreEmptyAndTagsStay)
{
    TempComponentFolder folder;
    std::filesystem::remove(folder.path() / "XMLData" / "DTMDictionary.xml");
    TestEnvironment environment(folder.path());
    const auto dtm = core::DTMMain::create(folder.path());
    EXPECT_EQ(dtm->StatusText(), "");
    EXPECT_EQ(dtm->GetDictionaryText("msg_Disconnected"), "");
    EXPECT_FALSE(dtm->SetLanguage(1031));
    EXPECT_NE(dtm->GetFunctions("").find("$("), std::string::npos);
    dtm->PersistentWarmstartDelay = 3;
    const Variables variables = documentation(*dtm, "10");
    ASSERT_GE(variables.size(), 2u);
    EXPECT_EQ(Variables(variables.end() - 2, variables.end()), (Variables{{"", "VRA520"}, {"", "3 [s]"}}));
}

} // namespace
} // namespace zeb2hart::test
