#pragma once
// The COM frame's unnamed container interface {036D147A-...} for the DTM: a
// marker without operations, found by QueryInterface. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "fdt/FrameInterfaces.h"

namespace zeb2hart::com {

class Fdt036D147AProxy final : public fdt::IFdt_036D147A, public Proxy<::IFdt_036D147A> {
public:
    using Proxy::Proxy;
};

} // namespace zeb2hart::com
