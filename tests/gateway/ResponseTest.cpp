// The parent's answers: the gateway's mapping tables one case per branch, and
// answers that are odd, malformed or arrive while identity reads are pending.
#include <gtest/gtest.h>

#include "fdt/Errors.h"
#include "gateway/GatewayFixture.h"

namespace zeb2hart::test {
namespace {

using gateway::clsZEBSequence;

TEST(GatewayTables, StatusToResponseCode)
{
    struct Case { int status; std::vector<std::uint8_t> data; int code; };
    const Case cases[] = {
        // class 0x00: bits 5 or 4, then 1, then 0
        {0x00, {}, 0}, {0x20, {}, 1}, {0x10, {}, 1}, {0x03, {}, 32}, {0x01, {}, 13},
        // class 0x40: bits 5 or 4, nothing else (not even the data)
        {0x60, {}, 1}, {0x50, {}, 1}, {0x4F, {0x01}, 0},
        // class 0x80: bits 5, 4 or 3, then 2, 1, 0
        {0xA0, {}, 1}, {0x90, {}, 1}, {0x88, {}, 1}, {0x86, {}, 32}, {0x83, {}, 16}, {0x81, {}, 6}, {0x80, {}, 0},
        // class 0xC0: bits 5 or 4, then with bit 0 the first data byte with bit 0, 1, 2 or 7 (4 and 5 ignored)
        {0xE1, {0x01}, 1}, {0xD1, {0x01}, 1}, {0xC0, {0x01}, 0}, {0xC1, {}, 0}, {0xC1, {0x03}, 4},
        {0xC1, {0x06}, 3}, {0xC1, {0x84}, 2}, {0xC1, {0x80}, 7}, {0xC1, {0x30, 0x40, 0x02}, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gateway::ZEBStatusToResponseCode(static_cast<std::uint8_t>(c.status), c.data), c.code)
            << std::hex << c.status << " data size " << c.data.size();
}

TEST(GatewayTables, BroadcastText)
{
    const std::pair<int, const char*> cases[] = {
        {0, "Info Text"}, {1, "Coldstart request"}, {2, "Coldstart execute"}, {3, "Warmstart request"},
        {4, "Warmstart execute"}, {5, "Stop measuring mode"}, {6, "Start measuring mode"}, {7, "Error Reset"},
        {8, "Hand-over to cyclic Object"}, {9, "Delayed Response"}, {10, ""}, {255, ""},
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(gateway::BroadcastText(static_cast<std::uint8_t>(code)), text) << code;
}

class ResponseTest : public GatewayTest {
protected:
    ResponseTest() { connect(); }
    void send(const std::string& invokeId, const std::string& command, const std::optional<std::string>& data)
    {
        ASSERT_TRUE(request(invokeId, command, data));
        clearRecords();
    }
};

TEST_F(ResponseTest, OddAnswersFailBackToTheParentAndTheChildGetsNothing)
{
    const std::pair<const char*, std::string> cases[] = {
        {"ZebActive missing", zebError(std::nullopt, "timeout")},
        {"status not a number", zebResponse("ok")},
        {"status above 255", zebResponse("256")},
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
    communicator().CallbackInterface(nullptr);
    EXPECT_THROW(gateway().OnTransactionResponse("t", zebResponse()), fdt::NullObjectError);

    // Only the exact name "timeout" makes the undefined error.
    communicator().CallbackInterface(m_child);
    gateway().OnTransactionResponse("t", zebError("True", "Timeout", "REF-E", "ParentTag"));
    Document(toChild()).expect("FDT/fdt:CommunicationError", {{"communicationError", "Timeout"}, {"tag", "ParentTag"}});
}

// --- the identity sequence of command 0 ------------------------------------------------

class IdentityTest : public ResponseTest {
protected:
    IdentityTest()
    {
        send("t0", "0", std::nullopt);
        for (std::int16_t i = 1; i <= 6; ++i)
            m_reads.push_back(communicator().ZEBSeqElem(i));
    }
    // A copy of the read: the answer removes it from the list.
    void answer(const clsZEBSequence read, const std::string& data)
    {
        gateway().OnTransactionResponse(read.invokeId, zebResponse("0", data, std::to_string(read.ObjectNumber), "33"));
    }
    std::vector<clsZEBSequence> m_reads;
};

TEST_F(IdentityTest, AnswerWithoutDataFailsAndASingleAnswerIsTakenForTheLastRead)
{
    // No data bytes: the handler fails and the read stays pending.
    EXPECT_THROW(answer(m_reads[0], ""), fdt::Error);
    EXPECT_EQ(communicator().ZEBSeqColCount(), 6);
    // A single answer while the reads are pending is taken for the last read.
    send("t128", "128", "36B2210000");
    gateway().OnTransactionResponse("t128", zebResponse("0", "01")); // object 258: not the last read's
    EXPECT_EQ(communicator().ZEBSeqColCount(), 6);
    EXPECT_EQ(gateway().Cmd0Response(), (std::array<std::uint8_t, 12>{254, 0, 0, 5, 5, 0, 0, 0, 0, 0, 0, 0}));

    // With the last read's object number its byte lands at the read's position.
    gateway().OnTransactionResponse("t128", zebResponse("0", "7F", std::to_string(m_reads[5].ObjectNumber)));
    EXPECT_EQ(gateway().Cmd0Response()[9], 0x7F);
    EXPECT_EQ(communicator().ZEBSeqColCount(), 6);
    EXPECT_TRUE(m_child->calls.empty());
}

TEST_F(IdentityTest, ReadsLeftFromAnEarlierSequenceDelayTheAnswer)
{
    // A second command 0 sends all twelve pending reads again.
    ASSERT_TRUE(request("t0b", "0", std::nullopt));
    ASSERT_EQ(communicator().ZEBSeqColCount(), 12);
    ASSERT_EQ(m_parent->calls.size(), 12u);
    EXPECT_EQ(m_parent->calls.front().invokeId, guid(1));
    EXPECT_EQ(m_parent->calls.back().invokeId, guid(12));
    clearRecords();
    // The second sequence's own six answers do not finish it while the first six wait.
    for (int answered = 0; answered < 6; ++answered)
        answer(communicator().ZEBSeqElem(7), "01");
    EXPECT_TRUE(m_child->calls.empty());
    for (std::size_t i = 0; i < 6; ++i)
        answer(m_reads[i], i == 5 ? "010203" : "02");
    EXPECT_EQ(fakes::summary(m_child->calls), std::vector<std::string>{"OnTransactionResponse t0b"});
    Document(toChild()).expect("FDT/DataExchangeResponse/fdt:CommunicationData", {{"byteArray", "FE0202050502020200030201"}});
}

} // namespace
} // namespace zeb2hart::test
