#pragma once
// Where new GUIDs come from: the system (libuuid, CoCreateGuid) in production, a counter in tests and
// frame scripts so that their transcripts are repeatable.
// One thread calls it: the frame's apartment, calling into the component.

#include <cstdint>
#include <optional>

#include "../fdt/Export.h"
#include "../fdt/Guid.h"

namespace zeb2hart::platform {

class ZEB2HART_API GuidSource {
public:
    virtual ~GuidSource() = default;
    // A new GUID, or nothing when none could be made.
    virtual std::optional<fdt::Guid> newGuid() = 0;
};

class ZEB2HART_API SystemGuidSource final : public GuidSource {
public:
    std::optional<fdt::Guid> newGuid() override;
};

// 00000000-0000-4000-8000-000000000001, ...02, ... in order.
class ZEB2HART_API SequentialGuidSource final : public GuidSource {
public:
    std::optional<fdt::Guid> newGuid() override;
    void reset() { m_counter = 0; }

private:
    std::uint64_t m_counter = 0;
};

} // namespace zeb2hart::platform
