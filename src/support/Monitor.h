#pragma once
// The monitor's vocabulary shared by every part that writes monitor lines:
// the four colours and the three filter codes.

#include <cstdint>
#include <string>

namespace zeb2hart::support {

// Windows colour values (0x00BBGGRR).
namespace color {
constexpr std::int32_t Green = 0x009600; // a call that succeeded, or the entry of an operation
constexpr std::int32_t Red = 0x0000FF;   // a refusal or a failure
constexpr std::int32_t Blue = 0xFF0000;  // ZEB protocol traffic and events from the parent
constexpr std::int32_t Black = 0x000000; // HART protocol traffic
} // namespace color

namespace filter {
constexpr std::int16_t ZebProtocol = 0;
constexpr std::int16_t HartProtocol = 1;
constexpr std::int16_t FdtInterface = 2;
} // namespace filter

// Where monitor lines go: DTMMain::MonitorMsg, which filters them and hands
// them to the open monitor page.
class MonitorSink {
public:
    virtual ~MonitorSink() = default;
    virtual void MonitorMsg(const std::string& functionName, const std::string& message, std::int32_t lineColor,
                            std::int16_t filter) = 0;
};

} // namespace zeb2hart::support
