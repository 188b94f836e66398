#pragma once
// The gateway's counters at the end of `zeb2hart demo`: per connection, a row
// per HART command (requests, answers, errors, latency least/mean/most in ms)
// and the other counts. Called on the thread that ran the session.

#include <ostream>
#include <string>

namespace zeb2hart::frame {

// `json` is the DTM's counters text (HostedDtm::counters, gateway::countersJson).
void writeCountersSummary(std::ostream& out, const std::string& json);

} // namespace zeb2hart::frame
