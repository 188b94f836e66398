#pragma once
// `zeb2hart timing`: the tables of docs/simulation.md made by the code that
// models the wire: the keys of a device model's `bus` section with their
// defaults (busKeys()), each model's values, and the modelled time of the
// demo's HART commands on each model, measured by running the demo's requests
// through the gateway and the simulated parent with wire timing on a manual
// clock. Called from main() on the program's thread.

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace zeb2hart::frame {

struct TimingOptions {
    std::vector<std::string> devices;      // the device types, in this order
    std::filesystem::path componentFolder; // empty: frameComponentFolder()
};

// Prints the tables in Markdown. Returns 0, or 1 when a command got no answer within a minute
// of modelled time, 2 when a model or the session could not be set up.
int printTimingTables(const TimingOptions& options, std::ostream& out, std::ostream& errors);

} // namespace zeb2hart::frame
