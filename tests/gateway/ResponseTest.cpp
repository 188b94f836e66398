#include <gtest/gtest.h>

#include <algorithm>

#include "fdt/Errors.h"
#include "gateway/GatewayFixture.h"
#include "support/Conversions.h"

namespace zeb2hart::gateway::test {
namespace {

constexpr const char* kOnResponse = "IFdtCommunicationEvents_OnTransactionResponse()";
constexpr const char* kResponse = "FDT/DataExchangeResponse";
constexpr const char* kResponseData = "FDT/DataExchangeResponse/fdt:CommunicationData";
constexpr const char* kStatus = "FDT/DataExchangeResponse/Status";
constexpr const char* kCommandResponse = "FDT/DataExchangeResponse/Status/CommandResponse";

TEST(ZEBStatusToResponseCode, ClassesBitsAndDataScan)
{
    struct Case {
        int status;
        std::vector<std::uint8_t> data;
        int code;
    };
    const std::vector<Case> cases = {
        {0x00, {}, 0},   {0x20, {}, 1},   {0x10, {}, 1},   {0x30, {}, 1},   {0x02, {}, 32},  {0x01, {}, 13},
        {0x03, {}, 32},  {0x31, {}, 1},   {0x0C, {}, 0},   {0x40, {}, 0},   {0x60, {}, 1},   {0x50, {}, 1},
        {0x41, {}, 0},   {0x4F, {}, 0},   {0x80, {}, 0},   {0xA0, {}, 1},   {0x90, {}, 1},   {0x88, {}, 1},
        {0x84, {}, 32},  {0x82, {}, 16},  {0x81, {}, 6},   {0x86, {}, 32},  {0x83, {}, 16},  {0x8F, {}, 1},
        {0xC0, {}, 0},   {0xE0, {}, 1},   {0xD1, {0x01}, 1}, {0xC1, {}, 0}, {0xC1, {0x01}, 4}, {0xC1, {0x02}, 3},
        {0xC1, {0x00, 0x02}, 3}, {0xC1, {0x04}, 2}, {0xC1, {0x80}, 7}, {0xC1, {0x30}, 0}, {0xC1, {0x00, 0x30}, 0},
        {0xC1, {0xF0}, 7}, {0xC1, {0x40, 0x08}, 0}, {0xC1, {0x03, 0x04}, 4}, {0xC1, {0x06}, 3}, {0xC1, {0x84}, 2},
        {0xC1, {0x30, 0x80}, 7}, {0xC0, {0x01}, 0}, {0xC2, {0x01}, 0}, {0xCE, {0x01}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ZEBStatusToResponseCode(static_cast<std::uint8_t>(c.status), c.data), c.code)
            << std::hex << c.status << " data size " << c.data.size();
}

class ResponseTest : public GatewayTest {
protected:
    ResponseTest() { connect(); }
    void send(const std::string& invokeId, const std::string& command, const std::optional<std::string>& data)
    {
        ASSERT_TRUE(gateway().TransactionRequest(invokeId, hartRequest(command, "REF-1", data)));
        clearRecords();
    }
    // The one answer the child received, parsed.
    Document childAnswer(const std::string& invokeId)
    {
        EXPECT_EQ(m_child->calls.size(), 1u);
        if (m_child->calls.empty())
            return Document("");
        EXPECT_EQ(m_child->calls[0].operation, "OnTransactionResponse");
        EXPECT_EQ(m_child->calls[0].invokeId, invokeId);
        return Document(m_child->calls[0].document);
    }
};

TEST_F(ResponseTest, TelegramAnswerIsPassedToTheChild)
{
    send("t128", "128", "36B2210002ABCD");
    ZebAnswer zeb;
    zeb.noOfBytes = "6";
    zeb.data = "1A2B";
    zeb.reference = "REF-X";
    gateway().OnTransactionResponse("t128", zebResponse(zeb));

    EXPECT_EQ(lines(), (std::vector<MonitorLine>{
                           green(kOnResponse),
                           blue("Response ZEB", "InvokeID t128"),
                           blue("", "ObjNo.: 258\tSubNo.: 3\tMsgType : 5\tStatus : 0"),
                           blue("", "Data : 1A2B"),
                           black("Response HART 'Command #128'", "InvokeID t128"),
                           black("", "ZEB Protocol : 01020300021A2B\r\n"),
                       }));
    const Document answer = childAnswer("t128");
    ASSERT_TRUE(answer.loaded());
    EXPECT_EQ(answer.attr(kResponse, "commandNumber"), "128");
    EXPECT_EQ(answer.attr(kResponse, "communicationReference"), "REF-X");
    EXPECT_EQ(answer.attr(kResponseData, "byteArray"), "01020300021A2B");
    EXPECT_EQ(answer.attr(kStatus, "deviceStatus"), "0");
    EXPECT_EQ(answer.attr(kCommandResponse, "value"), "0");
    EXPECT_TRUE(m_parent->calls.empty());
}

TEST_F(ResponseTest, StatusBytesBecomeHartResponseCodes)
{
    struct Case {
        int status;
        std::string data;
        std::string code;
    };
    const std::vector<Case> cases = {
        {0x82, "", "16"}, {0xC1, "0002", "3"}, {0xC1, "30", "0"}, {0x30, "", "1"},  {0x01, "", "13"},
        {0x02, "", "32"}, {0x41, "", "0"},     {0x81, "", "6"},   {0x84, "", "32"}, {0xC1, "80", "7"},
        {0xC1, "04", "2"}, {0xC1, "01", "4"},  {0x00, "", "0"},   {0xFF, "01", "1"},
    };
    for (const auto& c : cases) {
        send("t", "128", "36B2210000");
        ZebAnswer zeb;
        zeb.status = std::to_string(c.status);
        zeb.noOfBytes = std::to_string(4 + c.data.size() / 2);
        zeb.data = c.data;
        gateway().OnTransactionResponse("t", zebResponse(zeb));
        const Document answer = childAnswer("t");
        EXPECT_EQ(answer.attr(kCommandResponse, "value"), c.code) << c.status << " " << c.data;
        EXPECT_EQ(answer.attr(kStatus, "deviceStatus"), "0");
        // The status is the telegram's fourth byte.
        EXPECT_EQ(answer.attr(kResponseData, "byteArray").value_or("").substr(6, 2),
                  support::HexByte(static_cast<std::uint8_t>(c.status)));
    }
}

TEST_F(ResponseTest, BroadcastAnswerAlwaysGetsCodeZero)
{
    send("t129", "129", "8000000300");
    ZebAnswer zeb;
    zeb.status = "130"; // 0x82 would be 16 for any other command
    zeb.objectNo = "32768";
    zeb.subNo = "0";
    zeb.messageType = "7";
    gateway().OnTransactionResponse("t129", zebResponse(zeb));
    const Document answer = childAnswer("t129");
    EXPECT_EQ(answer.attr(kResponse, "commandNumber"), "129");
    EXPECT_EQ(answer.attr(kCommandResponse, "value"), "0");
    EXPECT_EQ(answer.attr(kResponseData, "byteArray"), "8000008200");
    EXPECT_EQ(lines().back(), black("", "ZEB Protocol : 8000008200\r\n"));
}

TEST_F(ResponseTest, DelayedDataAnswerCarriesTheDataOnly)
{
    send("t131", "131", std::nullopt);
    ZebAnswer zeb;
    zeb.noOfBytes = "7";
    zeb.data = "0102ab";
    gateway().OnTransactionResponse("t131", zebResponse(zeb));
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{
                           green(kOnResponse),
                           blue("Response ZEB", "InvokeID t131"),
                           blue("", "ObjNo.: 258\tSubNo.: 3\tMsgType : 5\tStatus : 0"),
                           blue("", "Data : 0102ab"),
                           black("Response HART 'Command #131'", "InvokeID t131"),
                           black("", "ZEB Protocol : \r\n"),
                       }));
    const Document answer = childAnswer("t131");
    EXPECT_EQ(answer.attr(kResponse, "commandNumber"), "131");
    EXPECT_EQ(answer.attr(kResponseData, "byteArray"), "0102ab");
    EXPECT_EQ(answer.attr(kCommandResponse, "value"), "0");
}

TEST_F(ResponseTest, AnswerWithoutDataHasNoDataLine)
{
    send("t", "128", "36B2210000");
    gateway().OnTransactionResponse("t", zebResponse(ZebAnswer{}));
    EXPECT_EQ(lines().size(), 5u);
    EXPECT_EQ(lines()[3], black("Response HART 'Command #128'", "InvokeID t"));
    const Document answer = childAnswer("t");
    EXPECT_EQ(answer.attr(kResponseData, "byteArray"), "0102030000");
}

TEST_F(ResponseTest, AnswerToTheGatewaysOwnBroadcastStaysOnTheMonitor)
{
    ASSERT_TRUE(gateway().DisconnectRequest("d", hartDisconnectRequest("REF-1")));
    clearRecords();
    gateway().OnTransactionResponse(guid(1), zebResponse(ZebAnswer{}));
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{
                           green(kOnResponse),
                           blue("Warmstart actuated", "InvokeId " + guid(1) + "\r\n"),
                       }));
    EXPECT_TRUE(m_child->calls.empty());
}

TEST_F(ResponseTest, TimeoutWhileActiveGivesTheUndefinedError)
{
    for (const std::string active : {"True", "true", "TRUE", "1", "-1", " True "}) {
        send("t", "128", "36B2210000");
        gateway().OnTransactionResponse("t", zebError(active, "timeout", "REF-E", "ParentTag"));
        EXPECT_EQ(lines(), (std::vector<MonitorLine>{
                               green(kOnResponse),
                               red("IFdtCommunicationEvents_OnTransactionResponse", "timeout\r\n", 1),
                               red("Response ZEB", "timeout\r\n", 0),
                           }))
            << active;
        const Document answer = childAnswer("t");
        EXPECT_EQ(answer.attr(kResponse, "commandNumber"), "128") << active;
        EXPECT_EQ(answer.attr(kResponse, "communicationReference"), "REF-E");
        EXPECT_EQ(answer.attr(kCommandResponse, "value"), "1");
        EXPECT_FALSE(answer.has("FDT/fdt:CommunicationError"));
    }
}

TEST_F(ResponseTest, OtherErrorsGiveTheCommunicationError)
{
    struct Case {
        std::string active;
        std::string error;
        std::string communicationError;
    };
    const std::vector<Case> cases = {
        {"False", "timeout", "timeout"},
        {"0", "timeout", "timeout"},
        {"True", "Timeout", "Timeout"},
        {"True", "StackOverflow", "unknownError"},
        {"False", "ChecksumError", "unknownError"},
        {"True", "MemoryOverflow", "unknownError"},
        {"True", "busy", "busy"},
    };
    for (const auto& c : cases) {
        send("t", "128", "36B2210000");
        gateway().OnTransactionResponse("t", zebError(c.active, c.error, "REF-E", "ParentTag"));
        EXPECT_EQ(lines(), (std::vector<MonitorLine>{
                               green(kOnResponse),
                               red("IFdtCommunicationEvents_OnTransactionResponse", c.error + "\r\n", 1),
                               red("Response ZEB", c.error + "\r\n", 0),
                           }))
            << c.error;
        const Document answer = childAnswer("t");
        ASSERT_TRUE(answer.loaded());
        EXPECT_EQ(answer.attr("FDT/fdt:CommunicationError", "communicationError"), c.communicationError);
        EXPECT_EQ(answer.attr("FDT/fdt:CommunicationError", "tag"), "ParentTag");
    }
}

TEST_F(ResponseTest, ErrorAnswerToABroadcastCommand)
{
    send("t", "129", "8000000300");
    gateway().OnTransactionResponse("t", zebError("True", "timeout", "REF-E"));
    EXPECT_EQ(lines(), (std::vector<MonitorLine>{
                           green(kOnResponse),
                           black("Broadcast", "Command Response\r\n"),
                       }));
    const Document answer = childAnswer("t");
    EXPECT_EQ(answer.attr(kResponse, "commandNumber"), "129");
    EXPECT_EQ(answer.attr(kCommandResponse, "value"), "0");
}

TEST_F(ResponseTest, FailuresReachTheParentAndTheChildGetsNothing)
{
    struct Case {
        std::string name;
        std::string response;
    };
    ZebAnswer badStatus;
    badStatus.status = "256";
    ZebAnswer textStatus;
    textStatus.status = "ok";
    ZebAnswer noData;
    noData.data = std::nullopt;
    const std::vector<Case> cases = {
        {"ZebActive missing", zebError(std::nullopt, "timeout")},
        {"ZebActive missing, other error", zebError(std::nullopt, "busy")},
        {"ZebActive not Boolean", zebError("maybe", "busy")},
        {"status above 255", zebResponse(badStatus)},
        {"status not a number", zebResponse(textStatus)},
        {"no CommunicationData", zebResponse(noData)},
        {"no status", "<FDT><DataExchangeResponse CommunicationReference=\"R\"><CommunicationHeader ObjectNo=\"1\" "
                      "SubNo=\"1\" MessageType=\"5\" NoOfBytes=\"4\"/></DataExchangeResponse></FDT>"},
    };
    for (const auto& c : cases) {
        send("t", "128", "36B2210000");
        EXPECT_THROW(gateway().OnTransactionResponse("t", c.response), std::exception) << c.name;
        EXPECT_TRUE(m_child->calls.empty()) << c.name;
    }
}

TEST_F(ResponseTest, UndefinedErrorNeedsACommandNumberThatIsAByte)
{
    send("t", "300", std::nullopt); // answered by simulation; the command stays 300
    EXPECT_THROW(gateway().OnTransactionResponse("t", zebError("True", "timeout")), fdt::OverflowError);
    EXPECT_TRUE(m_child->calls.empty());
}

TEST_F(ResponseTest, AnswerWithoutChildFails)
{
    send("t", "128", "36B2210000");
    gateway().communicator().CallbackInterface(nullptr);
    EXPECT_THROW(gateway().OnTransactionResponse("t", zebResponse(ZebAnswer{})), fdt::NullObjectError);
}

// --- the identity sequence of command 0 ------------------------------------------------

class IdentityTest : public ResponseTest {
protected:
    IdentityTest()
    {
        send("t0", "0", std::nullopt);
        for (std::int16_t i = 1; i <= 6; ++i)
            m_reads.push_back(gateway().communicator().ZEBSeqElem(i));
    }
    void answer(std::size_t element, const std::string& data, std::int32_t objectNo = 0)
    {
        const auto& read = m_reads.at(element);
        gateway().OnTransactionResponse(read.invokeId, identityAnswer(objectNo ? objectNo : read.ObjectNumber, data));
    }
    std::vector<clsZEBSequence> m_reads;
};

TEST_F(IdentityTest, SixAnswersInAnyOrderGiveOneCommand0Answer)
{
    const std::vector<std::string> data = {"0E", "91", "05", "06", "07", "563412"};
    const std::vector<std::size_t> order = {3, 0, 5, 1, 4, 2};
    for (std::size_t n = 0; n < order.size(); ++n) {
        clearRecords();
        const std::size_t element = order[n];
        answer(element, data[element]);
        const auto& read = m_reads[element];
        std::vector<MonitorLine> expected = {
            green(kOnResponse),
            blue("Response ZEB", "InvokeID " + read.invokeId),
            blue("", "ObjNo.: " + std::to_string(read.ObjectNumber) + "\tSubNo.: 33\tMsgType : 5\tStatus : 0"),
            blue("", "Data : " + data[element]),
        };
        EXPECT_EQ(gateway().communicator().ZEBSeqColCount(), 5 - n);
        if (n + 1 < order.size()) {
            EXPECT_EQ(lines(), expected) << n;
            EXPECT_TRUE(m_child->calls.empty()) << n;
        } else {
            const std::string hart = "FE0E91050505060700123456";
            expected.push_back(black("Response HART 'Command #0'", "InvokeID t0"));
            expected.push_back(black("", "Data : " + hart));
            expected.push_back(black("", "Status : 0\tCommand Response : 0\r\n"));
            EXPECT_EQ(lines(), expected);
            const Document result = childAnswer("t0");
            ASSERT_TRUE(result.loaded());
            EXPECT_EQ(result.attr(kResponse, "commandNumber"), "0");
            EXPECT_EQ(result.attr(kResponse, "communicationReference"), "REF-1");
            EXPECT_EQ(result.attr(kResponseData, "byteArray"), hart);
            EXPECT_EQ(result.attr(kStatus, "deviceStatus"), "0");
            EXPECT_EQ(result.attr(kCommandResponse, "value"), "0");
        }
    }
    EXPECT_EQ(gateway().Cmd0Response(),
              (std::array<std::uint8_t, 12>{254, 0x0E, 0x91, 5, 5, 5, 6, 7, 0, 0x12, 0x34, 0x56}));
}

TEST_F(IdentityTest, AnswerWithAnotherObjectNumberStoresNothingButCounts)
{
    answer(0, "0E");
    answer(1, "91", 9999); // not the object asked for
    answer(2, "05");
    answer(3, "06");
    answer(4, "07");
    answer(5, "44332211");
    const Document result = childAnswer("t0");
    EXPECT_EQ(result.attr(kResponseData, "byteArray"), "FE0E00050505060700223344");
    EXPECT_EQ(gateway().communicator().ZEBSeqColCount(), 0);
}

TEST_F(IdentityTest, WrongLengthFailsAndTheReadStaysPending)
{
    for (const std::string data : {"0102", ""}) {
        clearRecords();
        EXPECT_THROW(answer(0, data), fdt::Error) << data;
        EXPECT_EQ(gateway().communicator().ZEBSeqColCount(), 6);
        EXPECT_TRUE(m_child->calls.empty());
    }
}

TEST_F(IdentityTest, ErrorAnswerOfAReadGoesToTheChildAtOnce)
{
    const std::string id = m_reads[2].invokeId;
    gateway().OnTransactionResponse(id, zebError("False", "busy"));
    const Document result = childAnswer(id);
    EXPECT_EQ(result.attr("FDT/fdt:CommunicationError", "communicationError"), "busy");
    EXPECT_EQ(gateway().communicator().ZEBSeqColCount(), 6);
}

TEST_F(IdentityTest, SingleAnswerWhilePendingIsTakenForTheLastRead)
{
    send("t128", "128", "36B2210000");
    ZebAnswer zeb;
    zeb.noOfBytes = "5";
    zeb.data = "01";
    gateway().OnTransactionResponse("t128", zebResponse(zeb)); // object 258: not the last read's
    EXPECT_TRUE(m_child->calls.empty());
    EXPECT_EQ(gateway().communicator().ZEBSeqColCount(), 6);
    EXPECT_EQ(lines().size(), 4u);

    // With the last read's object number its byte lands at the read's position.
    zeb.objectNo = std::to_string(m_reads[5].ObjectNumber);
    zeb.data = "7F";
    gateway().OnTransactionResponse("t128", zebResponse(zeb));
    EXPECT_EQ(gateway().Cmd0Response()[9], 0x7F);
    EXPECT_EQ(gateway().communicator().ZEBSeqColCount(), 6);
}

TEST_F(IdentityTest, ReadsLeftFromAnEarlierSequenceDelayTheAnswer)
{
    send("t0b", "0", std::nullopt);
    ASSERT_EQ(gateway().communicator().ZEBSeqColCount(), 12);
    // The second sequence's own six answers do not finish it while the first six wait.
    for (int answered = 0; answered < 6; ++answered) {
        const auto read = gateway().communicator().ZEBSeqElem(7);
        gateway().OnTransactionResponse(read.invokeId, identityAnswer(read.ObjectNumber, "01"));
    }
    EXPECT_TRUE(m_child->calls.empty());
    for (std::size_t i = 0; i < 6; ++i)
        answer(i, i == 5 ? "010203" : "02");
    const Document result = childAnswer("t0b");
    EXPECT_EQ(result.attr(kResponseData, "byteArray"), "FE0202050502020200030201");
}

} // namespace
} // namespace zeb2hart::gateway::test
