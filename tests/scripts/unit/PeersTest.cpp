// The simulated peers: the ZEB communication DTM answers through the event loop
// only after the request call returned; the HART device DTM decodes what it gets.

#include <gtest/gtest.h>

#include "Demo.h"
#include "HartDeviceDtm.h"
#include "ZebCommunicationDtm.h"
#include "fakes/TestEnvironment.h"
#include "gateway/HartGateway.h"
#include "platform/ManualEventLoop.h"
#include "support/Monitor.h"

namespace zeb2hart::frame {
namespace {

// Records what the simulated parent sends back.
class RecordingGateway final : public fdt::IFdtCommunicationEvents {
public:
    struct Call {
        std::string op, invokeId, document;
    };
    void OnAbort(const std::string& reference) override { calls.push_back({"OnAbort", "", reference}); }
    void OnConnectResponse(const std::string& id, const std::string& doc) override
    {
        calls.push_back({"OnConnectResponse", id, doc});
    }
    void OnDisconnectResponse(const std::string& id, const std::string& doc) override
    {
        calls.push_back({"OnDisconnectResponse", id, doc});
    }
    void OnTransactionResponse(const std::string& id, const std::string& doc) override
    {
        if (failNext) {
            failNext = false;
            throw std::runtime_error("handler failed");
        }
        calls.push_back({"OnTransactionResponse", id, doc});
    }
    std::vector<Call> calls;
    bool failNext = false;
};

class SimulatedParentTest : public ::testing::Test {
protected:
    SimulatedParentTest()
    {
        parent = std::make_shared<ZebCommunicationDtm>(
            ZebDeviceModel::load(std::filesystem::path(ZEB2HART_FRAME_DIR) / "Devices" / "VRA520.json"), loop,
            documents);
    }

    bool connect() { return parent->ConnectRequest(gateway, "c1", gateway::kZebProtocolId, documents.hartConnectRequest("TAG", 0)); }

    std::string request(long object, int sub, int messageType, const std::string& data = "",
                        const std::string& special = "")
    {
        std::string text = "<FDT xmlns=\"x-schema:ZEBCommunicationSchema.xml\"><DataExchangeRequest CommunicationReference=\"R\" "
                           "Control=\"0\"";
        if (!special.empty())
            text += " SpecialFunction=\"" + special + "\"";
        text += "><CommunicationHeader MessageType=\"" + std::to_string(messageType) + "\" ObjectType=\"2\" NoOfBytes=\"" +
                std::to_string(data.size() / 2 + 4) + "\" SubNo=\"" + std::to_string(sub) + "\" ObjectNo=\"" +
                std::to_string(object) + "\"" + (data.empty() ? "" : " CommunicationData=\"" + data + "\"") +
                "/></DataExchangeRequest></FDT>";
        return text;
    }

    std::string answerAttribute(const std::string& path, const std::string& name)
    {
        return documents.attribute(gateway->calls.back().document, path, name).value_or("<none>");
    }

    test::TestEnvironment environment;
    std::shared_ptr<platform::ManualEventLoop> loop = std::make_shared<platform::ManualEventLoop>();
    PeerDocuments documents{test::componentDir(), test::frameSchemaDir()};
    std::shared_ptr<RecordingGateway> gateway = std::make_shared<RecordingGateway>();
    std::shared_ptr<ZebCommunicationDtm> parent;
};

TEST_F(SimulatedParentTest, AnswersOnlyAfterTheRequestReturned)
{
    ASSERT_TRUE(connect());
    EXPECT_TRUE(gateway->calls.empty());
    loop->runPending();
    ASSERT_EQ(gateway->calls.size(), 1u);
    EXPECT_EQ(gateway->calls[0].op, "OnConnectResponse");
    EXPECT_EQ(gateway->calls[0].invokeId, "c1");
    EXPECT_EQ(answerAttribute("FDT/ConnectResponse", "CommunicationReference"), "ZEB-VRA520-0001");
    EXPECT_EQ(answerAttribute("FDT/ConnectResponse", "fdt:tag"), "TAG");

    ASSERT_TRUE(parent->TransactionRequest("r1", request(14002, 33, 5)));
    EXPECT_EQ(gateway->calls.size(), 1u);
    loop->runPending();
    ASSERT_EQ(gateway->calls.size(), 2u);
    EXPECT_EQ(gateway->calls[1].invokeId, "r1");
    EXPECT_EQ(answerAttribute("FDT/DataExchangeResponse", "Status"), "0");
    EXPECT_EQ(answerAttribute("FDT/DataExchangeResponse/CommunicationHeader", "ObjectNo"), "14002");
    EXPECT_EQ(answerAttribute("FDT/DataExchangeResponse/CommunicationHeader", "SubNo"), "33");
    EXPECT_EQ(answerAttribute("FDT/DataExchangeResponse/CommunicationHeader", "NoOfBytes"), "5");
    EXPECT_EQ(answerAttribute("FDT/DataExchangeResponse/CommunicationHeader", "CommunicationData"), "61");
}

TEST_F(SimulatedParentTest, RefusesWhatAParentRefuses)
{
    EXPECT_FALSE(parent->TransactionRequest("r0", request(14002, 33, 5))); // not connected
    EXPECT_FALSE(parent->ConnectRequest(gateway, "c1", gateway::kHartProtocolId, ""));
    EXPECT_FALSE(parent->ConnectRequest(nullptr, "c1", gateway::kZebProtocolId, ""));
    EXPECT_FALSE(parent->DisconnectRequest("d1", ""));
    loop->runPending();
    EXPECT_TRUE(gateway->calls.empty());
}

TEST_F(SimulatedParentTest, AnswersEachKindOfRequestFromTheModel)
{
    ASSERT_TRUE(connect());
    struct Case {
        const char* what;
        std::string request;
        std::string status;
        std::string data;
    };
    const std::vector<Case> cases = {
        {"broadcast", request(32768, 0, 7), "0", ""},
        {"delayed read", request(0, 0, 5, "", "ReadDelayedResponse"), "0", "0000000100"},
        {"unknown object", request(1, 1, 5), "130", ""},
        {"busy object", request(20481, 1, 5), "130", ""},
        {"write", request(20480, 2, 5, "0A0B"), "0", ""},
        {"read back", request(20480, 2, 5), "0", "0A0B"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(parent->TransactionRequest(c.what, c.request));
        loop->runPending();
        ASSERT_EQ(gateway->calls.back().invokeId, c.what);
        EXPECT_EQ(answerAttribute("FDT/DataExchangeResponse", "Status"), c.status);
        EXPECT_EQ(answerAttribute("FDT/DataExchangeResponse/CommunicationHeader", "CommunicationData"), c.data);
    }
}

TEST_F(SimulatedParentTest, AnswerModesSwitchTheDevice)
{
    ASSERT_TRUE(connect());
    loop->runPending();
    parent->model().answerMode = answerModeFromJson(nlohmann::ordered_json{{"error", "timeout"}, {"zebActive", false}});
    ASSERT_TRUE(parent->TransactionRequest("e", request(14002, 33, 5)));
    loop->runPending();
    EXPECT_EQ(answerAttribute("FDT/ZebCommError", "ZebcommError"), "timeout");
    EXPECT_EQ(answerAttribute("FDT/ZebCommError", "ZebActive"), "False");
    EXPECT_EQ(answerAttribute("FDT/ZebCommError", "fdt:tag"), "TAG");

    parent->model().answerMode.kind = ZebAnswerMode::Kind::Silent;
    const auto before = gateway->calls.size();
    EXPECT_TRUE(parent->TransactionRequest("s", request(14002, 33, 5)));
    loop->runPending();
    EXPECT_EQ(gateway->calls.size(), before);

    parent->model().answerMode.kind = ZebAnswerMode::Kind::Refuse;
    EXPECT_FALSE(parent->TransactionRequest("f", request(14002, 33, 5)));
}

TEST_F(SimulatedParentTest, AGatewayErrorComesBackToTheParentAndStopsNothing)
{
    ASSERT_TRUE(connect());
    loop->runPending();
    gateway->failNext = true;
    ASSERT_TRUE(parent->TransactionRequest("x", request(14002, 33, 5)));
    ASSERT_TRUE(parent->TransactionRequest("y", request(14002, 33, 5)));
    loop->runPending();
    EXPECT_EQ(parent->errorsReturned(), 1u);
    EXPECT_EQ(parent->lastError(), "handler failed");
    EXPECT_EQ(gateway->calls.back().invokeId, "y");
}

TEST_F(SimulatedParentTest, DisconnectAndAbortEndTheConnection)
{
    ASSERT_TRUE(connect());
    ASSERT_TRUE(parent->DisconnectRequest("d", ""));
    EXPECT_FALSE(parent->connected());
    loop->runPending();
    EXPECT_EQ(gateway->calls.back().op, "OnDisconnectResponse");
    EXPECT_EQ(answerAttribute("FDT/DisconnectResponse", "CommunicationReference"), "ZEB-VRA520-0001");
    ASSERT_TRUE(connect());
    parent->abortConnection();
    loop->runPending();
    EXPECT_EQ(gateway->calls.back().op, "OnAbort");
    EXPECT_EQ(gateway->calls.back().document, "ZEB-VRA520-0001");
    EXPECT_FALSE(parent->connected());
}

TEST(HartDecoding, Command0IntoTheIdentity)
{
    const auto identity = decodeCommand0({0xFE, 0x61, 0xD2, 5, 5, 4, 3, 0x11, 0, 0x12, 0x34, 0x56});
    ASSERT_TRUE(identity);
    EXPECT_EQ(identity->expansion, 254);
    EXPECT_EQ(identity->manufacturerId, 0x61);
    EXPECT_EQ(identity->deviceType, 0xD2);
    EXPECT_EQ(identity->preambles, 5);
    EXPECT_EQ(identity->universalRevision, 5);
    EXPECT_EQ(identity->transmitterRevision, 4);
    EXPECT_EQ(identity->softwareRevision, 3);
    EXPECT_EQ(identity->hardwareRevision, 0x11);
    EXPECT_EQ(identity->deviceId, 0x123456u);
    EXPECT_FALSE(decodeCommand0({0xFE, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST(HartDecoding, ResponseCodesByMeaning)
{
    const std::vector<std::pair<int, std::string>> cases = {
        {0, "Success"}, {1, "Undefined"}, {3, "Passed Parameter Too Large"}, {4, "Passed Parameter Too Small"},
        {6, "Device-Specific Command Error"}, {7, "In Write Protect Mode"}, {13, "Command-Specific Error 13"},
        {16, "Access Restricted"}, {32, "Busy"}, {64, "Command Not Implemented"},
        {50, "Command-Specific Response 50"}, {24, "Command-Specific Warning 24"}};
    for (const auto& [code, meaning] : cases)
        EXPECT_EQ(responseCodeMeaning(static_cast<std::uint8_t>(code)), meaning) << code;
}

TEST(MonitorPrinting, LinesAsThePageShowsThem)
{
    // A message ending in CR LF leaves an empty row after it, as on the page.
    EXPECT_EQ(formatMonitorLine("A - b\r\nc\r\n", support::color::Black, false), "A - b\nc\n\n");
    EXPECT_EQ(formatMonitorLine("x", support::color::Green, true), "\033[32mx\033[0m\n");
    EXPECT_EQ(formatMonitorLine("x", support::color::Red, true), "\033[31mx\033[0m\n");
    EXPECT_EQ(formatMonitorLine("x", support::color::Blue, true), "\033[34mx\033[0m\n");
    EXPECT_EQ(formatMonitorLine("x", support::color::Black, true), "x\n");
    EXPECT_EQ(formatMonitorLine("a\rb", support::color::Black, false), "a\rb\n");
}

} // namespace
} // namespace zeb2hart::frame
