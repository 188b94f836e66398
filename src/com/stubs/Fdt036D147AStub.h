#pragma once
// The unnamed container interface {036D147A-...} of a C++ frame for COM
// callers: a marker without operations, so the stub only counts references.
// Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Stub.h"
#include "fdt/FrameInterfaces.h"

namespace zeb2hart::com {

class Fdt036D147AStub final : public Stub<::IFdt_036D147A, fdt::IFdt_036D147A> {
public:
    using Stub::Stub;
};

} // namespace zeb2hart::com
