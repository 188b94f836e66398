#pragma once
// TrafficTally: the gateway's traffic and error counters, one record per child
// connection (GatewayCounters.h), and the requests still waiting for an answer
// that the latencies and the late answers are taken from. HartGateway tells it
// what happens; it never acts on anything itself. Called on the component's one
// thread; the clock is the event loop's.

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gateway/GatewayCounters.h"
#include "platform/EventLoop.h"

namespace zeb2hart::gateway {

class TrafficTally {
public:
    // At most this many requests are waited for at once; beyond, the oldest is
    // forgotten (its answer then counts as one for an unknown identifier).
    static constexpr std::size_t kPendingLimit = 64;
    // The records kept: the current connection and those closed before it, the oldest dropped
    // first, so that a frame that reconnects all day does not grow without end.
    static constexpr std::size_t kConnectionLimit = 32;

    explicit TrafficTally(std::shared_ptr<platform::EventLoop> loop) : m_loop(std::move(loop)) {}

    // The child's connection: passed on to the parent (a new record), refused by
    // the parent (the record is dropped), the parent's reference, the disconnect.
    // Until the first connection nothing is counted.
    void connectionStarted();
    void connectionRefused();
    void referenceKnown(const std::string& communicationReference);
    void disconnected();

    void childRequest(const std::string& invokeId, std::int16_t command);
    // Just before the gateway sends the parent a request for the child's
    // `command` (or a broadcast, without a command): the parent may answer at
    // once. notTaken when the parent refused it: no answer is waited for then.
    void requestToParent(const std::string& invokeId, const std::int16_t* command);
    void notTaken(const std::string& invokeId);
    // Every answer of the parent, before it is read; then errorAnswer for an error answer.
    void answerFromParent(const std::string& invokeId);
    void errorAnswer(const std::string& errorText);
    // Just before the gateway gives the child an answer under this invoke identifier.
    void answeringChild(const std::string& invokeId);
    void refused(const std::string& invokeId);
    void timeoutBroadcast() { count(&ConnectionCounters::timeoutBroadcasts); }

    const std::vector<ConnectionCounters>& connections() const { return m_connections; }

private:
    struct Pending {
        std::string invokeId;
        std::chrono::milliseconds start{0};
        std::int16_t command = 0;
        bool hasCommand = false;
        bool toParent = false; // waiting for the parent's answer
        bool toChild = false;  // the child waits for its answer
        bool free() const { return !toParent && !toChild; }
    };

    ConnectionCounters* current() { return m_connections.empty() ? nullptr : &m_connections.back(); }
    void count(std::uint64_t ConnectionCounters::*field);
    CommandCounters& commandOf(ConnectionCounters& connection, std::int16_t command);
    Pending* find(const std::string& invokeId);
    // The slot of this invoke identifier, else a free one, else the oldest.
    Pending& slotFor(const std::string& invokeId);

    std::shared_ptr<platform::EventLoop> m_loop;
    std::vector<ConnectionCounters> m_connections;
    std::vector<Pending> m_pending;
    // The command of the last answer from the parent, for its error answer.
    std::int16_t m_answeredCommand = 0;
    bool m_answeredHasCommand = false;
};

} // namespace zeb2hart::gateway
