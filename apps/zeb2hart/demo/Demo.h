#pragma once
// `zeb2hart demo`: one whole session of the gateway between a simulated ZEB
// communication DTM and a simulated HART device DTM, in real time, printing
// the communication monitor as its page shows it and a summary of what the
// child learned.

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>

namespace zeb2hart::frame {

// The warm-start delay of `demo --realtime` unless --delay says otherwise: longer than commands
// 128 and 129 take on the wire together, so that command 131 re-arms the time-out before command
// 128's fires and every command finds the bus idle, as the timing table assumes.
constexpr int kRealtimeDelaySeconds = 3;

struct DemoOptions {
    std::string device = "VRA520";
    int language = 9;         // primary language number (7 German, 9 English)
    int delaySeconds = 1;     // warm-start delay: the time-out broadcast fires this long after 131
                              // (kRealtimeDelaySeconds with realtime unless given)
    bool quiet = false;       // summary only
    bool realtime = false;    // wire timing: the simulated parent answers after the modelled field time
    bool color = false;       // ANSI colours for the monitor lines
    std::filesystem::path componentFolder; // empty: frameComponentFolder()
};

// Returns the exit status: 0 when every expected answer arrived, 1 when one is
// missing or wrong, 2 when the session could not be set up.
int runDemo(const DemoOptions& options, std::ostream& out, std::ostream& errors);

// A monitor line as the page shows it: the line on its own row, CR LF breaks as
// new rows, in its colour when `color` is set.
std::string formatMonitorLine(const std::string& textLine, std::int32_t color, bool useColor);

} // namespace zeb2hart::frame
