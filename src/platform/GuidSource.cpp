#include "platform/GuidSource.h"

#include <uuid/uuid.h>

namespace zeb2hart::platform {

std::optional<fdt::Guid> UuidGuidSource::newGuid()
{
    uuid_t raw;
    uuid_generate(raw);
    std::array<std::uint8_t, 16> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = raw[i];
    return fdt::Guid::fromBytes(bytes);
}

std::optional<fdt::Guid> SequentialGuidSource::newGuid()
{
    ++m_counter;
    fdt::Guid guid;
    guid.data3 = 0x4000;
    guid.data4[0] = 0x80;
    for (int i = 0; i < 6; ++i)
        guid.data4[7 - i] = static_cast<std::uint8_t>(m_counter >> (8 * i));
    return guid;
}

} // namespace zeb2hart::platform
