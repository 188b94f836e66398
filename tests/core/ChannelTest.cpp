// The HART channel: its listing, path and parameter documents, the DTM's
// parameters, the one-child topology and the frame events.

#include <gtest/gtest.h>

#include "core/ChannelCollection.h"
#include "core/DtmFixture.h"
#include "fdt/Errors.h"

namespace zeb2hart::test {
namespace {

using ChannelTest = DtmFixture;

TEST_F(ChannelTest, TheChannelListHoldsTheObjectItself)
{
    openMonitor();
    const auto channels = as<fdt::IDtmChannel>()->GetChannels();
    expectLines({ok("IDtmChannel_GetChannels()")});
    ASSERT_NE(channels, nullptr);
    ASSERT_EQ(channels->Count(), 1);
    const auto byPosition = fdt::query<fdt::IFdtChannel>(channels->Item(1));
    ASSERT_NE(byPosition, nullptr);
    EXPECT_EQ(byPosition, fdt::query<fdt::IFdtChannel>(channels->Item("HARTChannel1")));
    EXPECT_EQ(channels->Item(1), fdt::ObjectPtr(dtm));
    EXPECT_THROW(channels->Item(0), fdt::NotFoundError);
    EXPECT_THROW(channels->Item(2), fdt::NotFoundError);
    EXPECT_THROW(channels->Item("HARTChannel2"), fdt::NotFoundError);
    EXPECT_EQ(as<fdt::IDtmChannel>()->GetChannels(), channels);
}

TEST(ChannelCollectionTest, ItemsInInsertionOrderWithoutOwnership)
{
    core::ChannelCollection collection;
    auto first = std::make_shared<PlainObject>();
    auto second = std::make_shared<PlainObject>();
    collection.Add("one", first);
    collection.Add("two", second);
    EXPECT_EQ(collection.Count(), 2);
    EXPECT_EQ(collection.Item(1), first);
    EXPECT_EQ(collection.Item(2), second);
    EXPECT_EQ(collection.Item("two"), second);
    EXPECT_THROW(collection.Item("One"), fdt::NotFoundError);
    second.reset();
    EXPECT_EQ(collection.Item(2), nullptr);
    EXPECT_EQ(collection.Count(), 2);
}

TEST_F(ChannelTest, ChannelPathAndParametersCarryTagIdentifierAndVersion)
{
    openMonitor();
    const auto channel = as<fdt::IFdtChannel>();
    EXPECT_EQ(channel->GetChannelPath(), "/AD46AA4C-4366-4C7E-9C4D-0562F001308B");
    dtm->InitNewProperties();
    EXPECT_EQ(channel->GetChannelPath(), "/HARTChannel1");
    ASSERT_TRUE(environment("GW1"));
    monitor->lines.clear();
    EXPECT_EQ(channel->GetChannelPath(), "GW1/HARTChannel1");
    expectLines({ok("IFdtChannel_GetChannelPath()")});

    const std::string text = channel->GetChannelParameters("any/path", "any protocol");
    expectLines({ok("IFdtChannel_GetChannelParameters(...)")});
    const auto document = validated(text);
    document.expect("FDT/FDTBasicChannel", {{"fdt:tag", "GW1"}, {"fdt:id", "HARTChannel1"}});
    const Document information(as<fdt::IDtmInformation>()->GetInformation());
    for (const char* attribute : {"name", "vendor", "version", "date"}) {
        const auto expected = information.attr("FDT/DtmInfo/fdt:VersionInformation", attribute);
        ASSERT_TRUE(expected) << attribute;
        EXPECT_EQ(document.attr("FDT/FDTChannelType/fdt:VersionInformation", attribute), expected) << attribute;
    }
    EXPECT_EQ(channel->GetChannelParameters("", ""), text);
}

TEST_F(ChannelTest, SettingParametersScanAndFrameEventsChangeNothing)
{
    ASSERT_TRUE(environment("GW1"));
    openMonitor();
    const auto channel = as<fdt::IFdtChannel>();
    const auto parameters = as<fdt::IDtmParameter>();
    const std::string channelBefore = channel->GetChannelParameters("", "");
    const std::string dtmBefore = parameters->GetParameters("");
    monitor->lines.clear();

    EXPECT_TRUE(channel->SetChannelParameters("p", "protocol", "<FDT/>"));
    EXPECT_TRUE(channel->SetChannelParameters("", "", "not a document"));
    expectLines({ok("FdtChannel_SetChannelParameters(...)"), ok("FdtChannel_SetChannelParameters(...)")});
    EXPECT_TRUE(parameters->SetParameters("p", "<FDT/>"));
    EXPECT_TRUE(parameters->SetParameters("", ""));
    EXPECT_FALSE(as<fdt::IFdtChannelSubTopology>()->ScanRequest("scan-1"));
    const auto events = as<fdt::IFdtEvents>();
    events->OnChildParameterChanged("Child1");
    events->OnParameterChanged("GW1", "<FDT/>");
    events->OnLockDataSet("GW1", "user");
    EXPECT_TRUE(events->OnUnlockDataSet("GW1", "user"));
    EXPECT_TRUE(events->OnUnlockDataSet("", ""));
    expectLines({});
    EXPECT_TRUE(frame->events.empty());
    EXPECT_EQ(dtm->childSystemTag(), "");
    EXPECT_EQ(channel->GetChannelParameters("", ""), channelBefore);
    EXPECT_EQ(parameters->GetParameters("other"), dtmBefore);
    EXPECT_EQ(channel->GetChannelPath(), "GW1/AD46AA4C-4366-4C7E-9C4D-0562F001308B");
}

TEST(ChannelTraceTest, GetParametersTracesItsEntryAndWritesNoMonitorLine)
{
    TracingComponent tracing;
    const auto dtm = core::DTMMain::create(tracing.folder.path());
    const auto monitor = std::make_shared<RecordingMonitorPage>();
    dtm->PersistentFDTInterfaceFilter = true;
    dtm->CtlMonitorPointer(monitor);
    EXPECT_FALSE(dtm->GetParameters("").empty());
    EXPECT_EQ(tracing.entries(), (std::vector<std::string>{"IDtmParameter_GetParameters: entry"}));
    EXPECT_TRUE(monitor->lines.empty());
}

TEST_F(ChannelTest, OneChildAtATime)
{
    openMonitor();
    const auto topology = as<fdt::IFdtChannelSubTopology>();
    struct Step { std::string operation, tag; bool answer /* of a Validate step */; std::string child; };
    const Step steps[] = {
        {"ValidateAdd", "Child1", true, ""},         {"Add", "Child1", false, "Child1"},
        {"ValidateAdd", "Child2", false, "Child1"},  {"ValidateAdd", "Child1", false, "Child1"},
        {"ValidateRemove", "Other", true, "Child1"}, {"Remove", "Other", true, ""},
        {"ValidateAdd", "Child2", true, ""},         {"Add", "", true, ""},
        {"Add", "Child2", false, "Child2"},          {"Add", "Child3", false, "Child3"},
        {"ValidateRemove", "", true, "Child3"},      {"Remove", "", true, ""},
        {"Remove", "Child3", true, ""},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.operation + " " + step.tag);
        if (step.operation == "ValidateAdd")
            EXPECT_EQ(topology->ValidateAddChild(step.tag), step.answer);
        else if (step.operation == "ValidateRemove")
            EXPECT_EQ(topology->ValidateRemoveChild(step.tag), step.answer);
        else if (step.operation == "Add")
            topology->OnAddChild(step.tag);
        else
            topology->OnRemoveChild(step.tag);
        EXPECT_EQ(dtm->childSystemTag(), step.child);
        // A second child is refused exactly while one is attached.
        EXPECT_EQ(topology->ValidateAddChild("probe"), step.child.empty());
    }
    expectLines({});
}

} // namespace
} // namespace zeb2hart::test
