#pragma once
// The protocol identifiers of the gateway's two sides (text, without braces).

namespace zeb2hart::xml {

// The FDT HART protocol: the only protocol the gateway's channel offers to a child.
inline constexpr const char* kHartProtocolId = "036D1498-387B-11D4-86E1-00E0987270B9";
// The ZEB protocol: passed to the parent in every connect request, and the
// bus category by which a device type is recognised as the gateway's own.
inline constexpr const char* kZebProtocolId = "81684E65-6385-4690-ACCF-49995B3B4E8B";

} // namespace zeb2hart::xml
