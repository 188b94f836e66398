#include <gtest/gtest.h>

#include "fdt/Errors.h"
#include "gateway/GatewayFixture.h"
#include "support/Conversions.h"

namespace zeb2hart::gateway::test {
namespace {

const std::string kOnResponse = "G2 IFdtCommunicationEvents_OnTransactionResponse() | ";

TEST(ZEBStatusToResponseCode, ClassesBitsAndDataScan)
{
    struct Case { int status; std::vector<std::uint8_t> data; int code; };
    const Case cases[] = {
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
        ASSERT_TRUE(request(invokeId, command, data));
        clearRecords();
    }
    // The lines of a ZEB answer.
    static Events zebLines(const std::string& invokeId, const std::string& data, const std::string& object = "258",
                           const std::string& subNo = "3")
    {
        Events lines = {kOnResponse, "B0 Response ZEB | InvokeID " + invokeId,
                        "B0 | ObjNo.: " + object + "\tSubNo.: " + subNo + "\tMsgType : 5\tStatus : 0"};
        if (!data.empty())
            lines.push_back("B0 | Data : " + data);
        return lines;
    }
};

TEST_F(ResponseTest, TelegramAnswerIsPassedToTheChild)
{
    const std::pair<std::string, std::string> cases[] = {{"1A2B", "01020300021A2B"}, {"", "0102030000"}};
    for (const auto& [data, telegram] : cases) {
        SCOPED_TRACE(data);
        send("t128", "128", "36B2210002ABCD");
        gateway().OnTransactionResponse("t128", zebResponse("0", data, "258", "3", "5", "REF-X"));
        // Without data bytes there is no data line.
        expectEvents(zebLines("t128", data) + Events{"K1 Response HART 'Command #128' | InvokeID t128",
                                                      "K1 | ZEB Protocol : " + telegram + "\r\n",
                                                      "child OnTransactionResponse t128"});
        expectHartAnswer(toChild(), "128", "REF-X", telegram, "0");
    }
}

// The mapping itself is checked above; here the status and data of the answer reach it.
TEST_F(ResponseTest, StatusBytesBecomeHartResponseCodes)
{
    const std::tuple<int, std::string, std::string> cases[] = {
        {0x82, "", "16"}, {0xC1, "0002", "3"}, {0xC1, "30", "0"}, {0x01, "", "13"}, {0xFF, "01", "1"}, {0x00, "", "0"},
    };
    for (const auto& [status, data, code] : cases) {
        SCOPED_TRACE(std::to_string(status) + " " + data);
        send("t", "128", "36B2210000");
        gateway().OnTransactionResponse("t", zebResponse(std::to_string(status), data));
        // The status is the telegram's fourth byte, the number of data bytes its fifth.
        const std::string telegram = "010203" + support::HexByte(static_cast<std::uint8_t>(status)) +
                                     support::HexByte(static_cast<std::uint8_t>(data.size() / 2)) + data;
        expectHartAnswer(toChild(), "128", "REF-1", telegram, code);
    }
}

TEST_F(ResponseTest, BroadcastAnswerAlwaysGetsCodeZero)
{
    send("t129", "129", "8000000300");
    gateway().OnTransactionResponse("t129", zebResponse("130", "", "32768", "0", "7")); // 0x82: 16 for other commands
    expectHartAnswer(toChild(), "129", "REF-1", "8000008200", "0");
    EXPECT_EQ(m_log->at(m_log->size() - 2), "K1 | ZEB Protocol : 8000008200\r\n");
}

TEST_F(ResponseTest, DelayedDataAnswerCarriesTheDataOnly)
{
    send("t131", "131", std::nullopt);
    gateway().OnTransactionResponse("t131", zebResponse("0", "0102ab"));
    expectEvents(zebLines("t131", "0102ab") + Events{"K1 Response HART 'Command #131' | InvokeID t131",
                                                      "K1 | ZEB Protocol : \r\n", "child OnTransactionResponse t131"});
    expectHartAnswer(toChild(), "131", "REF-1", "0102ab", "0");
}

TEST_F(ResponseTest, ErrorAnswers)
{
    struct Case { std::string active, error; std::optional<std::string> communicationError; };
    // Without a communication error: the undefined error, code 1.
    const Case cases[] = {
        {"True", "timeout", std::nullopt},  {"true", "timeout", std::nullopt}, {"TRUE", "timeout", std::nullopt},
        {"1", "timeout", std::nullopt},     {"-1", "timeout", std::nullopt},   {" True ", "timeout", std::nullopt},
        {"False", "timeout", "timeout"},    {"0", "timeout", "timeout"},       {"True", "Timeout", "Timeout"},
        {"True", "StackOverflow", "unknownError"}, {"False", "ChecksumError", "unknownError"},
        {"True", "MemoryOverflow", "unknownError"}, {"True", "busy", "busy"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.active + " " + c.error);
        send("t", "128", "36B2210000");
        gateway().OnTransactionResponse("t", zebError(c.active, c.error, "REF-E", "ParentTag"));
        expectEvents({kOnResponse, "R1 IFdtCommunicationEvents_OnTransactionResponse | " + c.error + "\r\n",
                      "R0 Response ZEB | " + c.error + "\r\n", "child OnTransactionResponse t"});
        const Document answer(toChild());
        if (c.communicationError) {
            answer.expect(kCommunicationError, {{"communicationError", c.communicationError}, {"tag", "ParentTag"}});
        } else {
            answer.expect(kResponse, {{"commandNumber", "128"}, {"communicationReference", "REF-E"}});
            answer.expect(kCommandResponse, {{"value", "1"}});
            EXPECT_FALSE(answer.has(kCommunicationError));
        }
    }
    // To a broadcast command the answer is code 0.
    send("t", "129", "8000000300");
    gateway().OnTransactionResponse("t", zebError("True", "timeout", "REF-E"));
    expectEvents({kOnResponse, "K1 Broadcast | Command Response\r\n", "child OnTransactionResponse t"});
    Document(toChild()).expect(kResponse, {{"commandNumber", "129"}});
    Document(toChild()).expect(kCommandResponse, {{"value", "0"}});
}

TEST_F(ResponseTest, FailuresReachTheParentAndTheChildGetsNothing)
{
    const std::pair<const char*, std::string> cases[] = {
        {"ZebActive missing", zebError(std::nullopt, "timeout")},
        {"ZebActive missing, other error", zebError(std::nullopt, "busy")},
        {"ZebActive not Boolean", zebError("maybe", "busy")},
        {"status above 255", zebResponse("256")},
        {"status not a number", zebResponse("ok")},
        {"no CommunicationData", zebResponse("0", std::nullopt)},
        {"no status", "<FDT><DataExchangeResponse CommunicationReference=\"R\"><CommunicationHeader ObjectNo=\"1\" "
                      "SubNo=\"1\" MessageType=\"5\" NoOfBytes=\"4\"/></DataExchangeResponse></FDT>"},
    };
    for (const auto& [name, response] : cases) {
        SCOPED_TRACE(name);
        send("t", "128", "36B2210000");
        EXPECT_THROW(gateway().OnTransactionResponse("t", response), std::exception);
        EXPECT_TRUE(m_child->calls.empty());
    }
    // The undefined error needs a command number that is a byte.
    send("t", "300", std::nullopt); // answered by simulation; the command stays 300
    EXPECT_THROW(gateway().OnTransactionResponse("t", zebError("True", "timeout")), fdt::OverflowError);
    EXPECT_TRUE(m_child->calls.empty());
    // No child to answer.
    send("t", "128", "36B2210000");
    gateway().communicator().CallbackInterface(nullptr);
    EXPECT_THROW(gateway().OnTransactionResponse("t", zebResponse()), fdt::NullObjectError);
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
        const std::string object = std::to_string(objectNo ? objectNo : read.ObjectNumber);
        gateway().OnTransactionResponse(read.invokeId, zebResponse("0", data, object, "33"));
    }
    std::vector<clsZEBSequence> m_reads;
};

TEST_F(IdentityTest, SixAnswersInAnyOrderGiveOneCommand0Answer)
{
    const std::vector<std::string> data = {"0E", "91", "05", "06", "07", "563412"};
    const std::size_t order[] = {3, 0, 5, 1, 4, 2};
    for (std::size_t n = 0; n < 6; ++n) {
        SCOPED_TRACE(n);
        const std::size_t element = order[n];
        answer(element, data[element]);
        const auto& read = m_reads[element];
        EXPECT_EQ(gateway().communicator().ZEBSeqColCount(), 5 - n);
        Events expected = zebLines(read.invokeId, data[element], std::to_string(read.ObjectNumber), "33");
        if (n + 1 < 6) {
            expectEvents(expected);
        } else {
            const std::string hart = "FE0E91050505060700123456";
            expectEvents(expected + Events{"K1 Response HART 'Command #0' | InvokeID t0", "K1 | Data : " + hart,
                                           "K1 | Status : 0\tCommand Response : 0\r\n",
                                           "child OnTransactionResponse t0"});
            expectHartAnswer(toChild(), "0", "REF-1", hart, "0");
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
    Document(toChild()).expect(kResponseData, {{"byteArray", "FE0E00050505060700223344"}});
    EXPECT_EQ(gateway().communicator().ZEBSeqColCount(), 0);
}

TEST_F(IdentityTest, WrongLengthFailsAndTheReadStaysPending)
{
    for (const std::string data : {"0102", ""}) {
        EXPECT_THROW(answer(0, data), fdt::Error) << data;
        EXPECT_EQ(gateway().communicator().ZEBSeqColCount(), 6);
        EXPECT_TRUE(m_child->calls.empty());
    }
}

TEST_F(IdentityTest, ErrorAnswerOfAReadGoesToTheChildAtOnce)
{
    gateway().OnTransactionResponse(m_reads[2].invokeId, zebError("False", "busy"));
    EXPECT_EQ(summary(m_child->calls), std::vector<std::string>{"OnTransactionResponse " + m_reads[2].invokeId});
    Document(toChild()).expect(kCommunicationError, {{"communicationError", "busy"}});
    EXPECT_EQ(gateway().communicator().ZEBSeqColCount(), 6);
}

TEST_F(IdentityTest, SingleAnswerWhilePendingIsTakenForTheLastRead)
{
    send("t128", "128", "36B2210000");
    gateway().OnTransactionResponse("t128", zebResponse("0", "01")); // object 258: not the last read's
    expectEvents(zebLines("t128", "01"));
    EXPECT_EQ(gateway().communicator().ZEBSeqColCount(), 6);

    // With the last read's object number its byte lands at the read's position.
    gateway().OnTransactionResponse("t128", zebResponse("0", "7F", std::to_string(m_reads[5].ObjectNumber)));
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
        gateway().OnTransactionResponse(read.invokeId, zebResponse("0", "01", std::to_string(read.ObjectNumber), "33"));
    }
    EXPECT_TRUE(m_child->calls.empty());
    for (std::size_t i = 0; i < 6; ++i)
        answer(i, i == 5 ? "010203" : "02");
    EXPECT_EQ(summary(m_child->calls), std::vector<std::string>{"OnTransactionResponse t0b"});
    Document(toChild()).expect(kResponseData, {{"byteArray", "FE0202050502020200030201"}});
}

} // namespace
} // namespace zeb2hart::gateway::test
