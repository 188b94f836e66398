// The gateway's traffic and error counters where a frame script cannot look:
// latencies on the manual clock, late and unknown answers, the limit of
// requests waited for, and the connections before the current one.
#include <gtest/gtest.h>

#include <functional>

#include "gateway/GatewayFixture.h"
#include "gateway/TrafficTally.h"

namespace zeb2hart::test {
namespace {

using std::chrono::milliseconds;

// One connection in a line: "REF open | CMD: requests/answers/errors least..mean..most | parent sent/answered |
// errors KIND=N | unknown U refused R timeouts T".
std::string summary(const gateway::ConnectionCounters& connection)
{
    std::string text = connection.communicationReference + (connection.connected ? " open" : " closed");
    for (const auto& command : connection.commands) {
        text += " | " + std::to_string(command.command) + ": " + std::to_string(command.requests) + "/" +
                std::to_string(command.answers) + "/" + std::to_string(command.errors);
        if (command.answers > 0)
            text += " " + std::to_string(command.latencyLeast.count()) + ".." +
                    std::to_string(command.latencyMeanMs()).substr(0, 4) + ".." +
                    std::to_string(command.latencyMost.count());
    }
    text += " | parent " + std::to_string(connection.requestsToParent) + "/" +
            std::to_string(connection.answersFromParent) + " | errors";
    for (const auto& [kind, count] : connection.errorAnswers)
        text += " " + kind + "=" + std::to_string(count);
    return text + " | unknown " + std::to_string(connection.unknownAnswers) + " refused " +
           std::to_string(connection.refusedRequests) + " timeouts " + std::to_string(connection.timeoutBroadcasts);
}

class CountersTest : public GatewayTest {
public:
    void advance(int ms) { m_environment.loop().advance(milliseconds(ms)); }
    void send(const std::string& invokeId, const std::string& command,
              const std::optional<std::string>& data = "5000010000")
    {
        request(invokeId, command, data);
    }
    void answer(const std::string& invokeId, const std::string& response = zebResponse("0", "01"))
    {
        try {
            gateway().OnTransactionResponse(invokeId, response);
        } catch (const std::exception&) {
            // What the gateway fails back to the parent is not what is counted here.
        }
    }
    void reconnect(const std::string& reference)
    {
        gateway().DisconnectRequest("d", hartDisconnectRequest("REF-1"));
        gateway().OnDisconnectResponse("d", zebDisconnectResponse("REF-1"));
        gateway().ConnectRequest(m_child, "connect-2", gateway::kHartProtocolId, hartConnectRequest("C"));
        gateway().OnConnectResponse("connect-2", zebConnectResponse(reference));
    }
    std::vector<std::string> summaries()
    {
        std::vector<std::string> lines;
        for (const auto& connection : gateway().counters())
            lines.push_back(summary(connection));
        return lines;
    }
};

TEST_F(CountersTest, CountsEachConnectionAsTheGatewayWorks)
{
    struct Case {
        const char* name;
        std::function<void()> run;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"latency least, mean and most on the loop's clock; answered at once is 0",
         [this] {
             send("a", "128");
             advance(10);
             answer("a");
             send("b", "128");
             advance(30);
             answer("b");
             send("c", "128");
             advance(5);
             answer("c");
             send("s", "59");
         },
         {"REF-1 open | 59: 1/1/0 0..0.00..0 | 128: 3/3/0 5..15.0..30 | parent 3/3 | errors | unknown 0 refused 0 "
          "timeouts 0"}},
        {"command 0: six reads, one answer to the child when the last read is answered",
         [this] {
             send("t0", "0", std::nullopt);
             std::vector<gateway::clsZEBSequence> reads;
             for (std::int16_t i = 1; i <= 6; ++i)
                 reads.push_back(communicator().ZEBSeqElem(i));
             for (const auto& read : reads) {
                 advance(4);
                 answer(read.invokeId, zebResponse("0", read.ObjectNumber == 32516 ? "563412" : "05",
                                                     std::to_string(read.ObjectNumber), "33"));
             }
         },
         {"REF-1 open | 0: 1/1/0 24..24.0..24 | parent 6/6 | errors | unknown 0 refused 0 timeouts 0"}},
        {"an error answer to one of command 0's reads counts for command 0",
         [this] {
             send("t0", "0", std::nullopt);
             answer(communicator().ZEBSeqElem(1).invokeId, zebError("False", "busy"));
         },
         {"REF-1 open | 0: 1/0/1 | parent 6/1 | errors busy=1 | unknown 0 refused 0 timeouts 0"}},
        {"late answers for an answered identifier, unknown ones, and a request the parent did not take",
         [this] {
             send("a", "128");
             answer("a");
             answer("a");
             answer("nobody");
             m_parent->answerNext("TransactionRequest", {false});
             send("b", "128");
             answer("b");
         },
         {"REF-1 open | 128: 2/1/0 0..0.00..0 | parent 2/4 | errors | unknown 3 refused 0 timeouts 0"}},
        {"error answers by their text and per command; refused requests; the time-out broadcast and its answer",
         [this] {
             send("a", "128");
             advance(7);
             answer("a", zebError("True", "timeout"));
             send("b", "131", std::nullopt);
             answer("b", zebError("False", "busy"));
             send("c", "129", "8000000300");
             answer("c", zebError("False", "busy"));
             send("x", "128", "50"); // too short: the critical-error path
             send("y", "nine");
             advance(3000);         // the warm-start delay after 131
             answer(gateway().ZebInvokeId(), zebResponse());
         },
         {"REF-1 open | 128: 2/1/1 7..7.00..7 | 129: 1/1/1 0..0.00..0 | 131: 1/1/1 0..0.00..0 | parent 4/4 | "
          "errors timeout=1 busy=2 | unknown 0 refused 2 timeouts 1"}},
        {"a reconnect keeps the closed connection's counters; what it waited for counts as unknown later",
         [this] {
             send("a", "128");
             send("b", "128");
             answer("a");
             reconnect("REF-2");
             answer("b");
             send("c", "59");
         },
         {"REF-1 closed | 128: 2/1/0 0..0.00..0 | parent 3/1 | errors | unknown 0 refused 0 timeouts 0",
          "REF-2 open | 59: 1/1/0 0..0.00..0 | parent 0/1 | errors | unknown 1 refused 0 timeouts 0"}},
        {"at most 64 requests are waited for: the oldest is forgotten",
         [this] {
             for (int i = 0; i <= 64; ++i) {
                 send("r" + std::to_string(i), "128");
                 advance(1);
             }
             answer("r0");
             answer("r1");
             answer("r64");
         },
         {"REF-1 open | 128: 65/2/0 1..32.5..64 | parent 65/3 | errors | unknown 1 refused 0 timeouts 0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_gateway = std::make_unique<gateway::HartGateway>(m_host, m_xmlHelp, platform::services().eventLoop);
        communicator().ZEBDriverInterface(m_parent);
        m_parent->answers.nthResults.clear();
        EXPECT_TRUE(gateway().counters().empty());
        connect();
        c.run();
        EXPECT_EQ(summaries(), c.expected);
    }
}

TEST_F(CountersTest, KeepsTheLastConnectionsOnly)
{
    connect();
    for (int i = 2; i <= 40; ++i)
        reconnect("REF-" + std::to_string(i));
    const auto connections = gateway().counters();
    ASSERT_EQ(connections.size(), gateway::TrafficTally::kConnectionLimit);
    EXPECT_EQ(connections.front().communicationReference, "REF-9");
    EXPECT_FALSE(connections.front().connected);
    EXPECT_EQ(connections.back().communicationReference, "REF-40");
    EXPECT_TRUE(connections.back().connected);
}

} // namespace
} // namespace zeb2hart::test
