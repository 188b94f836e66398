#include "platform/GuidSource.h"

#include <uuid/uuid.h>

namespace zeb2hart::platform {

std::optional<fdt::Guid> SystemGuidSource::newGuid()
{
    uuid_t raw;
    uuid_generate(raw);
    std::array<std::uint8_t, 16> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = raw[i];
    return fdt::Guid::fromBytes(bytes);
}

} // namespace zeb2hart::platform
