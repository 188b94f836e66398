#pragma once
// The gateway's traffic and error counters as a frame reads them: one plain
// record per child connection (ConnectionCounters), and IGatewayCounters, which
// the DTM object offers (fdt::query<gateway::IGatewayCounters>(dtm)). Read on
// the frame's thread, the one that calls into the component; reading changes
// nothing the DTM does.

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "../fdt/Export.h"
#include "../fdt/Object.h"

namespace zeb2hart::gateway {

// What the child's requests with one HART command number met.
struct CommandCounters {
    std::int16_t command = 0;
    // Requests from the child with this command number.
    std::uint64_t requests = 0;
    // Requests the child got their answer to, under their invoke identifier
    // (at once or after the parent's answer); the latencies are theirs.
    std::uint64_t answers = 0;
    // Error answers from the parent to this command's requests.
    std::uint64_t errors = 0;
    // From the child's request to the gateway's answer to the child, on the
    // event loop's clock; 0 for what the gateway answers itself. Only
    // meaningful when answers > 0.
    std::chrono::milliseconds latencyLeast{0};
    std::chrono::milliseconds latencyMost{0};
    std::chrono::milliseconds latencyTotal{0};

    double latencyMeanMs() const
    {
        return answers == 0 ? 0.0 : static_cast<double>(latencyTotal.count()) / static_cast<double>(answers);
    }
};

// The counters of one child connection: from the ConnectRequest the gateway
// passed on to the next one (late answers after the disconnect still count here).
struct ConnectionCounters {
    // The parent's communication reference; empty until it answered the connect.
    std::string communicationReference;
    // Whether the child is still connected.
    bool connected = false;
    // One entry per command number the child used, in ascending order.
    std::vector<CommandCounters> commands;
    // TransactionRequest calls the gateway made on the parent (forwarded
    // requests, identity reads, warm-start broadcasts).
    std::uint64_t requestsToParent = 0;
    // OnTransactionResponse calls from the parent.
    std::uint64_t answersFromParent = 0;
    // The parent's error answers by their ZEB error text, in the order first seen.
    std::vector<std::pair<std::string, std::uint64_t>> errorAnswers;
    // Answers from the parent whose invoke identifier the gateway was not
    // waiting for (unknown, or already answered).
    std::uint64_t unknownAnswers = 0;
    // Child requests that ended on the critical-error path.
    std::uint64_t refusedRequests = 0;
    // Warm-start broadcasts the response time-out sent.
    std::uint64_t timeoutBroadcasts = 0;
};

class ZEB2HART_API IGatewayCounters : public virtual fdt::Object {
public:
    // The connections of this instance's life in order, the current one last
    // (the last 32: older ones are dropped); empty before the first connect.
    virtual std::vector<ConnectionCounters> connectionCounters() const = 0;
};

} // namespace zeb2hart::gateway
