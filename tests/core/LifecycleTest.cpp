// DTMMain's construction, its IDtm lifecycle operations state by state, the
// language switch and its destruction, driven as a frame drives them.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <ranges>
#include <set>

#include "core/DtmFixture.h"
#include "fdt/Errors.h"

namespace zeb2hart::test {
namespace {

using support::color::Green;
using support::color::Red;

std::string userInfo(const std::string& level)
{
    return R"(<FDT xmlns="x-schema:FDTUserInformationSchema.xml"><FDTUserInformation userLevel=")" + level +
           R"(" userName="tester"/></FDT>)";
}

std::string deviceType(const std::string& name, const std::string& busCategory)
{
    return R"(<FDT xmlns="x-schema:DTMDeviceTypeSchema.xml" xmlns:fdt="x-schema:FDTDataTypesSchema.xml">)"
           R"(<fdt:DtmDeviceType><fdt:VersionInformation name=")" +
           name + R"(" vendor="v" version="1" date="2004-01-01"/><fdt:BusCategories><fdt:BusCategory busCategory=")" +
           busCategory + R"("/></fdt:BusCategories></fdt:DtmDeviceType></FDT>)";
}

using LifecycleTest = DtmFixture;

TEST_F(LifecycleTest, ConstructionSetsPathsStatusAndNoEnvironment)
{
    EXPECT_EQ(dtm->componentFolder(), componentDir());
    EXPECT_EQ(dtm->xmlSchemaPath(), (componentDir() / "XMLSchemas").string());
    EXPECT_EQ(dtm->iniFile(), (componentDir() / "Resources" / "DTM.ini").string());
    EXPECT_EQ(dtm->CommStatus(), fdt::Variant(std::int32_t{1}));
    EXPECT_EQ(dtm->StatusText(), "Disconnected");
    EXPECT_EQ(dtm->systemTag() + dtm->childSystemTag(), "");
    EXPECT_FALSE(dtm->GetFramePointer() || dtm->OnInitControl() || dtm->gateway().communicator().ZEBDriverInterface());
    EXPECT_EQ(dtm->dictionary().GetIdOfLanguage(dtm->dictionary().GetSelectedLanguage()), 9);

    // Without a folder the installed component folder is taken.
    TempComponentFolder other;
    TestEnvironment otherEnvironment(other.path());
    const auto instance = core::DTMMain::create();
    EXPECT_EQ(instance->componentFolder(), other.path());
    EXPECT_EQ(instance->xmlSchemaPath(), (other.path() / "XMLSchemas").string());
}

TEST_F(LifecycleTest, TooLargeTraceFileIsDeletedAtConstruction)
{
    // The limits themselves are checked with CheckTraceFileSize; here the folder's settings reach it.
    for (const auto& [size, kept] : {std::pair{2000001, false}, std::pair{2000000, true}}) {
        TempComponentFolder folder;
        folder.write("Resources/DTM.ini", iniWith(folder.path(), "TimeCritical", "TraceFileSizeInMB", "2"));
        const auto traceFile = folder.path() / "TraceInfoFile.txt";
        std::ofstream(traceFile, std::ios::binary).close();
        std::filesystem::resize_file(traceFile, static_cast<std::uintmax_t>(size));
        TestEnvironment folderEnvironment(folder.path());
        core::DTMMain::create(folder.path());
        EXPECT_EQ(std::filesystem::exists(traceFile), kept) << size;
    }
}

TEST_F(LifecycleTest, EnvironmentIsAcceptedOnceWithTagContainerAndFrameEvents)
{
    openMonitor();
    const auto idtm = as<fdt::IDtm>();
    frame->schemaPath = frameSchemaDir().string();
    // Without the marker interface the call fails first, even with an empty tag; without
    // the container interface it fails too.
    const fdt::ObjectPtr withoutMarker[] = {std::make_shared<FrameWithoutMarker>(), std::make_shared<PlainObject>()};
    for (const auto& container : withoutMarker) {
        EXPECT_THROW(idtm->Environment("GW1", container), fdt::TypeMismatchError);
        EXPECT_THROW(idtm->Environment("", container), fdt::TypeMismatchError);
    }
    EXPECT_THROW(idtm->Environment("GW1", std::make_shared<FrameWithoutContainer>()), fdt::TypeMismatchError);
    expectLines({});

    const auto withoutEvents = std::make_shared<FrameWithoutEvents>();
    EXPECT_FALSE(idtm->Environment("", frame));
    EXPECT_FALSE(idtm->Environment("GW1", nullptr));
    EXPECT_FALSE(idtm->Environment("GW1", withoutEvents));
    EXPECT_EQ(dtm->systemTag(), "");
    EXPECT_EQ(dtm->GetFramePointer(), nullptr);
    EXPECT_TRUE(frame->containerCalls.empty());
    EXPECT_TRUE(withoutEvents->containerCalls.empty());
    expectLines({denied("IDtm_Environment()"), denied("IDtm_Environment()"), denied("IDtm_Environment()")});

    EXPECT_TRUE(idtm->Environment("GW1", frame));
    EXPECT_EQ(dtm->systemTag(), "GW1");
    EXPECT_EQ(dtm->GetFramePointer(), frame);
    EXPECT_EQ(dtm->OnInitControl(), frame);
    EXPECT_EQ(frame->containerCalls, (std::vector<Call>{{"GetXmlSchemaPath", {}}}));
    expectLines({ok("IDtm_Environment()")});

    const auto secondFrame = std::make_shared<RecordingFrame>();
    EXPECT_FALSE(idtm->Environment("GW2", secondFrame));
    EXPECT_FALSE(idtm->Environment("GW1", frame));
    EXPECT_EQ(dtm->systemTag(), "GW1");
    EXPECT_EQ(dtm->GetFramePointer(), frame);
    EXPECT_TRUE(secondFrame->containerCalls.empty());
    expectLines({denied("IDtm_Environment()"), denied("IDtm_Environment()")});
}

TEST_F(LifecycleTest, EnvironmentFillsTheSchemaCacheFrameFirst)
{
    ASSERT_TRUE(environment());
    const auto namespaces = dtm->XMLHelpPointer().Cache().namespaces();
    const auto namespacesIn = [](const std::filesystem::path& folder) {
        std::set<std::string> result;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            result.insert("x-schema:" + entry.path().filename().string());
        return result;
    };
    const auto frameNamespaces = namespacesIn(frameSchemaDir());
    const auto ownNamespaces = namespacesIn(componentDir() / "XMLSchemas");
    ASSERT_FALSE(frameNamespaces.empty());
    ASSERT_FALSE(ownNamespaces.empty());
    // Every frame schema comes before the component's own: the namespaces of only one
    // of the two folders, the frame's (0) or the own (1), are in ascending order.
    std::vector<int> origin;
    for (const auto& ns : namespaces)
        if (frameNamespaces.contains(ns) != ownNamespaces.contains(ns))
            origin.push_back(ownNamespaces.contains(ns) ? 1 : 0);
    EXPECT_TRUE(std::ranges::is_sorted(origin));
    for (const auto& ns : ownNamespaces)
        EXPECT_TRUE(dtm->XMLHelpPointer().Cache().contains(ns)) << ns;

    // A missing frame schema folder fails.
    const auto other = core::DTMMain::create();
    frame->schemaPath = (componentDir() / "NoSuchFolder").string();
    EXPECT_THROW(other->Environment("GW1", frame), fdt::FileError);
}

TEST_F(LifecycleTest, ReleaseOperationsBeforeAndAfterEnvironment)
{
    openMonitor();
    const auto idtm = as<fdt::IDtm>();
    EXPECT_FALSE(idtm->PrepareToRelease());
    EXPECT_FALSE(idtm->PrepareToDelete());
    EXPECT_FALSE(idtm->PrepareToReleaseCommunication());
    EXPECT_TRUE(frame->events.empty());
    expectLines({denied("IDtm_PrepareToRelease()"), denied("IDtm_PrepareToDelete()"),
                 denied("IDtm.PrepareToReleaseCommunication()")});

    ASSERT_TRUE(environment());
    monitor->lines.clear();
    EXPECT_TRUE(idtm->PrepareToRelease());
    EXPECT_TRUE(idtm->PrepareToDelete());
    EXPECT_TRUE(idtm->PrepareToReleaseCommunication());
    EXPECT_EQ(frame->events, (std::vector<Call>{{"OnPreparedToRelease", {"GW1"}},
                                                {"OnPreparedToRelease", {"GW1"}},
                                                {"OnPreparedToReleaseCommunication", {"GW1"}}}));
    expectLines({ok("IDtm_PrepareToRelease()"), ok("IDtm_PrepareToDelete()"),
                 ok("IDtm.PrepareToReleaseCommunication()")});
}

TEST_F(LifecycleTest, SetCommunicationAndReleaseCommunication)
{
    openMonitor();
    const auto idtm = as<fdt::IDtm>();
    const auto parent = std::make_shared<RecordingParent>();
    const auto otherParent = std::make_shared<RecordingParent>();
    auto& communicator = dtm->gateway().communicator();
    const ExpectedLine begin = {"IDtm.SetCommunication()", "Methodenanfang", Green};

    EXPECT_TRUE(idtm->SetCommunication(parent));
    EXPECT_EQ(communicator.ZEBDriverInterface(), parent);
    EXPECT_TRUE(idtm->SetCommunication(otherParent));
    EXPECT_EQ(communicator.ZEBDriverInterface(), otherParent);
    expectLines({begin, ok("IDtm.SetCommunication()"), begin, ok("IDtm.SetCommunication()")});

    EXPECT_FALSE(idtm->SetCommunication(nullptr));
    EXPECT_EQ(communicator.ZEBDriverInterface(), nullptr);
    expectLines({begin, {"IDtm.SetCommunication()", "Communication Pointer is Nothing", Red}});

    EXPECT_TRUE(idtm->SetCommunication(parent));
    ASSERT_TRUE(environment());
    monitor->lines.clear();
    // Preparing keeps the parent; releasing drops it.
    EXPECT_TRUE(idtm->PrepareToReleaseCommunication());
    EXPECT_EQ(communicator.ZEBDriverInterface(), parent);
    EXPECT_TRUE(idtm->ReleaseCommunication());
    EXPECT_EQ(communicator.ZEBDriverInterface(), nullptr);
    EXPECT_TRUE(idtm->ReleaseCommunication());
    expectLines({ok("IDtm.PrepareToReleaseCommunication()"), ok("IDtm.ReleaseCommunication()"),
                 ok("IDtm.ReleaseCommunication()")});
    EXPECT_TRUE(parent->calls.empty());
}

TEST_F(LifecycleTest, ConfigAcceptsTheFourUserLevelsCaseSensitively)
{
    openMonitor();
    const auto idtm = as<fdt::IDtm>();
    const std::pair<const char*, bool> cases[] = {
        {"observer", true},   {"operator", true},      {"maintenance", true},      {"planningEngineer", true},
        {"Operator", false},  {"OPERATOR", false},     {"planningengineer", false}, {"", false},
        {"operator ", false}, {"administrator", false},
    };
    // Before the environment the documents are read as they are, after it validated.
    for (const bool validated : {false, true}) {
        if (validated) {
            ASSERT_TRUE(environment());
        }
        monitor->lines.clear();
        for (const auto& [level, accepted] : cases) {
            SCOPED_TRACE(std::string(level) + (validated ? " validated" : ""));
            EXPECT_EQ(idtm->Config(userInfo(level)), accepted);
            expectLines({accepted ? ok("IDtm_Config()") : denied("IDtm_Config()")});
        }
        // Without user information the call fails.
        EXPECT_THROW(idtm->Config("<FDT/>"), fdt::Error);
        EXPECT_THROW(idtm->Config("not a document"), fdt::Error);
    }
    // Not valid against the user information schema: the document loads empty
    // and its user level cannot be read.
    EXPECT_THROW(idtm->Config(R"(<FDT xmlns="x-schema:FDTUserInformationSchema.xml"><FDTUserInformation/></FDT>)"),
                 fdt::Error);
    expectLines({});
}

TEST_F(LifecycleTest, InitNewChecksTheDeviceTypeAfterItsLine)
{
    openMonitor();
    const auto idtm = as<fdt::IDtm>();
    const std::pair<std::string, bool> cases[] = {
        {deviceType("ZEB to HART Gateway", "00000000-0000-0000-0000-000000000000"), true},
        {deviceType("Other", "81684E65-6385-4690-ACCF-49995B3B4E8B"), true},
        {deviceType("zeb to hart gateway", "81684e65-6385-4690-accf-49995b3b4e8b"), false},
        {deviceType("Other", "036D1498-387B-11D4-86E1-00E0987270B9"), false},
    };
    for (const bool validated : {false, true}) {
        if (validated) {
            ASSERT_TRUE(environment());
        }
        monitor->lines.clear();
        for (const auto& [document, accepted] : cases) {
            SCOPED_TRACE(document + (validated ? " validated" : ""));
            EXPECT_EQ(idtm->InitNew(document), accepted);
            expectLines({ok("IDtm_InitNew()")});
        }
    }
    // The line comes before the check, even when the check fails.
    EXPECT_THROW(idtm->InitNew("<FDT/>"), fdt::Error);
    expectLines({ok("IDtm_InitNew()")});
}

TEST_F(LifecycleTest, PrivateDialogAndInvokeFunctionRequest)
{
    // All of these write FDT interface lines only.
    openMonitor(true, true, false);
    const auto idtm = as<fdt::IDtm>();
    EXPECT_TRUE(idtm->PrivateDialogEnabled(true));
    EXPECT_TRUE(idtm->PrivateDialogEnabled(false));
    EXPECT_FALSE(idtm->InvokeFunctionRequest("1", "<FDT/>"));
    ASSERT_TRUE(environment());
    idtm->PrivateDialogEnabled(true);
    idtm->InvokeFunctionRequest("1", "");
    idtm->SetLanguage(9);
    idtm->PrepareToRelease();
    EXPECT_TRUE(monitor->lines.empty());

    openMonitor();
    EXPECT_FALSE(idtm->InvokeFunctionRequest("2", ""));
    expectLines({denied("IDtm_InvokeFunctionRequest()")});
    EXPECT_EQ(frame->events, (std::vector<Call>{{"OnPreparedToRelease", {"GW1"}}}));
}

class SetLanguageTest : public DtmFixture {
protected:
    void SetUp() override
    {
        openMonitor();
        dtm->CtlOfflineParamPointer(offline);
        dtm->CtlAboutPointer(about);
    }
    const std::vector<std::string> allPages = {"monitor", "offline", "about"};
};

TEST_F(SetLanguageTest, TheLanguageAndThePagesItUpdates)
{
    // The same language touches no page; an unknown one keeps the selection and still updates
    // them all; another language of the dictionary is selected and updates them in order.
    const std::tuple<std::int32_t, bool, bool, const char*> cases[] = {
        {9, true, false, "Connected"},     {1033, true, false, "Connected"},   {2057, true, false, "Connected"},
        {9 + 5 * 1024, true, false, "Connected"}, {1036, false, true, "Connected"}, {12, false, true, "Connected"},
        {-1031, false, true, "Connected"}, {-9, false, true, "Connected"},     {1031, true, true, "Verbunden"},
    };
    for (const auto& [id, result, pagesUpdated, connected] : cases) {
        SCOPED_TRACE(id);
        pageLog->clear();
        EXPECT_EQ(as<fdt::IDtm>()->SetLanguage(id), result);
        EXPECT_EQ(*pageLog, pagesUpdated ? allPages : std::vector<std::string>{});
        EXPECT_EQ(dtm->GetDictionaryText("msg_Connected"), connected);
        expectLines({ok("IDtm_SetLanguage()")});
    }
}

TEST_F(SetLanguageTest, ReleasedVanishedOrFailingPagesDoNotStopTheOthers)
{
    const auto failing = std::make_shared<FailingPage>();
    dtm->CtlMonitorPointer(failing);
    dtm->CtlOfflineParamPointer(nullptr);
    EXPECT_TRUE(as<fdt::IDtm>()->SetLanguage(7));
    EXPECT_EQ(failing->attempts, 1);
    EXPECT_EQ(*pageLog, std::vector<std::string>{"about"});

    about.reset();
    EXPECT_TRUE(as<fdt::IDtm>()->SetLanguage(9));
    EXPECT_EQ(failing->attempts, 2);
    EXPECT_EQ(*pageLog, std::vector<std::string>{"about"});
}

TEST(SetLanguageTraceTest, TracesBeginAndAFalseResult)
{
    TracingComponent tracing;
    const auto dtm = core::DTMMain::create(tracing.folder.path());
    EXPECT_TRUE(dtm->SetLanguage(1031));
    EXPECT_FALSE(dtm->SetLanguage(1036));
    EXPECT_TRUE(dtm->SetLanguage(7));
    EXPECT_EQ(tracing.entries(), (std::vector<std::string>{"IDtm_SetLanguage: Begin", "IDtm_SetLanguage: Begin",
                                                           "IDtm_SetLanguage: Return Value is FALSE",
                                                           "IDtm_SetLanguage: Begin"}));
    const std::string text = readFile(tracing.folder.path() / "TraceInfoFile.txt");
    EXPECT_EQ(text.substr(0, 45), "2026-12-06 14:05:09 ZEBAdapter: IDtm_SetLangu");
}

TEST_F(LifecycleTest, LastOutsideReferenceDestroysTheObjectAndItsHelpers)
{
    std::weak_ptr<core::DTMMain> alive = dtm;
    ASSERT_TRUE(environment());
    openMonitor();
    dtm->CtlOfflineParamPointer(offline);
    dtm->CtlAboutPointer(about);
    const auto parent = std::make_shared<RecordingParent>();
    EXPECT_TRUE(as<fdt::IDtm>()->SetCommunication(parent));
    const auto channels = as<fdt::IDtmChannel>()->GetChannels();
    ASSERT_EQ(channels->Count(), 1);
    ASSERT_NE(channels->Item(1), nullptr);

    // While the object lives, the armed timer sends the broadcast telegram to the parent.
    auto& timer = dtm->gateway().timeoutTimer();
    timer.Interval(1000);
    timer.Enabled(true);
    ASSERT_EQ(env.loop().pendingTimers(), 1u);
    env.loop().advance(std::chrono::milliseconds(1000));
    ASSERT_EQ(summary(parent->calls), std::vector<std::string>{"TransactionRequest " + dtm->gateway().ZebInvokeId()});
    parent->calls.clear();
    timer.Interval(1000);
    timer.Enabled(true);

    // Neither the registered pages nor the parent keep it alive.
    dtm.reset();
    EXPECT_TRUE(alive.expired());
    // The channel list the frame still holds no longer reaches the object.
    EXPECT_EQ(channels->Item(1), nullptr);
    EXPECT_EQ(channels->Item("HARTChannel1"), nullptr);
    // The gateway's timer went with it.
    EXPECT_EQ(env.loop().pendingTimers(), 0u);
    env.loop().advance(std::chrono::seconds(5));
    EXPECT_TRUE(parent->calls.empty());
    EXPECT_TRUE(frame->events.empty());
}

} // namespace
} // namespace zeb2hart::test
