// DTMMain's construction, its IDtm lifecycle operations state by state, the
// language switch and its destruction, driven as a frame drives them.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

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
           R"(<fdt:DtmDeviceType>)"
           R"(<fdt:VersionInformation name=")" +
           name + R"(" vendor="v" version="1" date="2004-01-01"/>)"
                  R"(<fdt:BusCategories><fdt:BusCategory busCategory=")" +
           busCategory + R"("/></fdt:BusCategories></fdt:DtmDeviceType></FDT>)";
}

class LifecycleTest : public DtmFixture {};

TEST_F(LifecycleTest, ConstructionSetsPathsStatusAndNoEnvironment)
{
    EXPECT_EQ(dtm->componentFolder(), componentDir());
    EXPECT_EQ(dtm->xmlSchemaPath(), (componentDir() / "XMLSchemas").string());
    EXPECT_EQ(dtm->iniFile(), (componentDir() / "Resources" / "DTM.ini").string());
    EXPECT_EQ(dtm->CommStatus(), fdt::Variant(std::int32_t{1}));
    EXPECT_EQ(dtm->StatusText(), "Disconnected");
    EXPECT_EQ(dtm->systemTag(), "");
    EXPECT_EQ(dtm->childSystemTag(), "");
    EXPECT_EQ(dtm->GetFramePointer(), nullptr);
    EXPECT_EQ(dtm->OnInitControl(), nullptr);
    EXPECT_EQ(dtm->gateway().communicator().ZEBDriverInterface(), nullptr);
    EXPECT_EQ(dtm->dictionary().GetIdOfLanguage(dtm->dictionary().GetSelectedLanguage()), 9);
}

TEST_F(LifecycleTest, CreateUsesTheInstalledComponentFolder)
{
    TempComponentFolder other;
    TestEnvironment otherEnvironment(other.path());
    const auto instance = core::DTMMain::create();
    EXPECT_EQ(instance->componentFolder(), other.path());
    EXPECT_EQ(instance->xmlSchemaPath(), (other.path() / "XMLSchemas").string());
}

TEST_F(LifecycleTest, MissingDictionaryLeavesTheObjectUsableWithoutTexts)
{
    TempComponentFolder folder;
    std::filesystem::remove(folder.path() / "XMLData" / "DTMDictionary.xml");
    TestEnvironment folderEnvironment(folder.path());
    const auto instance = core::DTMMain::create(folder.path());
    EXPECT_EQ(instance->StatusText(), "");
    EXPECT_EQ(instance->GetDictionaryText("msg_Disconnected"), "");
    EXPECT_FALSE(instance->SetLanguage(1031));
    EXPECT_TRUE(instance->PrivateDialogEnabled(true));
}

TEST_F(LifecycleTest, TraceFileSizeCheckAtConstruction)
{
    struct Case {
        const char* limitInMegabytes;
        std::uintmax_t fileSize;
        bool kept;
    };
    const Case cases[] = {
        {"2", 2000001, false}, {"2", 2000000, true}, {"0", 1, false},  {"0", 0, true},
        {"", 1, false},        {"abc", 1, false},    {"5000", 2000001, true},
    };
    for (const Case& c : cases) {
        TempComponentFolder folder;
        folder.write("Resources/DTM.ini", iniWith(folder.path(), "TimeCritical", "TraceFileSizeInMB", c.limitInMegabytes));
        const auto traceFile = folder.path() / "TraceInfoFile.txt";
        std::ofstream(traceFile, std::ios::binary).close();
        std::filesystem::resize_file(traceFile, c.fileSize);
        TestEnvironment folderEnvironment(folder.path());
        core::DTMMain::create(folder.path());
        EXPECT_EQ(std::filesystem::exists(traceFile), c.kept) << c.limitInMegabytes << " MB, " << c.fileSize;
    }
}

TEST_F(LifecycleTest, EnvironmentIsAcceptedOnceWithTagContainerAndFrameEvents)
{
    openMonitor();
    const auto idtm = as<fdt::IDtm>();
    frame->schemaPath = frameSchemaDir().string();
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

TEST_F(LifecycleTest, EnvironmentWithoutTheMarkerInterfaceIsATypeMismatch)
{
    openMonitor();
    const auto idtm = as<fdt::IDtm>();
    const fdt::ObjectPtr containers[] = {std::make_shared<FrameWithoutMarker>(), std::make_shared<PlainObject>()};
    for (const auto& container : containers) {
        EXPECT_THROW(idtm->Environment("GW1", container), fdt::TypeMismatchError);
        // Checked before anything else: even an empty tag does not get its "denied".
        EXPECT_THROW(idtm->Environment("", container), fdt::TypeMismatchError);
    }
    EXPECT_EQ(dtm->systemTag(), "");
    EXPECT_EQ(dtm->GetFramePointer(), nullptr);
    expectLines({});
    EXPECT_TRUE(environment());
}

TEST_F(LifecycleTest, EnvironmentWithoutTheContainerInterfaceIsATypeMismatch)
{
    const auto idtm = as<fdt::IDtm>();
    EXPECT_THROW(idtm->Environment("GW1", std::make_shared<FrameWithoutContainer>()), fdt::TypeMismatchError);
    EXPECT_EQ(dtm->systemTag(), "");
    EXPECT_TRUE(environment());
}

TEST_F(LifecycleTest, EnvironmentFillsTheSchemaCacheFrameFirst)
{
    ASSERT_TRUE(environment());
    const auto namespaces = dtm->XMLHelpPointer().Cache().namespaces();
    std::vector<std::string> frameNamespaces;
    std::vector<std::string> ownNamespaces;
    for (const auto& entry : std::filesystem::directory_iterator(frameSchemaDir()))
        frameNamespaces.push_back("x-schema:" + entry.path().filename().string());
    for (const auto& entry : std::filesystem::directory_iterator(componentDir() / "XMLSchemas"))
        ownNamespaces.push_back("x-schema:" + entry.path().filename().string());
    ASSERT_FALSE(frameNamespaces.empty());
    ASSERT_FALSE(ownNamespaces.empty());
    // Every frame schema comes before the component's own.
    std::size_t lastFrame = 0;
    std::size_t firstOwn = namespaces.size();
    for (std::size_t i = 0; i < namespaces.size(); ++i) {
        const bool isFrame = std::find(frameNamespaces.begin(), frameNamespaces.end(), namespaces[i]) !=
                             frameNamespaces.end();
        const bool isOwn =
            std::find(ownNamespaces.begin(), ownNamespaces.end(), namespaces[i]) != ownNamespaces.end();
        if (isFrame && !isOwn)
            lastFrame = i;
        if (isOwn && !isFrame)
            firstOwn = std::min(firstOwn, i);
    }
    EXPECT_LT(lastFrame, firstOwn);
    for (const auto& ns : ownNamespaces)
        EXPECT_TRUE(dtm->XMLHelpPointer().Cache().contains(ns)) << ns;
}

TEST_F(LifecycleTest, EnvironmentWithAMissingFrameSchemaFolderFails)
{
    frame->schemaPath = (componentDir() / "NoSuchFolder").string();
    EXPECT_THROW(as<fdt::IDtm>()->Environment("GW1", frame), fdt::FileError);
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

    EXPECT_TRUE(idtm->SetCommunication(parent));
    EXPECT_EQ(communicator.ZEBDriverInterface(), parent);
    EXPECT_TRUE(idtm->SetCommunication(otherParent));
    EXPECT_EQ(communicator.ZEBDriverInterface(), otherParent);
    expectLines({{"IDtm.SetCommunication()", "Methodenanfang", Green}, ok("IDtm.SetCommunication()"),
                 {"IDtm.SetCommunication()", "Methodenanfang", Green}, ok("IDtm.SetCommunication()")});

    EXPECT_FALSE(idtm->SetCommunication(nullptr));
    EXPECT_EQ(communicator.ZEBDriverInterface(), nullptr);
    expectLines({{"IDtm.SetCommunication()", "Methodenanfang", Green},
                 {"IDtm.SetCommunication()", "Communication Pointer is Nothing", Red}});

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
        {"observer", true},  {"operator", true},  {"maintenance", true}, {"planningEngineer", true},
        {"Operator", false}, {"OPERATOR", false}, {"planningengineer", false}, {"", false},
        {"operator ", false}, {"administrator", false},
    };
    for (const auto& [level, accepted] : cases) {
        EXPECT_EQ(idtm->Config(userInfo(level)), accepted) << level;
        expectLines({accepted ? ok("IDtm_Config()") : denied("IDtm_Config()")});
    }
}

TEST_F(LifecycleTest, ConfigAfterTheEnvironmentReadsValidatedDocuments)
{
    ASSERT_TRUE(environment());
    openMonitor();
    const auto idtm = as<fdt::IDtm>();
    EXPECT_TRUE(idtm->Config(userInfo("maintenance")));
    EXPECT_FALSE(idtm->Config(userInfo("Maintenance")));
    expectLines({ok("IDtm_Config()"), denied("IDtm_Config()")});
    // Not valid against the user information schema: the document loads empty
    // and its user level cannot be read.
    EXPECT_THROW(idtm->Config(R"(<FDT xmlns="x-schema:FDTUserInformationSchema.xml"><FDTUserInformation/></FDT>)"),
                 fdt::Error);
    expectLines({});
}

TEST_F(LifecycleTest, ConfigOfADocumentWithoutUserInformationFails)
{
    EXPECT_THROW(as<fdt::IDtm>()->Config("<FDT/>"), fdt::Error);
    EXPECT_THROW(as<fdt::IDtm>()->Config("not a document"), fdt::Error);
}

TEST_F(LifecycleTest, InitNewChecksTheDeviceTypeAfterItsLine)
{
    openMonitor();
    const auto idtm = as<fdt::IDtm>();
    struct Case {
        std::string document;
        bool accepted;
    };
    const Case cases[] = {
        {deviceType("ZEB to HART Gateway", "00000000-0000-0000-0000-000000000000"), true},
        {deviceType("Other", "81684E65-6385-4690-ACCF-49995B3B4E8B"), true},
        {deviceType("zeb to hart gateway", "81684e65-6385-4690-accf-49995b3b4e8b"), false},
        {deviceType("Other", "036D1498-387B-11D4-86E1-00E0987270B9"), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(idtm->InitNew(c.document), c.accepted) << c.document;
        expectLines({ok("IDtm_InitNew()")});
    }
    ASSERT_TRUE(environment());
    monitor->lines.clear();
    for (const Case& c : cases)
        EXPECT_EQ(idtm->InitNew(c.document), c.accepted) << "validated: " << c.document;
    monitor->lines.clear();
    // The line comes before the check, even when the check fails.
    EXPECT_THROW(idtm->InitNew("<FDT/>"), fdt::Error);
    expectLines({ok("IDtm_InitNew()")});
}

TEST_F(LifecycleTest, PrivateDialogAndInvokeFunctionRequest)
{
    openMonitor();
    const auto idtm = as<fdt::IDtm>();
    EXPECT_TRUE(idtm->PrivateDialogEnabled(true));
    EXPECT_TRUE(idtm->PrivateDialogEnabled(false));
    EXPECT_FALSE(idtm->InvokeFunctionRequest("1", "<FDT/>"));
    ASSERT_TRUE(environment());
    monitor->lines.clear();
    EXPECT_FALSE(idtm->InvokeFunctionRequest("2", ""));
    expectLines({denied("IDtm_InvokeFunctionRequest()")});
    EXPECT_TRUE(frame->events.empty());
}

TEST_F(LifecycleTest, LifecycleOperationsWriteOnlyFdtInterfaceLines)
{
    openMonitor(true, true, false);
    const auto idtm = as<fdt::IDtm>();
    ASSERT_TRUE(environment());
    idtm->PrivateDialogEnabled(true);
    idtm->InvokeFunctionRequest("1", "");
    idtm->SetLanguage(9);
    idtm->PrepareToRelease();
    EXPECT_TRUE(monitor->lines.empty());
}

class SetLanguageTest : public DtmFixture {
protected:
    void SetUp() override
    {
        openMonitor();
        dtm->CtlOfflineParamPointer(offline);
        dtm->CtlAboutPointer(about);
    }
    std::string statusText() { return dtm->GetDictionaryText("msg_Connected"); }
};

TEST_F(SetLanguageTest, SwitchToAnotherDictionaryLanguageUpdatesThePagesInOrder)
{
    EXPECT_TRUE(as<fdt::IDtm>()->SetLanguage(1031));
    EXPECT_EQ(statusText(), "Verbunden");
    EXPECT_EQ(*pageLog, (std::vector<std::string>{"monitor", "offline", "about"}));
    expectLines({ok("IDtm_SetLanguage()")});
}

TEST_F(SetLanguageTest, SameLanguageTouchesNoPage)
{
    const std::int32_t sameLanguage[] = {9, 1033, 2057, 9 + 5 * 1024};
    for (std::int32_t id : sameLanguage) {
        EXPECT_TRUE(as<fdt::IDtm>()->SetLanguage(id)) << id;
        expectLines({ok("IDtm_SetLanguage()")});
    }
    EXPECT_TRUE(pageLog->empty());
    EXPECT_EQ(statusText(), "Connected");
}

TEST_F(SetLanguageTest, UnknownLanguageKeepsTheSelectionAndStillUpdatesThePages)
{
    const std::int32_t unknown[] = {1036, 12, -1031, -9};
    for (std::int32_t id : unknown) {
        pageLog->clear();
        EXPECT_FALSE(as<fdt::IDtm>()->SetLanguage(id)) << id;
        EXPECT_EQ(*pageLog, (std::vector<std::string>{"monitor", "offline", "about"})) << id;
        EXPECT_EQ(statusText(), "Connected");
        expectLines({ok("IDtm_SetLanguage()")});
    }
}

TEST_F(SetLanguageTest, ReleasedOrVanishedPagesAreNotUpdated)
{
    dtm->CtlOfflineParamPointer(nullptr);
    about.reset();
    EXPECT_TRUE(as<fdt::IDtm>()->SetLanguage(7));
    EXPECT_EQ(*pageLog, (std::vector<std::string>{"monitor"}));
}

TEST_F(SetLanguageTest, AFailingPageDoesNotStopTheOthers)
{
    const auto failing = std::make_shared<FailingPage>();
    dtm->CtlMonitorPointer(failing);
    EXPECT_TRUE(as<fdt::IDtm>()->SetLanguage(7));
    EXPECT_EQ(failing->attempts, 1);
    EXPECT_EQ(*pageLog, (std::vector<std::string>{"offline", "about"}));
}

TEST(SetLanguageTraceTest, TracesBeginAndAFalseResult)
{
    TracingComponent tracing;
    const auto dtm = core::DTMMain::create(tracing.folder.path());
    EXPECT_TRUE(dtm->SetLanguage(1031));
    EXPECT_FALSE(dtm->SetLanguage(1036));
    EXPECT_TRUE(dtm->SetLanguage(7));
    EXPECT_EQ(tracing.entries(), (std::vector<std::string>{
                                     "IDtm_SetLanguage: Begin",
                                     "IDtm_SetLanguage: Begin",
                                     "IDtm_SetLanguage: Return Value is FALSE",
                                     "IDtm_SetLanguage: Begin",
                                 }));
    const std::string text = readFile(tracing.folder.path() / "TraceInfoFile.txt");
    EXPECT_EQ(text.substr(0, 45), "2026-12-06 14:05:09 ZEBAdapter: IDtm_SetLangu");
}

TEST_F(LifecycleTest, LastOutsideReferenceDestroysTheObjectAndItsHelpers)
{
    std::weak_ptr<core::DTMMain> alive = dtm;
    ASSERT_TRUE(environment());
    const auto parent = std::make_shared<RecordingParent>();
    EXPECT_TRUE(as<fdt::IDtm>()->SetCommunication(parent));
    const auto channels = as<fdt::IDtmChannel>()->GetChannels();
    ASSERT_EQ(channels->Count(), 1);
    ASSERT_NE(channels->Item(1), nullptr);

    auto& timer = dtm->gateway().timeoutTimer();
    timer.Interval(1000);
    timer.Enabled(true);
    ASSERT_EQ(env.loop().pendingTimers(), 1u);

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

// The counterpart of the test above: while the object lives, the armed timer
// sends the broadcast telegram to the parent.
TEST_F(LifecycleTest, TheGatewayTimerFiresWhileTheObjectLives)
{
    const auto parent = std::make_shared<RecordingParent>();
    ASSERT_TRUE(as<fdt::IDtm>()->SetCommunication(parent));
    dtm->gateway().timeoutTimer().Interval(1000);
    dtm->gateway().timeoutTimer().Enabled(true);
    env.loop().advance(std::chrono::seconds(5));
    ASSERT_EQ(parent->calls.size(), 1u);
    EXPECT_EQ(parent->calls[0].name, "TransactionRequest");
}

TEST_F(LifecycleTest, RegisteredPagesDoNotKeepTheObjectAlive)
{
    std::weak_ptr<core::DTMMain> alive = dtm;
    openMonitor();
    dtm->CtlOfflineParamPointer(offline);
    dtm->CtlAboutPointer(about);
    dtm.reset();
    EXPECT_TRUE(alive.expired());
}

} // namespace
} // namespace zeb2hart::test
