#include <gtest/gtest.h>

#include <chrono>

#include "gateway/GatewayFixture.h"
#include "support/Conversions.h"

namespace zeb2hart::gateway::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kCall = "IFdtCommunication_TransactionRequest()";
constexpr const char* kSimulation = "IFdtCommunication_TransactionRequest";
const MonitorLine kCritical = red("IFdtCommunication_TransactionRequest",
                                  "Critical Error in IFdtCommunication_TransactionRequest");

constexpr const char* kHeader = "FDT/DataExchangeRequest/CommunicationHeader";
constexpr const char* kRequest = "FDT/DataExchangeRequest";

class TransactionTest : public GatewayTest {
protected:
    TransactionTest() { connect(); }
    bool request(const std::string& invokeId, const std::string& command, const std::optional<std::string>& data)
    {
        return gateway().TransactionRequest(invokeId, hartRequest(command, "REF-1", data));
    }
};

TEST_F(TransactionTest, WithoutChildNothingHappens)
{
    gateway().communicator().CallbackInterface(nullptr);
    for (const char* command : {"0", "1", "59", "128", "129", "131", "abc"})
        EXPECT_FALSE(request("t", command, "0102030405")) << command;
    EXPECT_TRUE(lines().empty());
    EXPECT_TRUE(m_parent->calls.empty());
    EXPECT_TRUE(m_child->calls.empty());
}

TEST_F(TransactionTest, Command59EchoesItsData)
{
    EXPECT_TRUE(request("t59", "59", "05"));
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{
                           black("Request HART 'Command #59'", "InvokeID t59"),
                           green(kSimulation, "HART Simulation"),
                           black("Response HART 'Command #59'", "invokeID t59"),
                           black("", "Data : 05"),
                           black("", "Status : 0\tCommand Response : 0\r\n"),
                       }));
    EXPECT_TRUE(m_parent->calls.empty());
    ASSERT_EQ(m_child->calls.size(), 1u);
    EXPECT_EQ(m_child->calls[0].operation, "OnTransactionResponse");
    EXPECT_EQ(m_child->calls[0].invokeId, "t59");
    const Document answer(m_child->calls[0].document);
    ASSERT_TRUE(answer.loaded()) << m_child->calls[0].document;
    EXPECT_EQ(answer.attr("FDT/DataExchangeResponse", "commandNumber"), "59");
    EXPECT_EQ(answer.attr("FDT/DataExchangeResponse", "communicationReference"), "REF-1");
    EXPECT_EQ(answer.attr("FDT/DataExchangeResponse/fdt:CommunicationData", "byteArray"), "05");
    EXPECT_EQ(answer.attr("FDT/DataExchangeResponse/Status", "deviceStatus"), "0");
    EXPECT_EQ(answer.attr("FDT/DataExchangeResponse/Status/CommandResponse", "value"), "0");
    EXPECT_EQ(gateway().HARTCommand(), 59);
}

TEST_F(TransactionTest, Command59WithoutDataAnswersWithoutData)
{
    EXPECT_TRUE(request("t", "59", std::nullopt));
    ASSERT_EQ(m_child->calls.size(), 1u);
    const Document answer(m_child->calls[0].document);
    EXPECT_FALSE(answer.has("FDT/DataExchangeResponse/fdt:CommunicationData"));
    EXPECT_EQ(answer.attr("FDT/DataExchangeResponse/Status/CommandResponse", "value"), "0");
    EXPECT_EQ(lines().size(), 4u); // no data line
}

TEST_F(TransactionTest, OtherCommandsAreAnsweredAsNotImplemented)
{
    for (const char* command : {"1", "2", "3", "12", "17", "38", "127", "130", "132", "255", "-1", "1000"}) {
        clearRecords();
        EXPECT_TRUE(request("tx", command, "0A0B")) << command;
        const std::string number = std::to_string(std::stoi(command));
        EXPECT_EQ(lines(), (std::vector<MonitorLine>{
                               black("Request HART 'Command #" + number + "'", "InvokeID tx"),
                               green(kSimulation, "HART Simulation"),
                               black("Response HART 'Command #" + number + "'", "invokeID tx"),
                               black("", "Status : 0\tCommand Response : 50\r\n"),
                           }))
            << command;
        EXPECT_TRUE(m_parent->calls.empty());
        ASSERT_EQ(m_child->calls.size(), 1u) << command;
        const Document answer(m_child->calls[0].document);
        EXPECT_EQ(answer.attr("FDT/DataExchangeResponse", "commandNumber"), number);
        EXPECT_FALSE(answer.has("FDT/DataExchangeResponse/fdt:CommunicationData"));
        EXPECT_EQ(answer.attr("FDT/DataExchangeResponse/Status", "deviceStatus"), "0");
        EXPECT_EQ(answer.attr("FDT/DataExchangeResponse/Status/CommandResponse", "value"), "50");
    }
}

TEST_F(TransactionTest, Command128TunnelsTheTelegramAndArmsTheTimeout)
{
    m_host.delay = 2;
    EXPECT_TRUE(request("t128", "128", "36b2210002abcd"));
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{
                           black("Request HART 'Command #128'", "InvokeID t128"),
                           black("", "ZEB Protocol : 36B2210002ABCD"),
                           blue("Request ZEB", "InvokeID t128"),
                           blue("", "ObjNo.: 14002\tSubNo.: 33\tMsgType : 5\tCtrl.: 0"),
                           blue("", "Data: abcd"),
                           green(kCall, "Successful"),
                       }));
    ASSERT_EQ(m_parent->calls.size(), 1u);
    EXPECT_EQ(m_parent->calls[0].invokeId, "t128");
    const Document zeb(m_parent->calls[0].document);
    ASSERT_TRUE(zeb.loaded());
    EXPECT_EQ(zeb.attr(kRequest, "CommunicationReference"), "REF-1");
    EXPECT_EQ(zeb.attr(kRequest, "Control"), "0");
    EXPECT_EQ(zeb.attr(kHeader, "MessageType"), "5");
    EXPECT_EQ(zeb.attr(kHeader, "ObjectType"), "2");
    EXPECT_EQ(zeb.attr(kHeader, "NoOfBytes"), "6");
    EXPECT_EQ(zeb.attr(kHeader, "SubNo"), "33");
    EXPECT_EQ(zeb.attr(kHeader, "ObjectNo"), "14002");
    EXPECT_EQ(zeb.attr(kHeader, "CommunicationData"), "abcd");
    EXPECT_TRUE(m_child->calls.empty());

    EXPECT_TRUE(gateway().timeoutTimer().Enabled());
    EXPECT_EQ(gateway().timeoutTimer().Interval(), 2000);
}

TEST_F(TransactionTest, Command128TelegramWithoutData)
{
    EXPECT_TRUE(request("t", "128", "36B2210000"));
    EXPECT_EQ(lines().size(), 5u); // no data line
    const Document zeb(m_parent->calls.at(0).document);
    EXPECT_EQ(zeb.attr(kHeader, "NoOfBytes"), "4");
}

TEST_F(TransactionTest, Command128RefusedByTheParent)
{
    m_parent->transactionResult = false;
    EXPECT_FALSE(request("t", "128", "36B2210000"));
    EXPECT_EQ(lines().back(), red(kCall, "denied"));
    EXPECT_EQ(gateway().timeoutTimer().Interval(), 3000);
}

TEST_F(TransactionTest, Command128WarmstartDelayLimits)
{
    struct Case {
        std::int16_t delay;
        bool fails;
        std::int32_t interval;
    };
    const std::vector<Case> cases = {
        {0, false, 0}, {1, false, 1000}, {32, false, 32000}, {33, true, 0}, {-1, true, 0}, {1000, true, 0},
    };
    for (const auto& c : cases) {
        clearRecords();
        gateway().timeoutTimer().Interval(0);
        m_host.delay = c.delay;
        EXPECT_EQ(request("t", "128", "36B2210000"), !c.fails) << c.delay;
        if (c.fails) {
            EXPECT_EQ(lines(), (std::vector<MonitorLine>{
                                   black("Request HART 'Command #128'", "InvokeID t"),
                                   black("", "ZEB Protocol : 36B2210000"),
                                   kCritical,
                               }))
                << c.delay;
            EXPECT_TRUE(m_parent->calls.empty()) << c.delay;
            EXPECT_FALSE(gateway().timeoutTimer().Enabled()) << c.delay;
        } else {
            EXPECT_EQ(m_parent->calls.size(), 1u);
            EXPECT_TRUE(gateway().timeoutTimer().Enabled()) << c.delay;
            EXPECT_EQ(gateway().timeoutTimer().Interval(), c.interval) << c.delay;
        }
    }
}

TEST_F(TransactionTest, Command128WithZeroDelayNeverExpires)
{
    m_host.delay = 0;
    EXPECT_TRUE(request("t", "128", "36B2210000"));
    clearRecords();
    loop().advance(24h);
    EXPECT_TRUE(m_parent->calls.empty());
    EXPECT_TRUE(lines().empty());
}

TEST_F(TransactionTest, Command128WithTooFewBytes)
{
    for (const std::optional<std::string>& data : {std::optional<std::string>("01"), std::optional<std::string>(""),
                                                  std::optional<std::string>()}) {
        clearRecords();
        EXPECT_FALSE(request("t", "128", data));
        EXPECT_EQ(lines(), (std::vector<MonitorLine>{black("Request HART 'Command #128'", "InvokeID t"), kCritical}));
        EXPECT_TRUE(m_parent->calls.empty());
    }
    // Two to four bytes are no ZEB telegram: building the request fails before the parent is asked.
    clearRecords();
    EXPECT_FALSE(request("t", "128", "01020304"));
    EXPECT_EQ(lines().back(), kCritical);
    EXPECT_TRUE(m_parent->calls.empty());
}

TEST_F(TransactionTest, Command129SendsABroadcast)
{
    EXPECT_TRUE(request("t129", "129", "8000000300"));
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{
                           black("Request HART 'Command #129'", "InvokeID t129"),
                           blue("Broadcast", "Warmstart request"),
                           blue("Request ZEB", "InvokeID t129"),
                           blue("", "ObjNo.: 32768\tSubNo.: 0\tMsgType : 7\tCtrl.: 3"),
                           green(kCall, "Successful"),
                       }));
    ASSERT_EQ(m_parent->calls.size(), 1u);
    const Document zeb(m_parent->calls[0].document);
    EXPECT_EQ(zeb.attr(kHeader, "MessageType"), "7");
    EXPECT_EQ(zeb.attr(kHeader, "ObjectNo"), "32768");
    EXPECT_EQ(zeb.attr(kRequest, "Control"), "3");
    // The broadcast does not arm the time-out.
    EXPECT_EQ(gateway().timeoutTimer().Interval(), 0);
}

TEST_F(TransactionTest, Command129TextsByByteThree)
{
    const std::vector<std::string> texts = {"Info Text",
                                            "Coldstart request",
                                            "Coldstart execute",
                                            "Warmstart request",
                                            "Warmstart execute",
                                            "Stop measuring mode",
                                            "Start measuring mode",
                                            "Error Reset",
                                            "Hand-over to cyclic Object",
                                            "Delayed Response",
                                            "",
                                            "",
                                            ""};
    const std::vector<int> codes = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 255};
    for (std::size_t i = 0; i < codes.size(); ++i) {
        clearRecords();
        const std::string telegram = "800000" + support::HexByte(static_cast<std::uint8_t>(codes[i])) + "00";
        EXPECT_TRUE(request("b", "129", telegram));
        ASSERT_GE(lines().size(), 2u);
        EXPECT_EQ(lines()[1], blue("Broadcast", texts[i])) << codes[i];
        EXPECT_EQ(BroadcastText(static_cast<std::uint8_t>(codes[i])), texts[i]);
        EXPECT_EQ(m_parent->calls.size(), 1u) << codes[i];
    }
}

TEST_F(TransactionTest, Command129WithFewerThanFourBytes)
{
    EXPECT_FALSE(request("t", "129", "800000"));
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{black("Request HART 'Command #129'", "InvokeID t"), kCritical}));
    EXPECT_TRUE(m_parent->calls.empty());
}

TEST_F(TransactionTest, Command131ReadsDelayedDataAndArmsTheTimeout)
{
    EXPECT_TRUE(request("t131", "131", std::nullopt));
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{
                           black("Request HART 'Command #131'", "InvokeID t131"),
                           green(kCall, "Successful"),
                       }));
    ASSERT_EQ(m_parent->calls.size(), 1u);
    EXPECT_EQ(m_parent->calls[0].invokeId, "t131");
    const Document zeb(m_parent->calls[0].document);
    ASSERT_TRUE(zeb.loaded());
    EXPECT_EQ(zeb.attr(kRequest, "CommunicationReference"), "REF-1");
    EXPECT_EQ(zeb.attr(kRequest, "Control"), "0");
    EXPECT_EQ(zeb.attr(kRequest, "SpecialFunction"), "ReadDelayedResponse");
    EXPECT_FALSE(zeb.attr(kRequest, "FilePath"));
    EXPECT_EQ(zeb.attr(kHeader, "MessageType"), "5");
    EXPECT_EQ(zeb.attr(kHeader, "ObjectType"), "2");
    EXPECT_EQ(zeb.attr(kHeader, "NoOfBytes"), "4");
    EXPECT_EQ(zeb.attr(kHeader, "SubNo"), "0");
    EXPECT_EQ(zeb.attr(kHeader, "ObjectNo"), "0");
    EXPECT_EQ(zeb.attr(kHeader, "CommunicationData").value_or(""), "");
    EXPECT_EQ(gateway().timeoutTimer().Interval(), 3000);
    EXPECT_TRUE(gateway().timeoutTimer().Enabled());
}

TEST_F(TransactionTest, Command131DelayFailureComesAfterTheRequest)
{
    m_host.delay = 33;
    for (const bool taken : {true, false}) {
        clearRecords();
        m_parent->transactionResult = taken;
        EXPECT_EQ(request("t", "131", std::nullopt), taken);
        EXPECT_EQ(lines(), (std::vector<MonitorLine>{
                               black("Request HART 'Command #131'", "InvokeID t"),
                               taken ? green(kCall, "Successful") : red(kCall, "denied"),
                               kCritical,
                           }));
        EXPECT_EQ(m_parent->calls.size(), 1u);
    }
}

TEST_F(TransactionTest, Command0SendsTheSixIdentityReads)
{
    m_host.identity = {"", "14000.32", "14016.32", "14015.32", "14014.32", "20000.5"};
    EXPECT_TRUE(request("t0", "0", std::nullopt));

    struct Read {
        std::string objectNo;
        std::string subNo;
    };
    const std::vector<Read> reads = {{"14002", "33"}, {"14000", "33"}, {"14016", "33"},
                                     {"14015", "33"}, {"14014", "33"}, {"20000", "6"}};
    std::vector<MonitorLine> expected = {black("Request HART 'Command #0'", "InvokeID t0")};
    ASSERT_EQ(m_parent->calls.size(), 6u);
    for (std::size_t i = 0; i < reads.size(); ++i) {
        const PeerCall& call = m_parent->calls[i];
        EXPECT_EQ(call.operation, "TransactionRequest");
        EXPECT_EQ(call.invokeId, gateway().communicator().ZEBSeqElem(static_cast<std::int16_t>(i + 1)).invokeId);
        const Document zeb(call.document);
        ASSERT_TRUE(zeb.loaded());
        EXPECT_EQ(zeb.attr(kRequest, "CommunicationReference"), "REF-1");
        EXPECT_EQ(zeb.attr(kRequest, "Control"), "64");
        EXPECT_EQ(zeb.attr(kHeader, "MessageType"), "5");
        EXPECT_EQ(zeb.attr(kHeader, "ObjectType"), "2");
        EXPECT_EQ(zeb.attr(kHeader, "NoOfBytes"), "4");
        EXPECT_EQ(zeb.attr(kHeader, "SubNo"), reads[i].subNo) << i;
        EXPECT_EQ(zeb.attr(kHeader, "ObjectNo"), reads[i].objectNo) << i;
        expected.push_back(green(kCall, "ZEB Collection Item Successful"));
        expected.push_back(blue("Request ZEB", "InvokeID " + call.invokeId));
        expected.push_back(blue("", "ObjNo.: " + reads[i].objectNo + "\tSubNo.: " + reads[i].subNo +
                                        "\tMsgType : 5\tCtrl.: 64"));
    }
    EXPECT_EQ(lines(), expected);

    // Six distinct numbered invoke identifiers.
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(m_parent->calls[i].invokeId, guid(static_cast<int>(i) + 1));

    const auto& cmd0 = gateway().Cmd0Response();
    EXPECT_EQ(cmd0, (std::array<std::uint8_t, 12>{254, 0, 0, 5, 5, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(gateway().communicator().HARTCmd0InvokeId(), "t0");
    EXPECT_TRUE(gateway().communicator().ZEBSeqComAct());
    EXPECT_EQ(gateway().communicator().ZEBSeqColCount(), 6);
    EXPECT_TRUE(m_child->calls.empty());
}

TEST_F(TransactionTest, Command0RefusedReadsStayPending)
{
    m_parent->transactionResults = {true, false, true, true, true, true};
    EXPECT_TRUE(request("t0", "0", std::nullopt));
    ASSERT_GE(lines().size(), 6u);
    EXPECT_EQ(lines()[1], green(kCall, "ZEB Collection Item Successful"));
    EXPECT_EQ(lines()[4], red(kCall, "ZEB Collection Item denied"));
    EXPECT_EQ(lines()[5], green(kCall, "ZEB Collection Item Successful"));
    EXPECT_EQ(lines().size(), 1u + 5 * 3 + 1);
    EXPECT_EQ(gateway().communicator().ZEBSeqColCount(), 6);
}

TEST_F(TransactionTest, Command0Failures)
{
    // An identity text that cannot be read: nothing is sent.
    m_host.identity[0] = ".5";
    EXPECT_FALSE(request("t0", "0", std::nullopt));
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{black("Request HART 'Command #0'", "InvokeID t0"), kCritical}));
    EXPECT_TRUE(m_parent->calls.empty());

    // No parent: fails at the first read.
    m_host.identity[0] = "";
    gateway().communicator().ZEBDriverInterface(nullptr);
    clearRecords();
    EXPECT_FALSE(request("t0", "0", std::nullopt));
    EXPECT_EQ(lines().back(), kCritical);
}

TEST_F(TransactionTest, SecondCommand0SendsAllTwelvePendingReads)
{
    EXPECT_TRUE(request("a", "0", std::nullopt));
    clearRecords();
    EXPECT_TRUE(request("b", "0", std::nullopt));
    EXPECT_EQ(gateway().communicator().ZEBSeqColCount(), 12);
    EXPECT_EQ(m_parent->calls.size(), 12u);
    EXPECT_EQ(m_parent->calls[0].invokeId, guid(1));
    EXPECT_EQ(m_parent->calls[11].invokeId, guid(12));
    EXPECT_EQ(gateway().communicator().HARTCmd0InvokeId(), "b");
}

TEST_F(TransactionTest, SimulatedCommandWhileIdentityPendingIsNeverAnswered)
{
    EXPECT_TRUE(request("t0", "0", std::nullopt));
    clearRecords();
    EXPECT_TRUE(request("t1", "1", std::nullopt));
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{black("Request HART 'Command #1'", "InvokeID t1")}));
    EXPECT_TRUE(m_child->calls.empty());
    EXPECT_EQ(gateway().HARTCommand(), 1);
}

TEST_F(TransactionTest, MalformedRequests)
{
    struct Case {
        std::string command;
        std::optional<std::string> data;
        std::size_t linesBeforeFailure;
    };
    const std::vector<Case> cases = {
        {"abc", "01", 0},      // command number not a number
        {"", "01", 0},         // no command number
        {"40000", "01", 0},    // does not fit 16 bits
        {"59", "0G", 0},       // data not hexadecimal
    };
    for (const auto& c : cases) {
        clearRecords();
        EXPECT_FALSE(request("t", c.command, c.data)) << c.command;
        ASSERT_EQ(lines().size(), c.linesBeforeFailure + 1) << c.command;
        EXPECT_EQ(lines().back(), kCritical);
        EXPECT_TRUE(m_child->calls.empty());
        EXPECT_TRUE(m_parent->calls.empty());
    }
    // A request that is no document at all reads no command number.
    clearRecords();
    EXPECT_FALSE(gateway().TransactionRequest("t", "garbage"));
    EXPECT_EQ(lines(), std::vector<MonitorLine>{kCritical});
}

TEST_F(TransactionTest, ChildFailingOnTheSimulatedAnswer)
{
    m_child->fail = true;
    EXPECT_FALSE(request("t", "1", std::nullopt));
    EXPECT_EQ(lines().back(), kCritical);
}

} // namespace
} // namespace zeb2hart::gateway::test
