#include "platform/GuidSource.h"

namespace zeb2hart::platform {

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
