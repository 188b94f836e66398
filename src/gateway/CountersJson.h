#pragma once
// The gateway's counters as one JSON text, the form a test frame reads them in
// (in process and through the COM test access alike). Called on the
// component's thread.

#include <string>
#include <vector>

#include "gateway/GatewayCounters.h"

namespace zeb2hart::gateway {

// {"connections": [{"communicationReference", "connected", "commands": [{"command",
// "requests", "answers", "errors", "latencyMs": {"least", "mean", "most"} or null}],
// "requestsToParent", "answersFromParent", "errorAnswers": {TEXT: N}, "unknownAnswers",
// "refusedRequests", "timeoutBroadcasts"}, ...]}, the current connection last.
std::string countersJson(const std::vector<ConnectionCounters>& connections);

} // namespace zeb2hart::gateway
