// DTMMain as the channel the child talks to and the client the parent answers:
// the communication operations reach the gateway, and the gateway reaches the
// status and the monitor through the DTM.

#include <gtest/gtest.h>

#include "core/DtmFixture.h"

namespace zeb2hart::test {
namespace {

using support::color::Green;

const std::string kHartProtocol = "036D1498-387B-11D4-86E1-00E0987270B9";
const std::string kZebProtocol = "81684E65-6385-4690-ACCF-49995B3B4E8B";

class HubTest : public DtmFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(environment());
        ASSERT_TRUE(as<fdt::IDtm>()->SetCommunication(parent));
        dtm->CtlOfflineParamPointer(offline);
        openMonitor();
    }
    // The parent holds the DTM as its callback; releasing the communication, as
    // the frame does before it lets go, ends that cycle.
    void TearDown() override { as<fdt::IDtm>()->ReleaseCommunication(); }

    std::shared_ptr<RecordingParent> parent = std::make_shared<RecordingParent>();
    std::shared_ptr<RecordingChild> child = std::make_shared<RecordingChild>();
};

TEST_F(HubTest, ConnectThroughTheChannelAndBackSetsTheStatus)
{
    const auto channel = as<fdt::IFdtCommunication>();
    const std::string request = R"(<FDT xmlns:fdt="x-schema:FDTDataTypesSchema.xml">)"
                                R"(<ConnectRequest fdt:tag="Child1"><ShortAddress shortAddress="3"/></ConnectRequest></FDT>)";
    ASSERT_TRUE(channel->ConnectRequest(child, "invoke-1", kHartProtocol, request));
    ASSERT_EQ(parent->calls.size(), 1u);
    EXPECT_EQ(parent->calls[0].name, "ConnectRequest");
    EXPECT_EQ(parent->calls[0].args[0], "invoke-1");
    EXPECT_EQ(parent->calls[0].args[1], kZebProtocol);
    // The parent answers the DTM object itself.
    EXPECT_EQ(fdt::ObjectPtr(parent->lastCallback), fdt::ObjectPtr(dtm));
    expectLines({{"IFdtCommunication.ConnectRequest()", "", Green}});

    parent->lastCallback->OnConnectResponse(
        "invoke-1", R"(<FDT xmlns:fdt="x-schema:FDTDataTypesSchema.xml">)"
                    R"(<ConnectResponse fdt:tag="Child1" CommunicationReference="ref-7"/></FDT>)");
    ASSERT_EQ(child->calls.size(), 1u);
    EXPECT_EQ(child->calls[0].name, "OnConnectResponse");
    EXPECT_EQ(child->calls[0].args[0], "invoke-1");
    EXPECT_EQ(dtm->CommStatus(), fdt::Variant(std::int32_t{0}));
    EXPECT_EQ(dtm->StatusText(), "Connected");
    ASSERT_FALSE(offline->statuses.empty());
    EXPECT_EQ(offline->statuses.back().value, fdt::Variant(std::int32_t{0}));
    EXPECT_EQ(offline->statuses.back().text, "Connected");
    expectLines({{"IFdtCommunicationEvents_OnConnectResponse()", "", Green}});
}

TEST_F(HubTest, SupportedProtocolsAndSequencesAreTheGateways)
{
    const auto channel = as<fdt::IFdtCommunication>();
    const std::string protocols = channel->GetSupportedProtocols();
    EXPECT_EQ(protocols, dtm->XMLHelpPointer().GetSupportedProtocols());
    EXPECT_NE(protocols.find(kHartProtocol), std::string::npos);
    expectLines({ok("IFdtCommunication_GetSupportedProtocols()")});
    EXPECT_FALSE(channel->SequenceBegin(""));
    EXPECT_FALSE(channel->SequenceStart(""));
    EXPECT_FALSE(channel->SequenceEnd(""));
    channel->Abort("");
    expectLines({});
    EXPECT_TRUE(parent->calls.empty());
}

} // namespace
} // namespace zeb2hart::test
