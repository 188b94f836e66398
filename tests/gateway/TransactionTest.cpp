#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "gateway/GatewayFixture.h"
#include "support/Conversions.h"

namespace zeb2hart::gateway::test {
namespace {

using namespace std::chrono_literals;

const std::string kSuccessful = "G2 IFdtCommunication_TransactionRequest() | Successful";
const std::string kDenied = "R2 IFdtCommunication_TransactionRequest() | denied";
const std::string kCritical = "R2 IFdtCommunication_TransactionRequest | Critical Error in "
                              "IFdtCommunication_TransactionRequest";

std::string requestLine(const std::string& command, const std::string& invokeId)
{
    return "K1 Request HART 'Command #" + command + "' | InvokeID " + invokeId;
}

class TransactionTest : public GatewayTest {
protected:
    TransactionTest() { connect(); }
    // A command 128 that arms the time-out; records cleared.
    void tunnel(const std::string& invokeId)
    {
        ASSERT_TRUE(request(invokeId, "128", "36B2210000"));
        clearRecords();
    }
};
using TimeoutTest = TransactionTest;

TEST_F(TransactionTest, WithoutChildNothingHappens)
{
    gateway().communicator().CallbackInterface(nullptr);
    for (const char* command : {"0", "1", "59", "128", "129", "131", "abc"})
        EXPECT_FALSE(request("t", command, "0102030405")) << command;
    expectEvents({});
}

// Command 59 echoes its data; the commands the gateway does not implement answer code 50.
TEST_F(TransactionTest, SimulatedAnswers)
{
    struct Case { std::string command; std::optional<std::string> data, answerData; std::string code; };
    std::vector<Case> cases = {{"59", "05", "05", "0"}, {"59", std::nullopt, std::nullopt, "0"}};
    for (const char* command : {"1", "2", "3", "12", "17", "38", "127", "130", "132", "255", "-1", "1000"})
        cases.push_back({command, "0A0B", std::nullopt, "50"});
    for (const auto& c : cases) {
        const std::string number = std::to_string(std::stoi(c.command));
        SCOPED_TRACE(c.command + " " + c.data.value_or("(no data)"));
        EXPECT_TRUE(request("tx", c.command, c.data));
        EXPECT_EQ(gateway().HARTCommand(), std::stoi(c.command));
        expectHartAnswer(toChild(), number, "REF-1", c.answerData, c.code);
        Events expected = {requestLine(number, "tx"), "G2 IFdtCommunication_TransactionRequest | HART Simulation",
                           "K1 Response HART 'Command #" + number + "' | invokeID tx"};
        if (c.answerData)
            expected.push_back("K1 | Data : " + *c.answerData);
        expectEvents(expected + Events{"K1 | Status : 0\tCommand Response : " + c.code + "\r\n",
                                       "child OnTransactionResponse tx"});
    }
}

TEST_F(TransactionTest, Command128TunnelsTheTelegramAndArmsTheTimeout)
{
    m_host.delay = 2;
    EXPECT_TRUE(request("t128", "128", "36b2210002abcd"));
    expectZebRequest(toParent(), "REF-1", "0", "5", "6", "33", "14002", "abcd");
    EXPECT_TRUE(gateway().timeoutTimer().Enabled());
    EXPECT_EQ(gateway().timeoutTimer().Interval(), 2000);
    expectEvents({requestLine("128", "t128"), "K1 | ZEB Protocol : 36B2210002ABCD", "B0 Request ZEB | InvokeID t128",
                  "B0 | ObjNo.: 14002\tSubNo.: 33\tMsgType : 5\tCtrl.: 0", "B0 | Data: abcd",
                  "parent TransactionRequest t128", kSuccessful});

    // Without data bytes: no data line, four bytes.
    EXPECT_TRUE(request("t", "128", "36B2210000"));
    expectZebRequest(toParent(), "REF-1", "0", "5", "4", "33", "14002", std::nullopt);
    EXPECT_EQ(m_log->size(), 6u);
    // Refused by the parent: still armed.
    m_parent->transactionResult = false;
    EXPECT_FALSE(request("t", "128", "36B2210000"));
    EXPECT_EQ(m_log->back(), kDenied);
    EXPECT_EQ(gateway().timeoutTimer().Interval(), 2000);
}

TEST_F(TransactionTest, Command128WarmstartDelayLimits)
{
    struct Case { std::int16_t delay; bool fails; std::int32_t interval; };
    const Case cases[] = {{0, false, 0}, {1, false, 1000}, {32, false, 32000}, {33, true, 0}, {-1, true, 0},
                          {1000, true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.delay);
        gateway().timeoutTimer().Interval(0);
        m_host.delay = c.delay;
        EXPECT_EQ(request("t", "128", "36B2210000"), !c.fails);
        EXPECT_EQ(gateway().timeoutTimer().Enabled(), !c.fails);
        EXPECT_EQ(gateway().timeoutTimer().Interval(), c.interval);
        if (c.fails)
            expectEvents({requestLine("128", "t"), "K1 | ZEB Protocol : 36B2210000", kCritical});
        else
            EXPECT_EQ(summary(m_parent->calls), std::vector<std::string>{"TransactionRequest t"});
        clearRecords();
    }
    // A delay of 0 never expires.
    m_host.delay = 0;
    EXPECT_TRUE(request("t", "128", "36B2210000"));
    clearRecords();
    loop().advance(24h);
    expectEvents({});
}

TEST_F(TransactionTest, Command129SendsABroadcastWithTheTextOfByteThree)
{
    const std::pair<int, const char*> cases[] = {
        {3, "Warmstart request"}, {0, "Info Text"}, {1, "Coldstart request"}, {2, "Coldstart execute"},
        {4, "Warmstart execute"}, {5, "Stop measuring mode"}, {6, "Start measuring mode"}, {7, "Error Reset"},
        {8, "Hand-over to cyclic Object"}, {9, "Delayed Response"}, {10, ""}, {12, ""}, {255, ""},
    };
    for (const auto& [code, text] : cases) {
        SCOPED_TRACE(code);
        const auto byte = static_cast<std::uint8_t>(code);
        const std::string telegram = "800000" + support::HexByte(byte) + "00";
        EXPECT_TRUE(request("b", "129", telegram));
        EXPECT_EQ(BroadcastText(byte), text);
        expectZebRequest(toParent(), "REF-1", std::to_string(code), "7", "4", "0", "32768", std::nullopt);
        // The broadcast does not arm the time-out.
        EXPECT_EQ(gateway().timeoutTimer().Interval(), 0);
        expectEvents({requestLine("129", "b"), "B0 Broadcast | " + std::string(text), "B0 Request ZEB | InvokeID b",
                      "B0 | ObjNo.: 32768\tSubNo.: 0\tMsgType : 7\tCtrl.: " + std::to_string(code),
                      "parent TransactionRequest b", kSuccessful});
    }
}

TEST_F(TransactionTest, Command131ReadsDelayedDataAndArmsTheTimeout)
{
    EXPECT_TRUE(request("t131", "131", std::nullopt));
    expectZebRequest(toParent(), "REF-1", "0", "5", "4", "0", "0", std::nullopt);
    Document(toParent()).expect(kRequest, {{"SpecialFunction", "ReadDelayedResponse"}, {"FilePath", std::nullopt}});
    EXPECT_EQ(gateway().timeoutTimer().Interval(), 3000);
    EXPECT_TRUE(gateway().timeoutTimer().Enabled());
    expectEvents({requestLine("131", "t131"), "parent TransactionRequest t131", kSuccessful});

    // With a delay that is too long the failure comes after the request.
    m_host.delay = 33;
    for (const bool taken : {true, false}) {
        m_parent->transactionResult = taken;
        EXPECT_EQ(request("t", "131", std::nullopt), taken);
        expectEvents(
            {requestLine("131", "t"), "parent TransactionRequest t", taken ? kSuccessful : kDenied, kCritical});
    }
}

TEST_F(TransactionTest, Command0SendsTheSixIdentityReads)
{
    m_host.identity = {"", "14000.32", "14016.32", "14015.32", "14014.32", "20000.5"};
    EXPECT_TRUE(request("t0", "0", std::nullopt));

    const std::pair<std::string, std::string> reads[] = {{"14002", "33"}, {"14000", "33"}, {"14016", "33"},
                                                         {"14015", "33"}, {"14014", "33"}, {"20000", "6"}};
    Events expected = {requestLine("0", "t0")};
    ASSERT_EQ(m_parent->calls.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const auto& [objectNo, subNo] = reads[i];
        // Six distinct numbered invoke identifiers, those of the pending reads.
        const std::string id = guid(static_cast<int>(i) + 1);
        EXPECT_EQ(gateway().communicator().ZEBSeqElem(static_cast<std::int16_t>(i + 1)).invokeId, id);
        expectZebRequest(m_parent->calls[i].document, "REF-1", "64", "5", "4", subNo, objectNo, std::nullopt);
        expected = expected + Events{"parent TransactionRequest " + id,
                                     "G2 IFdtCommunication_TransactionRequest() | ZEB Collection Item Successful",
                                     "B0 Request ZEB | InvokeID " + id,
                                     "B0 | ObjNo.: " + objectNo + "\tSubNo.: " + subNo + "\tMsgType : 5\tCtrl.: 64"};
    }
    expectEvents(expected);
    EXPECT_EQ(gateway().Cmd0Response(), (std::array<std::uint8_t, 12>{254, 0, 0, 5, 5, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(gateway().communicator().HARTCmd0InvokeId(), "t0");
    EXPECT_TRUE(gateway().communicator().ZEBSeqComAct());
    EXPECT_EQ(gateway().communicator().ZEBSeqColCount(), 6);
}

TEST_F(TransactionTest, Command0RefusedReadsStayPending)
{
    m_parent->transactionResults = {true, false, true, true, true, true};
    EXPECT_TRUE(request("t0", "0", std::nullopt));
    ASSERT_EQ(m_log->size(), 1u + 5 * 4 + 2);
    EXPECT_EQ(m_log->at(2), "G2 IFdtCommunication_TransactionRequest() | ZEB Collection Item Successful");
    EXPECT_EQ(m_log->at(6), "R2 IFdtCommunication_TransactionRequest() | ZEB Collection Item denied");
    EXPECT_EQ(m_log->at(8), "G2 IFdtCommunication_TransactionRequest() | ZEB Collection Item Successful");
    EXPECT_EQ(gateway().communicator().ZEBSeqColCount(), 6);
}

TEST_F(TransactionTest, Command0Failures)
{
    // An identity text that cannot be read: nothing is sent.
    m_host.identity[0] = ".5";
    EXPECT_FALSE(request("t0", "0", std::nullopt));
    expectEvents({requestLine("0", "t0"), kCritical});

    // No parent: fails at the first read.
    m_host.identity[0] = "";
    gateway().communicator().ZEBDriverInterface(nullptr);
    EXPECT_FALSE(request("t0", "0", std::nullopt));
    expectEvents({requestLine("0", "t0"), kCritical});
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
    clearRecords();

    // A simulated command is not answered while identity reads are pending.
    EXPECT_TRUE(request("t1", "1", std::nullopt));
    expectEvents({requestLine("1", "t1")});
    EXPECT_EQ(gateway().HARTCommand(), 1);
}

TEST_F(TransactionTest, MalformedRequests)
{
    struct Case { std::string command; std::optional<std::string> data; Events before; };
    const Case cases[] = {
        {"abc", "01", {}},   // command number not a number
        {"", "01", {}},      // no command number
        {"40000", "01", {}}, // does not fit 16 bits
        {"59", "0G", {}},    // data not hexadecimal
        {"128", "01", {requestLine("128", "t")}}, // too few bytes for a telegram
        {"128", "", {requestLine("128", "t")}},
        {"128", std::nullopt, {requestLine("128", "t")}},
        // Two to four bytes are no ZEB telegram: building the request fails before the parent is asked.
        {"128", "01020304", {requestLine("128", "t"), "K1 | ZEB Protocol : 01020304"}},
        {"129", "800000", {requestLine("129", "t")}}, // fewer than four bytes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command + " " + c.data.value_or("(no data)"));
        EXPECT_FALSE(request("t", c.command, c.data));
        expectEvents(c.before + Events{kCritical});
    }
    // A request that is no document at all reads no command number.
    EXPECT_FALSE(gateway().TransactionRequest("t", "garbage"));
    expectEvents({kCritical});
    // The child failing on a simulated answer.
    m_child->fail = true;
    EXPECT_FALSE(request("t", "1", std::nullopt));
    EXPECT_EQ(m_log->back(), kCritical);
}

// --- the time-out after commands 128 and 131 -------------------------------------------

TEST_F(TimeoutTest, ExpirySendsOneBroadcastUnderANewInvokeIdAndIsIdleUntilArmedAgain)
{
    m_host.delay = 3;
    tunnel("t128");
    loop().advance(2999ms);
    expectEvents({});
    loop().advance(1ms);
    EXPECT_EQ(gateway().ZebInvokeId(), guid(1));
    EXPECT_EQ(gateway().timeoutTimer().Interval(), 0);
    expectBroadcast(toParent(), "REF-1");
    expectEvents(broadcastEvents(guid(1)));
    loop().advance(1h);
    expectEvents({});

    // Arming again restarts the delay.
    tunnel("first");
    loop().advance(2000ms);
    tunnel("second");
    loop().advance(2999ms); // 1 s after the first arming's end
    expectEvents({});
    loop().advance(1ms);
    expectEvents(broadcastEvents(guid(2)));
    // Every expiry has its own invoke identifier, also after command 131.
    ASSERT_TRUE(request("b", "131", std::nullopt));
    clearRecords();
    loop().advance(3s);
    expectEvents(broadcastEvents(guid(3)));
    EXPECT_EQ(gateway().ZebInvokeId(), guid(3));
}

TEST_F(TimeoutTest, ExpiryWithoutParentOnlyWritesTheLines)
{
    tunnel("t");
    gateway().communicator().ZEBDriverInterface(nullptr);
    loop().advance(3s);
    Events lines = broadcastEvents(guid(1));
    lines.pop_back();
    expectEvents(lines);
    EXPECT_EQ(gateway().timeoutTimer().Interval(), 0);
}

TEST_F(TimeoutTest, AnswerToTheGatewaysOwnBroadcastIsOnlyShown)
{
    tunnel("t");
    loop().advance(3s);
    clearRecords();
    gateway().OnTransactionResponse(guid(1), zebResponse("0", "", "32768"));
    expectEvents({"G2 IFdtCommunicationEvents_OnTransactionResponse() | ",
                  "B0 Warmstart actuated | InvokeId " + guid(1) + "\r\n"});

    // The child's own answer still reaches it afterwards.
    gateway().OnTransactionResponse("t", zebResponse());
    EXPECT_EQ(summary(m_child->calls), std::vector<std::string>{"OnTransactionResponse t"});
}

TEST_F(TimeoutTest, BroadcastUsesTheCurrentReference)
{
    tunnel("t");
    gateway().communicator().communicationReference("REF-NEW");
    loop().advance(3s);
    expectBroadcast(toParent(), "REF-NEW");
}

// The gateway with the schema cache filled as DTMMain fills it (the frame's schemas,
// then the component's own): every document in either direction is validated on
// load, so a document that does not fit its schema reads as empty.
class ValidatedTest : public GatewayTest {
protected:
    ValidatedTest()
    {
        m_xmlHelp.InitXMLSchemaCache(zeb2hart::test::frameSchemaDir().string());
        m_xmlHelp.InitXMLSchemaCache((zeb2hart::test::componentDir() / "XMLSchemas").string());
        connect();
    }
};

TEST_F(ValidatedTest, InvalidChildRequestReadsAsEmptyAndFails)
{
    EXPECT_TRUE(request("t", "128", "36B2210000"));
    EXPECT_EQ(m_xmlHelp.GetAttributeFromXML(toParent(), kHeader, "ObjectNo"), "14002"); // valid both ways
    clearRecords();
    // commandNumber must be an unsigned 16-bit number: the request does not validate.
    EXPECT_FALSE(request("t", "-1", std::nullopt));
    expectEvents({kCritical});
}

// The component's ZEB schema narrowed to control bytes up to 127, so that the
// gateway builds ZEB requests its own schemas refuse.
class NarrowSchemaTest : public GatewayTest {
protected:
    static std::filesystem::path narrowFolder()
    {
        static zeb2hart::test::TempComponentFolder folder;
        static const bool narrowed = narrow(folder);
        return narrowed ? folder.path() : std::filesystem::path();
    }
    static bool narrow(const zeb2hart::test::TempComponentFolder& folder)
    {
        const std::filesystem::path schema = folder.path() / "XMLSchemas" / "ZEBCommunicationSchema.xml";
        std::ifstream in(schema);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string wide = "<xs:attribute name=\"Control\" type=\"xs:unsignedByte\"/>";
        const std::size_t at = text.find(wide);
        if (at == std::string::npos)
            throw std::runtime_error("the ZEB schema has no Control attribute to narrow");
        text.replace(at, wide.size(),
                     "<xs:attribute name=\"Control\"><xs:simpleType><xs:restriction base=\"xs:unsignedByte\">"
                     "<xs:maxInclusive value=\"127\"/></xs:restriction></xs:simpleType></xs:attribute>");
        folder.write("XMLSchemas/ZEBCommunicationSchema.xml", text);
        return true;
    }
    NarrowSchemaTest() : GatewayTest(narrowFolder())
    {
        m_xmlHelp.InitXMLSchemaCache(zeb2hart::test::frameSchemaDir().string());
        m_xmlHelp.InitXMLSchemaCache((narrowFolder() / "XMLSchemas").string());
        connect();
    }
};

TEST_F(NarrowSchemaTest, ARequestItsSchemasRefuseIsSentButItsMonitorLinesReadEmpty)
{
    // Control 127 fits: the header line and the data line read from the request.
    EXPECT_TRUE(request("ok", "128", "36B2217F01AB"));
    expectZebRequest(toParent(), "REF-1", "127", "5", "5", "33", "14002", "AB");
    expectEvents({requestLine("128", "ok"), "K1 | ZEB Protocol : 36B2217F01AB", "B0 Request ZEB | InvokeID ok",
                  "B0 | ObjNo.: 14002\tSubNo.: 33\tMsgType : 5\tCtrl.: 127", "B0 | Data: AB",
                  "parent TransactionRequest ok", kSuccessful});

    // Control 128 does not: the request goes out as built, read back it is empty.
    EXPECT_TRUE(request("wide", "128", "36B2218001AB"));
    expectZebRequest(toParent(), "REF-1", "128", "5", "5", "33", "14002", "AB");
    expectEvents({requestLine("128", "wide"), "K1 | ZEB Protocol : 36B2218001AB", "B0 Request ZEB | InvokeID wide",
                  "B0 | ObjNo.: \tSubNo.: \tMsgType : \tCtrl.: ", "parent TransactionRequest wide", kSuccessful});
    // Read again, it is still empty.
    EXPECT_EQ(m_xmlHelp.GetAttributeFromXML(toParent(), kHeader, "ObjectNo"), "");
}

} // namespace
} // namespace zeb2hart::gateway::test
