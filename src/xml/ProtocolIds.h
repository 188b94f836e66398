#pragma once
// The protocol identifiers of the gateway's two sides (text, without braces)
// and the ZEB message types the gateway sends. Constants; any thread.

#include <cstdint>

namespace zeb2hart::xml {

// The FDT HART protocol: the only protocol the gateway's channel offers to a child.
inline constexpr const char* kHartProtocolId = "036D1498-387B-11D4-86E1-00E0987270B9";
// The ZEB protocol: passed to the parent in every connect request, and the
// bus category by which a device type is recognised as the gateway's own.
inline constexpr const char* kZebProtocolId = "81684E65-6385-4690-ACCF-49995B3B4E8B";

// The ZEB message types: a data exchange with the field device (the HART
// commands and the identity reads), and the broadcast sent when the timer expires.
inline constexpr std::int16_t kZebDataExchangeMessage = 5;
inline constexpr std::int16_t kZebBroadcastMessage = 7;

} // namespace zeb2hart::xml
