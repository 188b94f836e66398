// The simulated ZEB communication DTM where scripts do not reach it: what it
// refuses, and that a gateway error coming back to it stops nothing. What it
// answers is checked by the frame scripts (simulated.jsonl).

#include <gtest/gtest.h>

#include "fakes/TestEnvironment.h"
#include "gateway/HartGateway.h"
#include "peers/ZebCommunicationDtm.h"
#include "platform/ManualEventLoop.h"

namespace zeb2hart::frame {
namespace {

// Records what the simulated parent sends back; throws from one answer when told.
class RecordingGateway final : public fdt::IFdtCommunicationEvents {
public:
    void OnAbort(const std::string& reference) override { calls.push_back("OnAbort " + reference); }
    void OnConnectResponse(const std::string& id, const std::string&) override { calls.push_back("connected " + id); }
    void OnDisconnectResponse(const std::string& id, const std::string&) override { calls.push_back("disconnected " + id); }
    void OnTransactionResponse(const std::string& id, const std::string&) override
    {
        if (std::exchange(failNext, false))
            throw std::runtime_error("handler failed");
        calls.push_back("answered " + id);
    }
    std::vector<std::string> calls;
    bool failNext = false;
};

class ZebCommunicationDtmTest : public ::testing::Test {
protected:
    bool connect() { return parent->ConnectRequest(gateway, "c1", gateway::kZebProtocolId, documents.hartConnectRequest("TAG", 0)); }

    // A read of object 14002.32 as the gateway asks for it.
    const std::string read = "<FDT xmlns=\"x-schema:ZEBCommunicationSchema.xml\"><DataExchangeRequest CommunicationReference=\"R\" "
                             "Control=\"0\"><CommunicationHeader MessageType=\"5\" ObjectType=\"2\" NoOfBytes=\"4\" "
                             "SubNo=\"33\" ObjectNo=\"14002\"/></DataExchangeRequest></FDT>";
    test::TestEnvironment environment;
    std::shared_ptr<platform::ManualEventLoop> loop = std::make_shared<platform::ManualEventLoop>();
    PeerDocuments documents{test::componentDir(), test::frameSchemaDir()};
    std::shared_ptr<RecordingGateway> gateway = std::make_shared<RecordingGateway>();
    std::shared_ptr<ZebCommunicationDtm> parent = std::make_shared<ZebCommunicationDtm>(
        ZebDeviceModel::load(std::filesystem::path(ZEB2HART_FRAME_DIR) / "Devices" / "VRA520.json"), loop, documents);
};

TEST_F(ZebCommunicationDtmTest, RefusesWhatAParentRefuses)
{
    EXPECT_FALSE(parent->TransactionRequest("r0", read)); // not connected
    EXPECT_FALSE(parent->ConnectRequest(gateway, "c1", gateway::kHartProtocolId, ""));
    EXPECT_FALSE(parent->ConnectRequest(nullptr, "c1", gateway::kZebProtocolId, ""));
    EXPECT_FALSE(parent->DisconnectRequest("d1", ""));
    loop->runPending();
    EXPECT_TRUE(gateway->calls.empty());
}

TEST_F(ZebCommunicationDtmTest, AGatewayErrorComesBackToTheParentAndStopsNothing)
{
    ASSERT_TRUE(connect());
    gateway->failNext = true;
    ASSERT_TRUE(parent->TransactionRequest("x", read));
    ASSERT_TRUE(parent->TransactionRequest("y", read));
    loop->runPending();
    EXPECT_EQ(parent->errorsReturned(), 1u);
    EXPECT_EQ(parent->lastError(), "handler failed");
    EXPECT_EQ(gateway->calls, (std::vector<std::string>{"connected c1", "answered y"}));
}

TEST_F(ZebCommunicationDtmTest, AnAbortEndsTheConnection)
{
    ASSERT_TRUE(connect());
    EXPECT_TRUE(parent->connected());
    parent->abortConnection();
    loop->runPending();
    EXPECT_EQ(gateway->calls.back(), "OnAbort ZEB-VRA520-0001");
    EXPECT_FALSE(parent->connected());
}

} // namespace
} // namespace zeb2hart::frame
